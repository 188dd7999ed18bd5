#include "char_grid_page.h"

#include <commctrl.h>

#include <algorithm>
#include <cmath>
#include <optional>
#include <string>
#include <vector>

#include "app_state.h"
#include "char_grid.h"
#include "char_search.h"
#include "character_panel.h"
#include "clipboard_text.h"
#include "code_point_text.h"
#include "color_glyphs.h"
#include "dialog_dpi.h"
#include "face_text_font.h"
#include "glyph_line.h"
#include "label_width.h"
#include "scoped_handles.h"
#include "glyph_outline.h"
#include "subject_face.h"
#include "unicode_blocks.h"
#include "wide_text_win32.h"

namespace tavrel {

namespace {

constexpr wchar_t kPaneClass[] = L"TavrelCharGridPage";
constexpr int kGap = 6;
constexpr int kLineHeight = 22;
constexpr int kEditPadding = 8;  // the search box's borders and margins, above and below its text
constexpr int kMinPanelWidth = 150;  // the character panel's, at 96 DPI

HWND CreateChild(HWND parent, const wchar_t* className, DWORD style, const wchar_t* text = L"") {
    const auto instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(parent, GWLP_HINSTANCE));
    const HWND child = CreateWindowExW(className == std::wstring(L"Edit") ? WS_EX_CLIENTEDGE : 0, className, text,
                                       WS_CHILD | WS_VISIBLE | style, 0, 0, 0, 0, parent, nullptr, instance, nullptr);
    SendMessageW(child, WM_SETFONT, SendMessageW(GetParent(parent), WM_GETFONT, 0, 0), FALSE);
    return child;
}

HFONT FontOf(HWND hwnd) { return reinterpret_cast<HFONT>(SendMessageW(hwnd, WM_GETFONT, 0, 0)); }

TEXTMETRICW MetricsOf(HWND hwnd, HFONT font) {
    TEXTMETRICW metrics{};
    ScopedGetDC dc(hwnd);
    const ScopedSelectObject selected(dc.get(), font);
    GetTextMetricsW(dc.get(), &metrics);
    return metrics;
}

bool MapsAll(const std::vector<char32_t>& codePoints, const std::wstring& text) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto single = ParseCodePointQuery(text.substr(i, IS_HIGH_SURROGATE(text[i]) ? 2 : 1));
        if (!single || !std::binary_search(codePoints.begin(), codePoints.end(), *single)) return false;
        if (IS_HIGH_SURROGATE(text[i])) ++i;
    }
    return true;
}

std::wstring WindowTextOf(HWND hwnd) {
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(hwnd)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(hwnd, text.data(), static_cast<int>(text.size()))));
    return text;
}

// "永  U+6C38  CJK Unified Ideographs  8765 / 44806  グリフ 1234  送り幅 1000": the character, its
// block, its place in the grid, its glyph and advance in font units, and its variation sequences when
// it has any ("  異体字シーケンス 3").
std::wstring DescribeCell(char32_t codePoint, std::size_t index, std::size_t count, std::uint32_t sequences,
                          const ShapingFace* face) {
    std::wstring line = Utf16Of(codePoint) + L"  " + CodePointLabel(codePoint) + L"  " +
                        WideFromUtf8(std::string(UnicodeBlockName(codePoint))) + L"  " + std::to_wstring(index + 1) +
                        L" / " + std::to_wstring(count);
    if (const auto glyph = face ? face->NominalGlyph(codePoint) : std::nullopt)
        line += L"  グリフ " + std::to_wstring(*glyph) + L"  送り幅 " + std::to_wstring(face->HorizontalAdvance(*glyph));
    return line + (sequences ? L"  異体字シーケンス " + std::to_wstring(sequences) : L"");
}

