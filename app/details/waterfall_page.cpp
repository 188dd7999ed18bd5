#include "waterfall_page.h"

#include <windowsx.h>

#include <algorithm>
#include <cwchar>
#include <string>

#include "app_state.h"
#include "canvas_scroll.h"
#include "capture_sample.h"
#include "color_glyphs.h"
#include "dialog_dpi.h"
#include "face_glyphs.h"
#include "glyph_line.h"
#include "instance_controls.h"
#include "paint_buffer.h"
#include "point_size.h"
#include "resource_ids.h"
#include "routed_window.h"
#include "scoped_handles.h"
#include "subject_face.h"

namespace tavrel {

namespace {

constexpr wchar_t kPaneClass[] = L"TavrelWaterfallPage";
constexpr wchar_t kViewClass[] = L"TavrelWaterfall";
constexpr int kCheckHeight = 22;
constexpr int kGap = 6;
constexpr int kMargin = 8;
constexpr int kLabelWidth = 56;  // before each horizontal line
constexpr int kScrollLine = 20;
constexpr std::uint32_t kGlyphsPoints = 12;  // any size: a face maps characters to the same glyphs at every size

// The sample's text up to its first line break.
std::wstring FirstLine(const std::wstring& text) { return text.substr(0, text.find_first_of(L"\r\n")); }

std::vector<std::uint32_t> ListedSizes() {
    std::vector<std::uint32_t> sizes;
    const LRESULT count = SendMessageW(appState.hwndSizeCombo, CB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        wchar_t item[16] = L"";
        if (SendMessageW(appState.hwndSizeCombo, CB_GETLBTEXTLEN, WPARAM(i), 0) >= LRESULT(std::size(item))) continue;
        SendMessageW(appState.hwndSizeCombo, CB_GETLBTEXT, WPARAM(i), reinterpret_cast<LPARAM>(item));
        if (const auto points = ParsePointSize(item)) sizes.push_back(*points);
    }
    return sizes;
}

bool ToolbarChecked(int id) { return IsDlgButtonChecked(appState.hwndToolbar, id) == BST_CHECKED; }

HFONT CreateLineFont(const std::wstring& faceName, std::uint32_t points, bool vertical, int dpi) {
    LOGFONTW font{};
    font.lfHeight = -MulDiv(static_cast<int>(points), dpi, 72);
    font.lfWeight = ToolbarChecked(IDC_BOLD) ? FW_BOLD : FW_NORMAL;
    font.lfItalic = ToolbarChecked(IDC_ITALIC);
    font.lfCharSet = DEFAULT_CHARSET;
    font.lfEscapement = font.lfOrientation = vertical ? 2700 : 0;
    const std::wstring name = vertical ? L"@" + faceName : faceName;
    wcsncpy(font.lfFaceName, name.c_str(), LF_FACESIZE - 1);
    return CreateFontIndirectW(&font);
}

COLORREF Blend(COLORREF a, COLORREF b) {
    return RGB((GetRValue(a) + GetRValue(b)) / 2, (GetGValue(a) + GetGValue(b)) / 2,
               (GetBValue(a) + GetBValue(b)) / 2);
}

std::wstring SizeLabel(std::uint32_t points) { return std::to_wstring(points) + L" pt"; }

// One size's line: where it goes on the page's canvas, measured once per layout.
struct WaterfallLine {
    std::uint32_t points = 0;
    AutoDeleteFont font;
    int position = 0;   // top of a horizontal line's slot, right edge of a vertical one's
    int thickness = 0;  // the slot's, which holds the font's height and the label
    int height = 0, ascent = 0;  // the font's
    int length = 0;     // the text's advance
    LineFonts outlines;  // at an instance GDI cannot draw
};

// True when the font selected into `dc` has the table (its tag as GetFontData takes it, byte-swapped).
bool HasTable(HDC dc, DWORD tag) { return GetFontData(dc, tag, 0, nullptr, 0) != GDI_ERROR; }
bool IsVariable(HDC dc) { return HasTable(dc, 0x72617666 /* 'fvar' */); }
// COLR layers or CBDT or sbix pictures, which GDI draws without their colours.
bool HasColorTables(HDC dc) {
    return HasTable(dc, 0x524C4F43 /* 'COLR' */) || HasTable(dc, 0x54444243 /* 'CBDT' */) ||
           HasTable(dc, 0x78696273 /* 'sbix' */);
}

class WaterfallPage : public DetailsPage, public MessageTarget {
public:
    WaterfallPage(HWND dialog, DetailsFace& face)
        : faceName_(face.Subject().faceName), text_(FirstLine(face.Subject().sampleText)), listed_(face.Subject().listed) {
        pane_ = CreateRoutedWindow(kPaneClass, WS_CLIPCHILDREN, WS_EX_CONTROLPARENT, dialog, this);
        const auto instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(dialog, GWLP_HINSTANCE));
        vertical_ = CreateWindowExW(0, L"Button", L"縦書き(&V)", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_AUTOCHECKBOX,
                                    0, 0, 0, 0, pane_, nullptr, instance, nullptr);
        SendMessageW(vertical_, WM_SETFONT, reinterpret_cast<WPARAM>(LabelFont()), FALSE);
        view_ = CreateRoutedWindow(kViewClass, WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | WS_HSCROLL, WS_EX_CLIENTEDGE,
                                   pane_, &viewTarget_);
        // A face that is not loaded has no lines: GDI would draw them in another.
        for (std::uint32_t points : listed_ ? DetailsPageSizes() : std::vector<std::uint32_t>{}) {
            lines_.emplace_back();
            lines_.back().points = points;
        }
        const AutoDeleteFont glyphsFont(CreateLineFont(faceName_, kGlyphsPoints, false, kDefaultDpi));
        {
            ScopedGetDC dc(view_);
            const ScopedSelectObject selected(dc.get(), glyphsFont.get());
            glyphs_ = FaceGlyphs(dc.get());
            if (listed_ && (IsVariable(dc.get()) || HasColorTables(dc.get()))) ReadFace(face);
        }
        Measure();
    }

