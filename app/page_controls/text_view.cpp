#include "text_view.h"

#include <windowsx.h>

#include <algorithm>
#include <iterator>

#include "dialog_dpi.h"
#include "scoped_handles.h"

namespace tavrel {

namespace {

constexpr wchar_t kTextViewClass[] = L"TavrelTextView";
constexpr UINT kFormat = DT_WORDBREAK | DT_NOPREFIX | DT_EDITCONTROL | DT_EXPANDTABS;
constexpr int kMargin = 3;

int LineHeight(HWND hwnd, HFONT font) {
    TEXTMETRICW metrics{};
    ScopedGetDC dc(hwnd);
    const ScopedSelectObject selected(dc.get(), font);
    GetTextMetricsW(dc.get(), &metrics);
    return std::max<int>(metrics.tmHeight, 1);
}

}  // namespace

TextView::TextView(HWND parent, HFONT font) : font_(font) {
    hwnd_ = CreateRoutedWindow(kTextViewClass, WS_VISIBLE | WS_TABSTOP | WS_VSCROLL, WS_EX_CLIENTEDGE, parent, this);
}

TextView::~TextView() {
    if (IsWindow(hwnd_)) DestroyWindow(hwnd_);
}

void TextView::SetText(std::wstring text) {
    text_ = std::move(text);
    top_ = 0;
    Reflow();
}

RECT TextView::TextArea() const {
    RECT area{};
    GetClientRect(hwnd_, &area);
    InflateRect(&area, -Scaled(hwnd_, kMargin), -Scaled(hwnd_, kMargin));
    return area;
}

// Measures the wrapped text at the view's width.
void TextView::Reflow() {
    RECT area = TextArea();
    {
        ScopedGetDC dc(hwnd_);
        const ScopedSelectObject selected(dc.get(), font_);
        DrawTextW(dc.get(), text_.c_str(), static_cast<int>(text_.size()), &area, kFormat | DT_CALCRECT);
    }
    height_ = text_.empty() ? 0 : static_cast<int>(area.bottom - area.top);
    ScrollTo(top_);
    InvalidateRect(hwnd_, nullptr, FALSE);
}

void TextView::ScrollTo(int top) {
    const RECT area = TextArea();
    const int page = std::max<int>(area.bottom - area.top, 1);
    top_ = std::clamp(top, 0, std::max(height_ - page, 0));
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    info.nMax = std::max(height_ - 1, 0);
    info.nPage = static_cast<UINT>(page);
    info.nPos = top_;
    SetScrollInfo(hwnd_, SB_VERT, &info, TRUE);
    InvalidateRect(hwnd_, nullptr, FALSE);
}

void TextView::OnKey(WPARAM key) {
    const RECT area = TextArea();
    const int line = LineHeight(hwnd_, font_), page = std::max<int>(area.bottom - area.top - line, line);
    switch (key) {
        case VK_UP: return ScrollTo(top_ - line);
        case VK_DOWN: return ScrollTo(top_ + line);
        case VK_PRIOR: return ScrollTo(top_ - page);
        case VK_NEXT: return ScrollTo(top_ + page);
        case VK_HOME: return ScrollTo(0);
        case VK_END: return ScrollTo(height_);
    }
}

void TextView::OnPaint() {
    PAINTSTRUCT paint{};
    const HDC dc = BeginPaint(hwnd_, &paint);
    RECT client{};
    GetClientRect(hwnd_, &client);
    FillRect(dc, &client, GetSysColorBrush(COLOR_WINDOW));
    RECT area = TextArea();
    const int clipBottom = area.bottom;
    OffsetRect(&area, 0, -top_);
    area.bottom = std::max<LONG>(area.bottom, area.top + height_);
    IntersectClipRect(dc, client.left, client.top + Scaled(hwnd_, kMargin), client.right, clipBottom);
    const ScopedSelectObject selected(dc, font_);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
    DrawTextW(dc, text_.c_str(), static_cast<int>(text_.size()), &area, kFormat);
    SelectClipRgn(dc, nullptr);
    if (GetFocus() == hwnd_) DrawFocusRect(dc, &client);
    EndPaint(hwnd_, &paint);
}

LRESULT TextView::OnMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_PAINT: OnPaint(); return 0;
        case WM_ERASEBKGND: return 1;
        case WM_SIZE: Reflow(); return 0;
        case WM_SETFONT:
            font_ = reinterpret_cast<HFONT>(wParam);
            Reflow();
            return 0;
        case WM_GETFONT: return reinterpret_cast<LRESULT>(font_);
        case WM_GETDLGCODE: return DLGC_WANTARROWS;
        case WM_KEYDOWN: OnKey(wParam); return 0;
        case WM_MOUSEWHEEL:
            ScrollTo(top_ - GET_WHEEL_DELTA_WPARAM(wParam) * 3 * LineHeight(hwnd, font_) / WHEEL_DELTA);
            return 0;
        case WM_VSCROLL: {
            // SB_LINEUP to SB_BOTTOM, as the keys that do the same.
            constexpr WPARAM kKeys[] = {VK_UP, VK_DOWN, VK_PRIOR, VK_NEXT, 0, 0, VK_HOME, VK_END};
            SCROLLINFO info{};
            info.cbSize = sizeof info;
            info.fMask = SIF_TRACKPOS;
            GetScrollInfo(hwnd, SB_VERT, &info);
            const WORD request = LOWORD(wParam);
            if (request == SB_THUMBTRACK || request == SB_THUMBPOSITION) ScrollTo(info.nTrackPos);
            else if (request < std::size(kKeys)) OnKey(kKeys[request]);
            return 0;
        }
        case WM_LBUTTONDOWN: SetFocus(hwnd); return 0;
        case WM_SETFOCUS:
        case WM_KILLFOCUS: InvalidateRect(hwnd, nullptr, FALSE); return 0;
    }
    return MessageTarget::OnMessage(hwnd, message, wParam, lParam);
}

}  // namespace tavrel