class CharGridPage : public DetailsPage, public MessageTarget {
public:
    // The face's character map read once, for the grid and the panel.
    CharGridPage(HWND dialog, const DetailsFace& face)
        : CharGridPage(dialog, face.Subject(), face.Face(),
                       face.Face() ? ReadFaceCharacterGlyphs(face.Face()->Image(), face.Face()->offsetTable)
                                   : FaceCharacterGlyphs{}) {}
    CharGridPage(HWND dialog, const DetailsSubject& subject, const SubjectFace* face, FaceCharacterGlyphs glyphs)
        : CharGridPage(dialog, subject, face, face ? CharactersOf(*face, glyphs) : SubjectCharacters{}, glyphs) {}
    // `glyphs` is moved to the panel once the grid's characters are made from it.
    CharGridPage(HWND dialog, const DetailsSubject& subject, const SubjectFace* face, SubjectCharacters characters,
                 FaceCharacterGlyphs& glyphs)
        : face_(face),
          codePoints_(std::move(characters.codePoints)),
          sequences_(std::move(characters.sequences)),
          faceName_(subject.faceName),
          listed_(subject.listed) {
        pane_ = CreateRoutedWindow(kPaneClass, WS_CLIPCHILDREN, WS_EX_CONTROLPARENT, dialog, this);
        label_ = CreateChild(pane_, L"Static", SS_LEFT, L"検索(&S):");
        search_ = CreateChild(pane_, L"Edit", WS_TABSTOP | ES_AUTOHSCROLL);
        SendMessageW(search_, EM_SETCUEBANNER, TRUE, reinterpret_cast<LPARAM>(L"文字、U+XXXX、読み、区点、SJIS、CID+n"));
        SetWindowSubclass(search_, SearchBoxProc, 1, reinterpret_cast<DWORD_PTR>(this));
        line_ = CreateChild(pane_, L"Static", SS_OWNERDRAW);
        grid_ = std::make_unique<CharGrid>(pane_, subject.faceName, codePoints_,
                                           CharGrid::Events{[this] { OnSelectionChanged(); }, [this] { Insert(); }});
        grid_->MarkSequences(&sequences_);
        if (face_) {
            if (auto shaping = ShapingFace::Open(face_->Image(), face_->index)) shaping_ = std::move(shaping.value());
        }
        grid_->ShowColors(shaping_ ? &*shaping_ : nullptr);
        panel_ = std::make_unique<CharacterPanel>(pane_, faceName_, std::move(glyphs), shaping_ ? &*shaping_ : nullptr);
        MakeFonts();
        kept_ = grid_->Selected();
        ShowSelected();
    }

    HWND Window() const override { return pane_; }
    void Copy(HWND owner) const override {
        if (const auto variant = panel_->FocusedVariant()) CopyTextToClipboard(owner, *variant);
        else if (const auto selected = grid_->Selected()) CopyTextToClipboard(owner, Utf16Of(*selected));
    }
    // The selected character's glyph as an SVG document.
    void CopyOutline(HWND owner) const override {
        const auto selected = grid_->Selected();
        const auto glyph = selected && shaping_ ? shaping_->NominalGlyph(*selected) : std::nullopt;
        if (glyph) CopyTextToClipboard(owner, WideFromUtf8(OutlineSvg(DrawGlyphOutline(*shaping_, *glyph))));
    }

    LRESULT OnMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) override {
        switch (message) {
            case WM_SIZE: Layout(LOWORD(lParam), HIWORD(lParam)); return 0;
            case WM_SETFOCUS: SetFocus(grid_->Window()); return 0;
            case WM_COMMAND:
                if (reinterpret_cast<HWND>(lParam) == search_ && HIWORD(wParam) == EN_CHANGE) Search();
                // Leaving the box ends the search: the next one starts from what it found.
                if (reinterpret_cast<HWND>(lParam) == search_ && HIWORD(wParam) == EN_KILLFOCUS)
                    kept_ = grid_->Selected();
                return 0;
            case WM_DRAWITEM: DrawLine(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam)); return TRUE;
            case WM_DPICHANGED_AFTERPARENT: {
                MakeFonts();
                RECT client{};
                GetClientRect(hwnd, &client);
                Layout(client.right, client.bottom);
                panel_->SetCellSize(grid_->CellPixels());
                return 0;
            }
        }
        return MessageTarget::OnMessage(hwnd, message, wParam, lParam);
    }

