#include "char_grid_page.h"

#include <commctrl.h>

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "app_state.h"
#include "char_grid.h"
#include "clipboard_text.h"
#include "code_point_text.h"
#include "dialog_dpi.h"
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

// The face at the size of the dialog's text.
HFONT CreateTextSizeFont(HWND dialog, const std::wstring& faceName) {
    LOGFONTW font{};
    GetObjectW(FontOf(dialog), sizeof font, &font);
    wcsncpy(font.lfFaceName, faceName.c_str(), LF_FACESIZE - 1);
    font.lfFaceName[LF_FACESIZE - 1] = L'\0';
    font.lfCharSet = DEFAULT_CHARSET;
    return CreateFontIndirectW(&font);
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
    CharGridPage(HWND dialog, const DetailsFace& face)
        : CharGridPage(dialog, face.Subject(), face.Face(), face.Face() ? CharactersOf(*face.Face()) : SubjectCharacters{}) {}
    CharGridPage(HWND dialog, const DetailsSubject& subject, const SubjectFace* face, SubjectCharacters characters)
        : face_(face),
          codePoints_(std::move(characters.codePoints)),
          sequences_(std::move(characters.sequences)),
          faceName_(subject.faceName),
          listed_(subject.listed) {
        pane_ = CreateRoutedWindow(kPaneClass, WS_CLIPCHILDREN, WS_EX_CONTROLPARENT, dialog, this);
        label_ = CreateChild(pane_, L"Static", SS_LEFT, L"検索(&S):");
        search_ = CreateChild(pane_, L"Edit", WS_TABSTOP | ES_AUTOHSCROLL);
        SendMessageW(search_, EM_SETCUEBANNER, TRUE, reinterpret_cast<LPARAM>(L"文字または U+XXXX"));
        line_ = CreateChild(pane_, L"Static", SS_OWNERDRAW);
        grid_ = std::make_unique<CharGrid>(pane_, subject.faceName, codePoints_,
                                           CharGrid::Events{[this] { OnSelectionChanged(); }, [this] { Insert(); }});
        grid_->MarkSequences(&sequences_);
        if (face_) {
            if (auto shaping = ShapingFace::Open(face_->Image(), face_->index)) shaping_ = std::move(shaping.value());
        }
        grid_->ShowColors(shaping_ ? &*shaping_ : nullptr);
        MakeFonts();
        kept_ = grid_->Selected();
        ShowSelected();
    }

    HWND Window() const override { return pane_; }
    void Copy(HWND owner) const override {
        if (const auto selected = grid_->Selected()) CopyTextToClipboard(owner, Utf16Of(*selected));
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
                return 0;
            }
        }
        return MessageTarget::OnMessage(hwnd, message, wParam, lParam);
    }

private:
    // The label and the search box on the first line, tall enough for either
    // of the box's fonts; the line under the grid.
    void Layout(int width, int height) const {
        const HWND dialog = GetParent(pane_);
        const int textHeight =
            std::max(MetricsOf(pane_, FontOf(dialog)).tmHeight, MetricsOf(pane_, faceFont_.get()).tmHeight);
        const int searchHeight = textHeight + Scaled(dialog, kEditPadding), gap = Scaled(dialog, kGap);
        const int lineHeight = std::max<int>(Scaled(dialog, kLineHeight), textHeight);
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
        MoveWindow(grid_->Window(), 0, searchHeight + gap, width,
                   std::max(height - searchHeight - lineHeight - 2 * gap, 0), TRUE);
    }

    // The face at the size of the dialog's text, for the search box and the line.
    void MakeFonts() {
        faceFont_.reset(CreateTextSizeFont(GetParent(pane_), faceName_));
        PickSearchFont();
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
        const std::wstring line =
            !selected ? (listed_ ? L"このフォントには Unicode の文字がありません" : L"このフォントは読み込まれていません")
                      : DescribeCell(*selected, grid_->SelectedIndex(), codePoints_.size(), grid_->SequencesOf(*selected),
                                     shaping_ ? &*shaping_ : nullptr) +
                            (face_ ? UnpaintedColorNote(face_->info) : L"");
        SetWindowTextW(line_, line.c_str());
        InvalidateRect(line_, nullptr, TRUE);
    }

    void ShowLine(const std::wstring& text) {
        lineCharacter_.reset();
        SetWindowTextW(line_, text.c_str());
        InvalidateRect(line_, nullptr, TRUE);
    }

    // A complete query selects its character; anything else leaves the
    // selection the search started from.
    void Search() {
        PickSearchFont();
        const auto wanted = ParseCodePointQuery(WindowTextOf(search_));
        searching_ = true;
        const bool found = wanted && grid_->Select(*wanted);
        if (!found && kept_) grid_->Select(*kept_);
        searching_ = false;
        if (wanted && !found)
            ShowLine(CodePointLabel(*wanted) + L" はこのフォントにありません");
        else
            ShowSelected();
    }

    // The selected character in the face itself, then what the line says of it.
    void DrawLine(const DRAWITEMSTRUCT& item) const {
        const HDC dc = item.hDC;
        FillRect(dc, &item.rcItem, GetSysColorBrush(COLOR_BTNFACE));
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
        SetTextAlign(dc, TA_LEFT | TA_BASELINE);
        const HFONT dialogFont = FontOf(GetParent(pane_));
        const TEXTMETRICW metrics = MetricsOf(pane_, dialogFont);
        const int baseline = (item.rcItem.top + item.rcItem.bottom - metrics.tmHeight) / 2 + metrics.tmAscent;
        std::wstring text = WindowTextOf(line_);
        int x = item.rcItem.left;
        const ScopedSelectObject font(dc, faceFont_.get());
        if (lineCharacter_ && faceFont_) {
            const std::wstring character = Utf16Of(*lineCharacter_);
            DrawFaceText(dc, x, baseline, character, grid_->Glyphs());
            x += MeasureFaceText(dc, character, grid_->Glyphs());
            text.erase(0, character.size());
        }
        SelectObject(dc, dialogFont);
        ExtTextOutW(dc, x, baseline, 0, nullptr, text.c_str(), static_cast<UINT>(text.size()), nullptr);
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
    AutoDeleteFont faceFont_;
    std::optional<char32_t> kept_;           // the selection a search started from
    std::optional<char32_t> lineCharacter_;  // the character the line starts with
    bool searching_ = false;
};

}  // namespace

void InsertIntoSample(const std::wstring& text) {
    SendMessageW(appState.hwndSample, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(text.c_str()));
}

std::unique_ptr<DetailsPage> CreateCharGridPage(HWND dialog, DetailsFace& face) {
    return std::make_unique<CharGridPage>(dialog, face);
}

}  // namespace tavrel
