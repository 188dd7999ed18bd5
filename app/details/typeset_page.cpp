#include "typeset_page.h"

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>
#include <cmath>
#include <cwchar>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "app_state.h"
#include "clipboard_text.h"
#include "code_point_text.h"
#include "dialog_dpi.h"
#include "face_text_font.h"
#include "feature_names.h"
#include "glyph_line_view.h"
#include "instance_controls.h"
#include "label_width.h"
#include "subject_face.h"
#include "waterfall_page.h"
#include "wide_text_win32.h"

namespace tavrel {

namespace {

constexpr wchar_t kPaneClass[] = L"TavrelTypesetPage";
constexpr int kGap = 6;
constexpr int kRow = 24;
constexpr int kLabelWidth = 72;
constexpr int kFeatureListWidth = 220;
constexpr int kChangeRowHeight = 40;
constexpr int kChangeGlyphPixels = 28;
constexpr wchar_t kTextLabel[] = L"テキスト(&T):", kSizeLabel[] = L"サイズ(&S):";

// The sample's text up to its first line break.
std::wstring FirstLine(const std::wstring& text) { return text.substr(0, text.find_first_of(L"\r\n")); }

std::wstring WindowTextOf(HWND hwnd) {
    std::wstring text(std::size_t(GetWindowTextLengthW(hwnd)) + 1, L'\0');
    text.resize(std::size_t(GetWindowTextW(hwnd, text.data(), int(text.size()))));
    return text;
}

class TypesetPage : public DetailsPage, public MessageTarget {
public:
    // Made at its place, each control where it belongs: under Wine, moving a control after it
    // is made costs as much as half a millisecond, and the page has a dozen.
    TypesetPage(HWND dialog, DetailsFace& face, const RECT& area)
        : details_(face), faceName_(face.Subject().faceName), face_(face.Face()) {
        pane_ = CreateRoutedWindow(kPaneClass, WS_CLIPCHILDREN, WS_EX_CONTROLPARENT, dialog, this);
        const SIZE size{std::max<LONG>(area.right - area.left, 0), std::max<LONG>(area.bottom - area.top, 0)};
        MoveWindow(pane_, area.left, area.top, size.cx, size.cy, FALSE);
        CreateControls(FirstLine(face.Subject().sampleText), Arrange(size.cx, size.cy));
        if (face_) {
            if (auto shaping = ShapingFace::Open(face_->Image(), face_->index)) shaping_ = std::move(shaping.value());
        }
        gdiDraws_ = shaping_ && GdiDrawsFace(faceName_, *shaping_);
        instance_ = std::make_unique<InstanceControls>(pane_, face_ ? face_->info : FaceInfo{}, face.Instance(),
                                                       [this] { Reshape(); });
        if (instance_->Height() > 0) Relayout();  // a variable face's instance controls push the lists down
        FillFeatures();
        FillSizes();
        Reshape();
        if (!shaping_) SetWindowTextW(changesLabel_, L"このフォントを読めません");
        ListView_SetItemState(features_, 0, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    }

    HWND Window() const override { return pane_; }

    void FaceFilledIn() override {
        const int selected = ListView_GetNextItem(features_, -1, LVNI_SELECTED);
        if (face_ && shaping_ && selected >= 0 && std::size_t(selected) < face_->info.features.size())
            ShowChanges(face_->info.features[std::size_t(selected)]);
    }

    // An entry of the changes, the edit box's selection, else the drawing.
    void Copy(HWND owner) const override {
        const HWND focus = GetFocus();
        const int entry = ListView_GetNextItem(changes_, -1, LVNI_SELECTED);
        if (focus == changes_ && entry >= 0 && std::size_t(entry) < changeList_.size()) {
            CopyTextToClipboard(owner, Utf16Of(changeList_[std::size_t(entry)].character));
            return;
        }
        DWORD start = 0, end = 0;
        SendMessageW(text_, EM_GETSEL, WPARAM(&start), LPARAM(&end));
        if (focus == text_ && end > start) {
            CopyTextToClipboard(owner, WindowTextOf(text_).substr(start, end - start));
            return;
        }
        line_->Copy(owner);
    }

    LRESULT OnMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) override {
        switch (message) {
            case WM_SIZE: Layout(LOWORD(lParam), HIWORD(lParam)); return 0;
            case WM_DPICHANGED_AFTERPARENT: OnDpiChanged(); return 0;
            case WM_SETFOCUS: SetFocus(features_); return 0;
            // The instance may have been changed on the ウォーターフォール page meanwhile.
            case WM_SHOWWINDOW:
                if (wParam && instance_ && instance_->Follow()) Reshape();
                break;
            case WM_COMMAND: OnCommand(reinterpret_cast<HWND>(lParam), HIWORD(wParam)); return 0;
            case WM_HSCROLL: if (instance_) instance_->OnScroll(reinterpret_cast<HWND>(lParam)); return 0;
            case WM_NOTIFY: OnNotify(*reinterpret_cast<const NMHDR*>(lParam)); return 0;
            case WM_MEASUREITEM:
                reinterpret_cast<MEASUREITEMSTRUCT*>(lParam)->itemHeight = UINT(Scaled(pane_, kChangeRowHeight));
                return TRUE;
            case WM_DRAWITEM: DrawChange(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam)); return TRUE;
        }
        return MessageTarget::OnMessage(hwnd, message, wParam, lParam);
    }

private:
    // Where each control goes in a page `width` by `height` (the instance
    // controls, when the face is variable, take the band from instanceTop).
    struct Places {
        RECT textLabel, text, down, sizeLabel, size, featuresLabel, features, line, changesLabel, changes;
        int instanceTop, featureColumn, changeColumn;
    };

