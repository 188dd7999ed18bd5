#include "glyph_line_view.h"

#include <windowsx.h>

#include <algorithm>

#include "app_state.h"
#include "canvas_scroll.h"
#include "capture_sample.h"
#include "dialog_dpi.h"
#include "paint_buffer.h"

namespace tavrel {

namespace {

constexpr wchar_t kViewClass[] = L"TavrelGlyphLine";
constexpr int kMargin = 12;
constexpr int kScrollLine = 20;

}  // namespace

GlyphLineView::GlyphLineView(HWND parent) {
    hwnd_ = CreateRoutedWindow(kViewClass, WS_VISIBLE | WS_TABSTOP | WS_HSCROLL | WS_VSCROLL, WS_EX_CLIENTEDGE, parent,
                               this);
}

void GlyphLineView::Show(std::vector<ShapedRun> runs, bool down, const std::wstring& faceName, const ShapingFace& face,
                         int pixelsPerEm, bool fromOutlines) {
    runs_ = std::move(runs);
    down_ = down;
    fonts_ = CreateLineFonts(faceName, face, pixelsPerEm, fromOutlines);
    const int margin = Scaled(hwnd_, kMargin);
    const int length = LineLength(runs_, fonts_.scale) + 2 * margin;
    const int thickness = fonts_.ascent + fonts_.descent + 2 * margin;
    extent_ = down ? SIZE{thickness, length} : SIZE{length, thickness};
    UpdateScrollBars();
    InvalidateRect(hwnd_, nullptr, TRUE);
}

void GlyphLineView::Copy(HWND owner) const {
    CapturePaintingToClipboard(owner, extent_.cx, extent_.cy, [&](HDC dc) {
        Paint(dc, RECT{0, 0, extent_.cx, extent_.cy}, POINT{0, 0});
        return true;
    });
}

SIZE GlyphLineView::Client() const { return ClientSize(hwnd_); }

void GlyphLineView::UpdateScrollBars() { SetCanvasScrollBars(hwnd_, extent_, scroll_); }

void GlyphLineView::Scroll(int bar, WORD request) {
    ScrollCanvas(hwnd_, extent_, scroll_, bar, request, Scaled(hwnd_, kScrollLine));
}

// Across, the baseline under the top margin; down, the column against the
// right margin, as a vertical line begins on the right.
void GlyphLineView::Paint(HDC dc, const RECT& area, POINT corner) const {
    SetDCBrushColor(dc, appState.backgroundColor);
    FillRect(dc, &area, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
    if (runs_.empty()) return;
    SetTextColor(dc, appState.fontColor);
    const int margin = Scaled(hwnd_, kMargin);
    const POINT origin = down_ ? POINT{corner.x + extent_.cx - margin - (fonts_.ascent + fonts_.descent) / 2,
                                       corner.y + margin}
                               : POINT{corner.x + margin, corner.y + margin + fonts_.ascent};
    DrawGlyphLine(dc, runs_, down_, fonts_, origin);
}

LRESULT GlyphLineView::OnMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_PAINT: {
            PAINTSTRUCT paint{};
            const SIZE client = Client();
            // A line shorter than the view sits at its right edge when set down.
            const POINT corner{(down_ ? std::max<LONG>(client.cx - extent_.cx, 0) : 0) - scroll_.x, -scroll_.y};
            if (const HDC dc = BeginPaint(hwnd, &paint)) {
                {
                    const PaintBuffer buffer(dc, paint.rcPaint);
                    Paint(buffer.dc(), paint.rcPaint, corner);
                }
                const RECT whole{0, 0, client.cx, client.cy};
                if (GetFocus() == hwnd) DrawFocusRect(dc, &whole);
            }
            EndPaint(hwnd, &paint);
            return 0;
        }
        case WM_SETFOCUS:
        case WM_KILLFOCUS: InvalidateRect(hwnd, nullptr, FALSE); return 0;
        case WM_ERASEBKGND: return 1;
        case WM_SIZE: UpdateScrollBars(); InvalidateRect(hwnd, nullptr, TRUE); return 0;
        case WM_VSCROLL: Scroll(SB_VERT, LOWORD(wParam)); return 0;
        case WM_HSCROLL: Scroll(SB_HORZ, LOWORD(wParam)); return 0;
        case WM_MOUSEWHEEL:
            Scroll(down_ ? SB_VERT : SB_HORZ, GET_WHEEL_DELTA_WPARAM(wParam) > 0 ? SB_LINEUP : SB_LINEDOWN);
            return 0;
        case WM_LBUTTONDOWN: SetFocus(hwnd); return 0;
        case WM_GETDLGCODE: return DLGC_WANTARROWS;
        case WM_KEYDOWN: {
            const int along = down_ ? SB_VERT : SB_HORZ;
            if (wParam == VK_HOME || wParam == VK_END) Scroll(along, wParam == VK_HOME ? SB_TOP : SB_BOTTOM);
            if (wParam == VK_PRIOR || wParam == VK_NEXT) Scroll(along, wParam == VK_PRIOR ? SB_PAGEUP : SB_PAGEDOWN);
            if (wParam == VK_UP || wParam == VK_DOWN) Scroll(SB_VERT, wParam == VK_UP ? SB_LINEUP : SB_LINEDOWN);
            if (wParam == VK_LEFT || wParam == VK_RIGHT) Scroll(SB_HORZ, wParam == VK_LEFT ? SB_LINEUP : SB_LINEDOWN);
            return 0;
        }
    }
    return MessageTarget::OnMessage(hwnd, message, wParam, lParam);
}

}  // namespace tavrel