private:
    // Enter and F3 in the search box go to the next character found; Enter stays out of the dialog's hands.
    static LRESULT CALLBACK SearchBoxProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR page) {
        if (message == WM_GETDLGCODE && lParam && reinterpret_cast<const MSG*>(lParam)->wParam == VK_RETURN)
            return DefSubclassProc(hwnd, message, wParam, lParam) | DLGC_WANTMESSAGE;
        if (message == WM_KEYDOWN && (wParam == VK_RETURN || wParam == VK_F3))
            return reinterpret_cast<CharGridPage*>(page)->NextFound(), 0;
        if (message == WM_CHAR && wParam == L'\r') return 0;  // no beep
        return DefSubclassProc(hwnd, message, wParam, lParam);
    }

    // The label and the search box on the first line, tall enough for either
    // of the box's fonts (the face's only where it is about the dialog font's
    // size); the line under the grid, in two rows where it is too long for one.
    void Layout(int width, int height) const {
        const HWND dialog = GetParent(pane_);
        const int dialogHeight = MetricsOf(pane_, FontOf(dialog)).tmHeight;
        const int textHeight = std::max<int>(dialogHeight, faceFont_ ? MetricsOf(pane_, faceFont_.get()).tmHeight : 0);
        const int searchHeight = textHeight + Scaled(dialog, kEditPadding), gap = Scaled(dialog, kGap);
        lineRows_ = LineRows(width);
        const int lineHeight = std::max<int>(Scaled(dialog, kLineHeight), textHeight) + (lineRows_ - 1) * dialogHeight;
        SIZE label{};
        {
            ScopedGetDC dc(label_);
            const ScopedSelectObject font(dc.get(), FontOf(dialog));
            const std::wstring caption = WindowTextOf(label_);
            GetTextExtentPoint32W(dc.get(), caption.c_str(), static_cast<int>(caption.size()), &label);
        }
        MoveWindow(label_, 0, (searchHeight - label.cy) / 2, label.cx, label.cy, TRUE);
        MoveWindow(search_, label.cx + gap, 0, std::max<int>(width - label.cx - gap, 0), searchHeight, TRUE);
        MoveWindow(line_, 0, height - lineHeight, width, lineHeight, TRUE);
        const int panelWidth = std::max(Scaled(dialog, kMinPanelWidth), width * 2 / 5), middle = searchHeight + gap;
        const int middleHeight = std::max(height - searchHeight - lineHeight - 2 * gap, 0);
        MoveWindow(grid_->Window(), 0, middle, std::max(width - panelWidth - gap, 0), middleHeight, TRUE);
        MoveWindow(panel_->Window(), std::max(width - panelWidth, 0), middle, std::min(panelWidth, width), middleHeight, TRUE);
    }

    // The line in rows no wider than `width` in the dialog's font, broken only between its fields.
    std::vector<std::wstring> LineRowsOf(const std::wstring& text, int width) const {
        const HFONT font = FontOf(GetParent(pane_));
        const auto measure = [&](const std::wstring& part) { return TextWidth(line_, font, part, false); };
        std::vector<std::wstring> rows{L""};
        for (std::size_t from = 0; from < text.size();) {
            const std::size_t next = std::min(text.find(L"  ", from + 1), text.size());
            const std::wstring field = text.substr(from, next - from);
            if (!rows.back().empty() && measure(rows.back() + field) > width)
                rows.push_back(field.substr(std::min(field.find_first_not_of(L' '), field.size())));
            else
                rows.back() += field;
            from = next;
        }
        return rows;
    }
    int LineRows(int width) const {
        return std::min<int>(int(LineRowsOf(WindowTextOf(line_), width - Scaled(pane_, kGap)).size()), 2);
    }

    void SetLineText(const std::wstring& text) {
        SetWindowTextW(line_, text.c_str());
        InvalidateRect(line_, nullptr, TRUE);
        RECT client{};
        GetClientRect(pane_, &client);
        // Two rows once needed stay two until the page is resized, so moving through the
        // characters does not make the grid jump and the whole page redraw.
        if (LineRows(client.right) > lineRows_) Layout(client.right, client.bottom);
    }

    // The face at the size of the dialog's text, for the search box and the
    // line; a colour face's glyphs at that size for the line, as the grid draws them.
    void MakeFonts() {
        faceFont_.reset(CreateFaceTextFont(GetParent(pane_), faceName_));
        if (shaping_ && HasColorGlyphs(*shaping_)) {
            const TEXTMETRICW metrics = MetricsOf(pane_, FontOf(GetParent(pane_)));
            colorFonts_ = CreateLineFonts(faceName_, *shaping_, metrics.tmHeight - metrics.tmInternalLeading);
        }
        PickSearchFont();
    }

    // The character's colour glyph at `x` on the baseline; its advance, or 0 when it has none.
    int DrawColorCharacter(HDC dc, char32_t character, int x, int baseline) const {
        const auto glyph = colorFonts_.color ? shaping_->NominalGlyph(character) : std::nullopt;
        if (!glyph || (ColorLayersOf(*shaping_, *glyph).empty() && ColorPngOf(*shaping_, *glyph).empty())) return 0;
        DrawGlyphLine(dc, {ShapedRun{false, {ShapedGlyph{*glyph}}}}, false, colorFonts_, {x, baseline});
        return std::max(int(std::lround(shaping_->HorizontalAdvance(*glyph) * colorFonts_.scale)), 1);
    }

    // What is typed shows in the face when the face has all of it, else in the dialog's font.
    void PickSearchFont() const {
        const bool inFace = listed_ && faceFont_ && MapsAll(codePoints_, WindowTextOf(search_));
        const HFONT font = inFace ? faceFont_.get() : FontOf(GetParent(pane_));
        if (FontOf(search_) != font) SendMessageW(search_, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    }

    void OnSelectionChanged() {
        if (!searching_) kept_ = grid_->Selected();
        ShowSelected();
    }

    void ShowSelected() {
        const auto selected = grid_->Selected();
        lineCharacter_ = selected;
        std::wstring line =
            !selected ? (listed_ ? L"このフォントには Unicode の文字がありません" : L"このフォントは読み込まれていません")
                      : DescribeCell(*selected, grid_->SelectedIndex(), codePoints_.size(), grid_->SequencesOf(*selected),
                                     shaping_ ? &*shaping_ : nullptr) +
                            (face_ ? UnpaintedColorNote(face_->info) : L"");
        // A control character (U+0000 would end the window text) is named by its code point alone.
        if (selected && (*selected < 0x20 || (*selected >= 0x7F && *selected < 0xA0))) {
            lineCharacter_.reset();
            line.erase(0, line.find(L"U+"));
        }
        SetLineText(line + FoundNote());
        panel_->SetCellSize(grid_->CellPixels());
        panel_->Show(selected);
    }

    // "  読み 1 / 3 (F3 で次)" while the selection is the one of the characters a reading found that F3 went to.
    std::wstring FoundNote() const {
        const auto selected = grid_->Selected();
        if (!byReading_ || found_.empty() || !selected || found_[foundAt_] != *selected) return L"";
        return L"  読み " + std::to_wstring(foundAt_ + 1) + L" / " + std::to_wstring(found_.size()) + L" (F3 で次)";
    }

    void ShowLine(const std::wstring& text) {
        lineCharacter_.reset();
        SetLineText(text);
    }

    // A complete query selects its character; anything else leaves the
    // selection the search started from.
    void Search() {
        PickSearchFont();
        const CharacterSearch search = SearchCharacters(WindowTextOf(search_));
        found_.clear();
        foundAt_ = 0;
        byReading_ = search.byReading;
        for (char32_t c : search.found)
            if (std::binary_search(codePoints_.begin(), codePoints_.end(), c)) found_.push_back(c);
        const std::optional<char32_t> wanted = !found_.empty()         ? std::optional(found_.front())
                                               : search.found.empty() ? std::nullopt
                                                                      : std::optional(search.found.front());
        searching_ = true;
        const bool found = wanted && grid_->Select(*wanted);
        if (!found && kept_) grid_->Select(*kept_);
        searching_ = false;
        if (wanted && !found && byReading_)
            ShowLine(L"この読みの文字はこのフォントにありません");
        else if (wanted && !found)
            ShowLine(CodePointLabel(*wanted) + L" はこのフォントにありません");
        else
            ShowSelected();
    }

    // Enter or F3 in the search box: the next of the characters a reading found, round again after the last.
    void NextFound() {
        if (found_.size() < 2) return;
        foundAt_ = (foundAt_ + 1) % found_.size();
        searching_ = true;
        grid_->Select(found_[foundAt_]);
        searching_ = false;
        ShowSelected();
    }

    // The selected character in the face itself, then what the line says of
    // it, broken between its fields where it takes two rows.
    void DrawLine(const DRAWITEMSTRUCT& item) const {
        const HDC dc = item.hDC;
        FillRect(dc, &item.rcItem, GetSysColorBrush(COLOR_BTNFACE));
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
        SetTextAlign(dc, TA_LEFT | TA_BASELINE);
        const HFONT dialogFont = FontOf(GetParent(pane_));
        const TEXTMETRICW metrics = MetricsOf(pane_, dialogFont);
        const int top = (item.rcItem.top + item.rcItem.bottom - lineRows_ * metrics.tmHeight) / 2;
        int baseline = top + metrics.tmAscent;
        std::wstring text = WindowTextOf(line_);
        int x = item.rcItem.left;
        const ScopedSelectObject font(dc, faceFont_ ? faceFont_.get() : dialogFont);
        const std::wstring character = lineCharacter_ ? Utf16Of(*lineCharacter_) : L"";
        if (const int advance = lineCharacter_ ? DrawColorCharacter(dc, *lineCharacter_, x, baseline) : 0) {
            x += advance;
            text.erase(0, character.size());
        } else if (lineCharacter_ && faceFont_) {
            DrawFaceText(dc, x, baseline, character, grid_->Glyphs());
            x += MeasureFaceText(dc, character, grid_->Glyphs());
            text.erase(0, character.size());
        }
        SelectObject(dc, dialogFont);
        for (const std::wstring& row : LineRowsOf(text, item.rcItem.right - x)) {
            ExtTextOutW(dc, x, baseline, 0, nullptr, row.c_str(), UINT(row.size()), nullptr);
            baseline += metrics.tmHeight;
        }
    }

    void Insert() const {
        if (const auto selected = grid_->Selected()) InsertIntoSample(Utf16Of(*selected));
    }

    const SubjectFace* const face_;  // the dialog's, which outlives the page
    std::optional<ShapingFace> shaping_;
    const std::vector<char32_t> codePoints_;
    const std::vector<std::pair<char32_t, std::uint32_t>> sequences_;
    const std::wstring faceName_;
    const bool listed_;
    HWND pane_ = nullptr, label_ = nullptr, search_ = nullptr, line_ = nullptr;
    std::unique_ptr<CharGrid> grid_;
    std::unique_ptr<CharacterPanel> panel_;
    std::vector<char32_t> found_;  // what the search box found that the face has, ascending
    std::size_t foundAt_ = 0;
    bool byReading_ = false;  // found_ holds the characters of a reading
    AutoDeleteFont faceFont_;  // null where the face is out of proportion at the dialog's size
    LineFonts colorFonts_;     // a colour face at the dialog's size, for the line
    std::optional<char32_t> kept_;           // the selection a search started from
    std::optional<char32_t> lineCharacter_;  // the character the line starts with
    bool searching_ = false;
    mutable int lineRows_ = 1;  // of the line under the grid, as last laid out
};

}  // namespace

void InsertIntoSample(const std::wstring& text) {
    SendMessageW(appState.hwndSample, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(text.c_str()));
}

std::unique_ptr<DetailsPage> CreateCharGridPage(HWND dialog, DetailsFace& face, const RECT&) {
    return std::make_unique<CharGridPage>(dialog, face);
}

}  // namespace tavrel