    HWND Child(const wchar_t* className, const wchar_t* text, DWORD style, const RECT& place, DWORD exStyle = 0) {
        const auto instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(pane_, GWLP_HINSTANCE));
        const HWND child =
            CreateWindowExW(exStyle, className, text, WS_CHILD | WS_VISIBLE | style, place.left, place.top,
                            place.right - place.left, place.bottom - place.top, pane_, nullptr, instance, nullptr);
        SendMessageW(child, WM_SETFONT, WPARAM(DialogFont()), FALSE);
        return child;
    }

    HFONT DialogFont() const { return reinterpret_cast<HFONT>(SendMessageW(GetParent(pane_), WM_GETFONT, 0, 0)); }

    // Typed in the face itself, so its characters show whatever the dialog's
    // font lacks; in the dialog's font where the face is out of proportion.
    void SetTextFont() {
        AutoDeleteFont previous(textFont_.release());
        textFont_.reset(CreateFaceTextFont(GetParent(pane_), faceName_));
        SendMessageW(text_, WM_SETFONT, WPARAM(textFont_ ? textFont_.get() : DialogFont()), TRUE);
    }

    // The dialog has given its controls the new font; sizes in pixels follow.
    void OnDpiChanged() {
        SetTextFont();
        SendMessageW(changes_, WM_SETFONT, WPARAM(DialogFont()), TRUE);  // asks for the rows' height again
        changeFonts_ = {};
        Relayout();
        Reshape();
    }