    HWND Window() const override { return pane_; }
    // The whole canvas, every line at its full length, whatever part of it is in view.
    void Copy(HWND owner) const override {
        const RECT canvas{0, 0, extent_.cx, extent_.cy};
        CapturePaintingToClipboard(owner, extent_.cx, extent_.cy, [&](HDC dc) {
            Paint(dc, canvas, {}, extent_.cx);
            return true;
        });
    }

    LRESULT OnMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) override {
        switch (message) {
            case WM_SIZE: {
                const int check = Scaled(hwnd, kCheckHeight), gap = Scaled(hwnd, kGap);
                const int instances = instance_ ? instance_->Height() : 0, top = check + gap + instances;
                MoveWindow(vertical_, 0, 0, LOWORD(lParam), check, TRUE);
                if (instance_) instance_->MoveTo(0, check + gap, LOWORD(lParam));
                MoveWindow(view_, 0, top, LOWORD(lParam), std::max(HIWORD(lParam) - top, 0), TRUE);
                return 0;
            }
            case WM_HSCROLL:
                if (instance_) instance_->OnScroll(reinterpret_cast<HWND>(lParam));
                return 0;
            case WM_DPICHANGED_AFTERPARENT: {
                RECT client{};
                GetClientRect(hwnd, &client);
                OnMessage(hwnd, WM_SIZE, 0, MAKELPARAM(client.right, client.bottom));
                Measure();
                return 0;
            }
            case WM_SETFOCUS: SetFocus(view_); return 0;
            // The instance may have been changed on the 組版 page meanwhile.
            case WM_SHOWWINDOW:
                if (wParam && instance_ && instance_->Follow()) Measure();
                break;
            case WM_COMMAND:
                if (reinterpret_cast<HWND>(lParam) == vertical_ && HIWORD(wParam) == BN_CLICKED) Measure();
                if (instance_) instance_->OnCommand(reinterpret_cast<HWND>(lParam), HIWORD(wParam));
                return 0;
        }
        return MessageTarget::OnMessage(hwnd, message, wParam, lParam);
    }

private:
    bool Vertical() const { return Button_GetCheck(vertical_) == BST_CHECKED; }
    // At an instance other than the default, the lines are filled from outlines.
    bool FromOutlines() const { return instance_ && shaping_ && !instance_->AtDefault(); }
    // There and in a colour face, whose colours GDI does not draw, the lines are set by HarfBuzz.
    bool SetByHarfBuzz() const { return FromOutlines() || color_; }

    // A variable face's instances, which GDI cannot draw, for the lines to be drawn at; a colour face's colours.
    void ReadFace(DetailsFace& face) {
        const SubjectFace* read = face.Face();
        if (!read) return;
        if (auto shaping = ShapingFace::Open(read->Image(), read->index)) shaping_ = std::move(shaping.value());
        if (!shaping_) return;
        instance_ = std::make_unique<InstanceControls>(pane_, read->info, face.Instance(), [this] { Measure(); });
        color_ = HasColorGlyphs(*shaping_);
    }
    // The dialog's, which changes with its DPI.
    HFONT LabelFont() const { return reinterpret_cast<HFONT>(SendMessageW(GetParent(pane_), WM_GETFONT, 0, 0)); }

    // Makes each line's font and places the lines one after another.
    void Measure() {
        ScopedGetDC dc(view_);
        const bool vertical = Vertical();
        const int dpi = DialogDpi(view_), gap = Scaled(view_, kGap), margin = Scaled(view_, kMargin);
        const HGDIOBJ previous = SelectObject(dc.get(), LabelFont());
        TEXTMETRICW label{};
        GetTextMetricsW(dc.get(), &label);
        labelHeight_ = label.tmHeight;
        int position = margin;
        extent_ = {};
        if (SetByHarfBuzz()) {
            shaping_->SetVariations(instance_->Settings());
            auto runs = SetLine(*shaping_, std::u16string_view(reinterpret_cast<const char16_t*>(text_.data()), text_.size()),
                                {}, vertical);
            runs_ = runs ? std::move(runs.value()) : std::vector<ShapedRun>{};
        }
        for (WaterfallLine& line : lines_) {
            SIZE label{};
            const std::wstring labelText = SizeLabel(line.points);
            SelectObject(dc.get(), LabelFont());
            GetTextExtentPoint32W(dc.get(), labelText.c_str(), static_cast<int>(labelText.size()), &label);
            line.font.reset(CreateLineFont(faceName_, line.points, vertical, dpi));
            SelectObject(dc.get(), line.font.get());
            TEXTMETRICW metrics{};
            GetTextMetricsW(dc.get(), &metrics);
            line.height = metrics.tmHeight;
            line.ascent = metrics.tmAscent;
            line.thickness = std::max<int>(line.height, vertical ? label.cx + gap : labelHeight_);
            line.length = MeasureFaceText(dc.get(), text_, glyphs_);
            if (SetByHarfBuzz()) {
                // The face's own extents: GDI gives a bitmap face its strike's height at every size.
                line.outlines = CreateLineFonts(faceName_, *shaping_, MulDiv(int(line.points), dpi, 72), FromOutlines());
                line.length = LineLength(runs_, line.outlines.scale);
                line.height = line.outlines.ascent + line.outlines.descent;
                line.ascent = line.outlines.ascent;
                line.thickness = std::max<int>(line.height, vertical ? label.cx + gap : labelHeight_);
            }
            line.position = position;
            position += line.thickness + gap;
            const int lead = vertical ? labelHeight_ + gap : Scaled(view_, kLabelWidth);
            LONG& length = vertical ? extent_.cy : extent_.cx;
            length = std::max<LONG>(length, margin + lead + line.length + margin);
        }
        SelectObject(dc.get(), previous);
        (vertical ? extent_.cx : extent_.cy) = position - gap + margin;
        scroll_ = {};
        UpdateScrollBars();
        if (vertical) Scroll(SB_HORZ, SB_BOTTOM);  // the first line is at the right
        InvalidateRect(view_, nullptr, TRUE);
    }