    // In tab order: the text, across or down, the size, the features, the line, the changes.
    void CreateControls(const std::wstring& firstLine, const Places& at) {
        textLabel_ = Child(L"Static", kTextLabel, SS_LEFT, at.textLabel);
        text_ = Child(L"Edit", firstLine.c_str(), WS_TABSTOP | ES_AUTOHSCROLL, at.text, WS_EX_CLIENTEDGE);
        SendMessageW(text_, EM_LIMITTEXT, kMaxShapedText, 0);
        SetTextFont();
        down_ = Child(L"Button", L"縦書き(&V)", WS_TABSTOP | BS_AUTOCHECKBOX, at.down);
        sizeLabel_ = Child(L"Static", kSizeLabel, SS_LEFT, at.sizeLabel);
        size_ = Child(L"ComboBox", L"", WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST, at.size);
        featuresLabel_ = Child(L"Static", L"機能(&F):", SS_LEFT, at.featuresLabel);
        features_ = Child(WC_LISTVIEWW, L"",
                          WS_TABSTOP | LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS | LVS_NOCOLUMNHEADER,
                          at.features, WS_EX_CLIENTEDGE);
        ListView_SetExtendedListViewStyle(features_, LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT);
        AddColumn(features_, at.featureColumn);
        line_ = std::make_unique<GlyphLineView>(pane_);
        Move(line_->Window(), at.line);
        changesLabel_ = Child(L"Static", L"", SS_LEFT | SS_NOPREFIX | SS_ENDELLIPSIS, at.changesLabel);
        changes_ = Child(WC_LISTVIEWW, L"",
                         WS_TABSTOP | LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS | LVS_NOCOLUMNHEADER |
                             LVS_OWNERDATA | LVS_OWNERDRAWFIXED,
                         at.changes, WS_EX_CLIENTEDGE);
        AddColumn(changes_, at.changeColumn);
        SetWindowPos(line_->Window(), features_, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
        laidOut_ = at.features.bottom > at.features.top;
    }

    static void AddColumn(HWND list, int width) {
        LVCOLUMNW column{};
        column.mask = LVCF_WIDTH;
        column.cx = width;
        ListView_InsertColumn(list, 0, &column);
    }

    static void Move(HWND control, const RECT& place) {
        MoveWindow(control, place.left, place.top, place.right - place.left, place.bottom - place.top, TRUE);
    }

    // Where each control goes in a page `width` by `height`.
    Places Arrange(int width, int height) const {
        const auto px = [this](int pixels) { return Scaled(pane_, pixels); };
        const int row = px(kRow), gap = px(kGap), listWidth = px(kFeatureListWidth), second = row + gap;
        const HFONT font = DialogFont();
        const int label = std::max({px(kLabelWidth), TextWidth(pane_, font, kTextLabel) + gap,
                                    TextWidth(pane_, font, kSizeLabel) + gap});
        Places at{};
        at.textLabel = {0, px(4), label, row};
        at.text = {label, 0, std::max(width, label), row};
        at.down = {0, second, px(120), second + row};
        at.sizeLabel = {px(130), second + px(4), px(130) + label, second + row};
        at.size = {px(130) + label, second, px(130) + label + px(90), second + px(240)};
        at.instanceTop = second + row + gap;
        const int top = at.instanceTop + (instance_ ? instance_->Height() : 0), listTop = top + row - px(4);
        at.featuresLabel = {0, top, listWidth, listTop};
        at.features = {0, listTop, listWidth, std::max(height, listTop)};
        at.featureColumn = listWidth - GetSystemMetrics(SM_CXVSCROLL) - px(4);
        const int left = listWidth + gap, right = std::max(width - left, 0);
        // Across, the line over the changes; down, a column beside them at the right.
        const bool down = down_ && Down();
        at.line = down ? RECT{left + right * 2 / 3 + gap, top, width, height}
                       : RECT{left, top, width, top + std::max((height - top) * 2 / 5, 0)};
        const RECT changes = down ? RECT{left, top, left + right * 2 / 3, height}
                                  : RECT{left, at.line.bottom + gap, width, height};
        const int changesTop = changes.top + row - px(4);
        at.changesLabel = {changes.left, changes.top, changes.right, changesTop};
        at.changes = {changes.left, changesTop, changes.right, std::max<LONG>(changes.bottom, changesTop)};
        at.changeColumn = std::max(int(changes.right - changes.left) - GetSystemMetrics(SM_CXVSCROLL) - px(4), 0);
        return at;
    }

    void Layout(int width, int height) {
        if (!changes_) return;  // sized before its controls were made
        const Places at = Arrange(width, height);
        for (const auto& [control, place] : {std::pair{textLabel_, at.textLabel}, std::pair{text_, at.text},
                                             std::pair{down_, at.down}, std::pair{sizeLabel_, at.sizeLabel},
                                             std::pair{size_, at.size}, std::pair{featuresLabel_, at.featuresLabel},
                                             std::pair{features_, at.features}, std::pair{line_->Window(), at.line},
                                             std::pair{changesLabel_, at.changesLabel}, std::pair{changes_, at.changes}})
            Move(control, place);
        if (instance_) instance_->MoveTo(0, at.instanceTop, width);
        ListView_SetColumnWidth(features_, 0, at.featureColumn);
        ListView_SetColumnWidth(changes_, 0, at.changeColumn);
        // Selected while the list had no size, the first row was scrolled to in a list no row fits.
        if (!laidOut_ && at.features.bottom > at.features.top) {
            laidOut_ = true;
            ListView_EnsureVisible(features_, 0, FALSE);
        }
    }

    void Relayout() {
        RECT client{};
        GetClientRect(pane_, &client);
        Layout(client.right, client.bottom);
    }

    bool Down() const { return Button_GetCheck(down_) == BST_CHECKED; }

    bool FeatureOn(std::uint32_t tag) const {
        const auto chosen = chosen_.find(tag);
        return chosen != chosen_.end() ? chosen->second : FeatureOnByDefault(tag, Down());
    }

    void FillFeatures() {
        if (!face_ || !shaping_) return;
        updating_ = true;
        // Inserted without a redraw each: Wine's list view takes tens of milliseconds otherwise.
        SendMessageW(features_, WM_SETREDRAW, FALSE, 0);
        for (std::uint32_t tag : face_->info.features) {
            std::wstring label = ToWide(FeatureLabel(*shaping_, tag));
            LVITEMW item{};
            item.mask = LVIF_TEXT | LVIF_PARAM;
            item.iItem = ListView_GetItemCount(features_);
            item.pszText = label.data();
            item.lParam = LPARAM(tag);
            ListView_InsertItem(features_, &item);
        }
        ShowFeatureStates();
        SendMessageW(features_, WM_SETREDRAW, TRUE, 0);
        updating_ = false;
    }

    // Each box as the line is set: what was chosen, else HarfBuzz's default.
    void ShowFeatureStates() {
        updating_ = true;
        for (int i = 0; i < int(face_ ? face_->info.features.size() : 0); ++i)
            ListView_SetCheckState(features_, i, FeatureOn(face_->info.features[std::size_t(i)]));
        updating_ = false;
    }

    void FillSizes() {
        int chosen = 0;
        for (std::uint32_t points : DetailsPageSizes()) {
            const int item = ComboBox_AddString(size_, (std::to_wstring(points) + L" pt").c_str());
            ComboBox_SetItemData(size_, item, points);
            if (points == appState.pointSize) chosen = item;
        }
        ComboBox_SetCurSel(size_, chosen);
    }

    int PixelsPerEm() const {
        const LRESULT item = ComboBox_GetCurSel(size_);
        const auto points = item >= 0 ? int(ComboBox_GetItemData(size_, item)) : int(appState.pointSize);
        return std::max(MulDiv(std::max(points, 1), DialogDpi(pane_), 72), 1);
    }

    std::vector<FeatureSetting> Settings() const {
        std::vector<FeatureSetting> settings;
        for (const auto& [tag, on] : chosen_) settings.push_back({tag, on ? 1u : 0u});
        return settings;
    }

    void Reshape() {
        if (!shaping_) return;
        const std::wstring text = WindowTextOf(text_);
        const std::vector<FeatureSetting> settings = Settings();
        shaping_->SetVariations(instance_->Settings());
        auto runs = SetLine(*shaping_, std::u16string_view(reinterpret_cast<const char16_t*>(text.data()), text.size()),
                            settings, Down());
        const bool fromOutlines = !instance_->AtDefault() || !gdiDraws_;
        line_->Show(runs ? std::move(runs.value()) : std::vector<ShapedRun>{}, Down(), faceName_, *shaping_,
                    PixelsPerEm(), fromOutlines);
        // The changes show their glyphs at the line's instance.
        if (changeFonts_.upright && changeFonts_.fromOutlines != fromOutlines)
            changeFonts_ = CreateLineFonts(faceName_, *shaping_, Scaled(pane_, kChangeGlyphPixels), fromOutlines);
        if (changeFonts_.fromOutlines) InvalidateRect(changes_, nullptr, FALSE);
    }

    void OnCommand(HWND control, WORD code) {
        if (instance_ && instance_->OnCommand(control, code)) return;
        if (control == text_ && code == EN_CHANGE) Reshape();
        if (control == size_ && code == CBN_SELCHANGE) Reshape();
        if (control == down_ && code == BN_CLICKED) {
            ShowFeatureStates();
            Relayout();
            Reshape();
            // The line and the changes trade places: nothing of either may stay behind.
            RedrawWindow(pane_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
        }
    }

    void OnNotify(const NMHDR& header) {
        if (header.hwndFrom != features_ || header.code != LVN_ITEMCHANGED || updating_) return;
        const auto& change = reinterpret_cast<const NMLISTVIEW&>(header);
        if (change.iItem < 0 || std::size_t(change.iItem) >= face_->info.features.size()) return;
        const std::uint32_t tag = face_->info.features[std::size_t(change.iItem)];
        if ((change.uChanged & LVIF_STATE) && ((change.uNewState ^ change.uOldState) & LVIS_STATEIMAGEMASK)) {
            chosen_[tag] = ListView_GetCheckState(features_, change.iItem) != 0;
            Reshape();
        }
        if ((change.uNewState & LVIS_SELECTED) && !(change.uOldState & LVIS_SELECTED)) ShowChanges(tag);
    }

    void ShowChanges(std::uint32_t tag) {
        // Worked out on the face's own thread: until it is done, the page says so.
        const auto* changes = details_.ChangesOf(tag);
        changeList_ = changes ? *changes : std::vector<CharacterChange>{};
        const std::wstring label = ToWide(FeatureLabel(*shaping_, tag));
        const std::wstring count = changes ? std::to_wstring(changeList_.size()) + L" 文字が変わる" : L"調べています…";
        SetWindowTextW(changesLabel_, (label + L": " + count + UnpaintedColorNote(face_->info)).c_str());
        // Entries of another feature: the selection and the scroll position start afresh.
        ListView_SetItemState(changes_, -1, 0, LVIS_SELECTED | LVIS_FOCUSED);
        ListView_SetItemCountEx(changes_, int(changeList_.size()), 0);
        // Only when scrolled: Wine's list view takes milliseconds to bring a row into view that is in it.
        if (!changeList_.empty() && ListView_GetTopIndex(changes_) > 0) ListView_EnsureVisible(changes_, 0, FALSE);
        InvalidateRect(changes_, nullptr, TRUE);
        if (!changeFonts_.upright)
            changeFonts_ = CreateLineFonts(faceName_, *shaping_, Scaled(pane_, kChangeGlyphPixels),
                                           !instance_->AtDefault() || !gdiDraws_);
    }

    // The character's own glyph, an arrow, the glyph it becomes, its code point.
    void DrawChange(const DRAWITEMSTRUCT& item) const {
        if (item.hwndItem != changes_ || item.itemID >= changeList_.size()) return;
        const CharacterChange& change = changeList_[item.itemID];
        const bool selected = item.itemState & ODS_SELECTED;
        SetDCBrushColor(item.hDC, selected ? GetSysColor(COLOR_HIGHLIGHT) : appState.backgroundColor);
        FillRect(item.hDC, &item.rcItem, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
        SetTextColor(item.hDC, selected ? GetSysColor(COLOR_HIGHLIGHTTEXT) : appState.fontColor);
        const int rowHeight = item.rcItem.bottom - item.rcItem.top, gap = Scaled(pane_, kGap);
        const int baseline = item.rcItem.top + (rowHeight + changeFonts_.ascent - changeFonts_.descent) / 2;
        // A glyph whose ink reaches left of its origin (an enclosing mark, drawn
        // round the character before it) moves right by as much, so it shows whole.
        const auto glyph = [&](std::uint32_t id, int x) {
            const auto ink = shaping_->GlyphExtents(id);
            const int overhang = ink ? std::max(int(std::lround(-ink->left * changeFonts_.scale)), 0) : 0;
            DrawGlyphLine(item.hDC, {ShapedRun{false, {ShapedGlyph{id}}}}, false, changeFonts_,
                          POINT{item.rcItem.left + x + overhang, baseline});
        };
        glyph(shaping_->NominalGlyph(change.character).value_or(0), gap);
        glyph(change.glyph, gap + 2 * rowHeight);
        const HGDIOBJ previous = SelectObject(item.hDC, DialogFont());
        SetBkMode(item.hDC, TRANSPARENT);
        RECT text = item.rcItem;
        text.left += gap + rowHeight;
        text.right = text.left + rowHeight;
        DrawTextW(item.hDC, L"→", 1, &text, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
        text.left += 2 * rowHeight + gap;
        text.right = item.rcItem.right;
        const std::wstring label = CodePointLabel(change.character);
        DrawTextW(item.hDC, label.c_str(), int(label.size()), &text, DT_LEFT | DT_VCENTER | DT_SINGLELINE);
        SelectObject(item.hDC, previous);
        if ((item.itemState & ODS_FOCUS) && !(item.itemState & ODS_NOFOCUSRECT)) DrawFocusRect(item.hDC, &item.rcItem);
    }

    const DetailsFace& details_;
    std::wstring faceName_;
    const SubjectFace* face_;  // the dialog's, which outlives the page
    std::optional<ShapingFace> shaping_;
    std::map<std::uint32_t, bool> chosen_;  // features the person turned on or off
    std::vector<CharacterChange> changeList_;
    LineFonts changeFonts_;
    bool gdiDraws_ = false;  // GDI draws this face by its name, so its default instance needs no outlines
    std::unique_ptr<GlyphLineView> line_;
    std::unique_ptr<InstanceControls> instance_;
    HWND pane_ = nullptr, textLabel_ = nullptr, text_ = nullptr, down_ = nullptr, sizeLabel_ = nullptr,
         size_ = nullptr, featuresLabel_ = nullptr, features_ = nullptr, changesLabel_ = nullptr, changes_ = nullptr;
    AutoDeleteFont textFont_;  // the face, at the dialog font's size
    bool updating_ = false;  // the page itself is setting check boxes
    bool laidOut_ = false;   // the feature list has been given a size
};

}  // namespace

std::unique_ptr<DetailsPage> CreateTypesetPage(HWND dialog, DetailsFace& face, const RECT& area) {
    return std::make_unique<TypesetPage>(dialog, face, area);
}

}  // namespace tavrel