    SIZE Client() const { return ClientSize(view_); }
    int CanvasWidth() const { return std::max<int>(extent_.cx, Client().cx); }
    void UpdateScrollBars() { SetCanvasScrollBars(view_, extent_, scroll_); }
    void Scroll(int bar, WORD request) { ScrollCanvas(view_, extent_, scroll_, bar, request, kScrollLine); }

    // Every line, horizontal ones top down, vertical ones right to left from
    // the right edge of a canvas `width` wide, each after its size in the
    // label font; `scroll` is the canvas's point at the area's origin.
    void Paint(HDC dc, const RECT& area, POINT scroll, int width) const {
        SetDCBrushColor(dc, appState.backgroundColor);
        FillRect(dc, &area, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
        const bool vertical = Vertical();
        const int right = width - scroll.x, gap = Scaled(view_, kGap), margin = Scaled(view_, kMargin);
        SetBkMode(dc, TRANSPARENT);
        const HFONT labelFont = LabelFont();
        const HGDIOBJ previous = SelectObject(dc, labelFont);
        const UINT previousAlign = GetTextAlign(dc);
        if (!listed_) {
            SetTextColor(dc, appState.fontColor);
            const std::wstring notLoaded = L"このフォントは読み込まれていません";
            TextOutW(dc, margin, margin, notLoaded.c_str(), int(notLoaded.size()));
        }
        for (const WaterfallLine& line : lines_) {
            const std::wstring label = SizeLabel(line.points);
            SelectObject(dc, labelFont);
            SetTextColor(dc, Blend(appState.fontColor, appState.backgroundColor));
            if (vertical) {
                // The label centred over its column; the text turned a quarter
                // clockwise, so the glyphs' tops face right.
                const int left = right - line.position - line.thickness, top = margin - scroll.y;
                SetTextAlign(dc, TA_CENTER | TA_TOP);
                TextOutW(dc, left + line.thickness / 2, top, label.c_str(), int(label.size()));
                SelectObject(dc, line.font.get());
                SetTextColor(dc, appState.fontColor);
                SetTextAlign(dc, TA_LEFT | TA_TOP);
                if (SetByHarfBuzz())
                    DrawGlyphLine(dc, runs_, true, line.outlines, {left + line.thickness / 2, top + labelHeight_ + gap});
                else
                    DrawFaceText(dc, left + (line.thickness + line.height) / 2, top + labelHeight_ + gap, text_, glyphs_);
            } else {
                // The label on the text's baseline.
                const int baseline = line.position - scroll.y + line.ascent, left = margin - scroll.x;
                SetTextAlign(dc, TA_LEFT | TA_BASELINE);
                TextOutW(dc, left, baseline, label.c_str(), int(label.size()));
                SelectObject(dc, line.font.get());
                SetTextColor(dc, appState.fontColor);
                if (SetByHarfBuzz())
                    DrawGlyphLine(dc, runs_, false, line.outlines, {left + Scaled(view_, kLabelWidth), baseline});
                else
                    DrawFaceText(dc, left + Scaled(view_, kLabelWidth), baseline, text_, glyphs_);
            }
        }
        SetTextAlign(dc, previousAlign);
        SelectObject(dc, previous);
    }

    LRESULT OnViewMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
        switch (message) {
            case WM_PAINT: {
                PAINTSTRUCT paint{};
                if (const HDC dc = BeginPaint(hwnd, &paint)) {
                    {
                        const PaintBuffer buffer(dc, paint.rcPaint);
                        Paint(buffer.dc(), paint.rcPaint, scroll_, CanvasWidth());
                    }
                    RECT client{};
                    GetClientRect(hwnd, &client);
                    if (GetFocus() == hwnd) DrawFocusRect(dc, &client);
                }
                EndPaint(hwnd, &paint);
                return 0;
            }
            case WM_SETFOCUS:
            case WM_KILLFOCUS: InvalidateRect(hwnd, nullptr, FALSE); return 0;
            case WM_PRINTCLIENT: {
                RECT client{};
                GetClientRect(hwnd, &client);
                Paint(reinterpret_cast<HDC>(wParam), client, scroll_, CanvasWidth());
                return 0;
            }
            case WM_ERASEBKGND: return 1;
            // Vertical lines hang from the right edge, so a new width moves every line.
            case WM_SIZE:
                UpdateScrollBars();
                InvalidateRect(hwnd, nullptr, FALSE);
                return 0;
            case WM_VSCROLL: Scroll(SB_VERT, LOWORD(wParam)); return 0;
            case WM_HSCROLL: Scroll(SB_HORZ, LOWORD(wParam)); return 0;
            case WM_MOUSEWHEEL:
                Scroll(Vertical() ? SB_HORZ : SB_VERT, GET_WHEEL_DELTA_WPARAM(wParam) > 0 ? SB_LINEUP : SB_LINEDOWN);
                return 0;
            case WM_LBUTTONDOWN: SetFocus(hwnd); return 0;
            case WM_GETDLGCODE: return DLGC_WANTARROWS;
            case WM_KEYDOWN: {
                const bool vertical = Vertical();
                const auto request = [&](WORD step) { Scroll(vertical ? SB_HORZ : SB_VERT, step); };
                if (wParam == VK_PRIOR || wParam == VK_NEXT) request(wParam == VK_PRIOR ? SB_PAGEUP : SB_PAGEDOWN);
                if (wParam == VK_HOME || wParam == VK_END) request(wParam == VK_HOME ? SB_TOP : SB_BOTTOM);
                if (wParam == VK_UP || wParam == VK_DOWN) Scroll(SB_VERT, wParam == VK_UP ? SB_LINEUP : SB_LINEDOWN);
                if (wParam == VK_LEFT || wParam == VK_RIGHT) Scroll(SB_HORZ, wParam == VK_LEFT ? SB_LINEUP : SB_LINEDOWN);
                return 0;
            }
        }
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }

    struct ViewTarget : MessageTarget {
        WaterfallPage* page;
        explicit ViewTarget(WaterfallPage* owner) : page(owner) {}
        LRESULT OnMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) override {
            return page->OnViewMessage(hwnd, message, wParam, lParam);
        }
    };

    std::wstring faceName_;
    std::wstring text_;
    bool listed_;
    ViewTarget viewTarget_{this};
    std::vector<WaterfallLine> lines_;
    std::optional<ShapingFace> shaping_;
    std::unique_ptr<InstanceControls> instance_;
    bool color_ = false;  // the face has colour glyphs
    std::vector<ShapedRun> runs_;  // the line set at the instance, when drawn from outlines
    FaceGlyphs glyphs_;
    HWND pane_ = nullptr, vertical_ = nullptr, view_ = nullptr;
    int labelHeight_ = 0;
    SIZE extent_{};  // the canvas all lines take, margins included
    POINT scroll_{};
};

}  // namespace

std::vector<std::uint32_t> DetailsPageSizes() { return WaterfallSizes(ListedSizes(), appState.pointSize); }

std::vector<std::uint32_t> WaterfallSizes(std::vector<std::uint32_t> listed, std::uint32_t current) {
    if (current > 0) listed.push_back(current);
    std::sort(listed.begin(), listed.end());
    listed.erase(std::unique(listed.begin(), listed.end()), listed.end());
    return listed;
}

std::unique_ptr<DetailsPage> CreateWaterfallPage(HWND dialog, DetailsFace& face, const RECT&) {
    return std::make_unique<WaterfallPage>(dialog, face);
}

}  // namespace tavrel
