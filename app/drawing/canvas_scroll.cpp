#include "canvas_scroll.h"

#include <algorithm>
#include <tuple>

namespace tavrel {

SIZE ClientSize(HWND view) {
    RECT client{};
    GetClientRect(view, &client);
    return {client.right, client.bottom};
}

void SetCanvasScrollBars(HWND view, SIZE canvas, POINT& scroll) {
    const SIZE client = ClientSize(view);
    scroll.x = std::clamp<LONG>(scroll.x, 0, std::max<LONG>(canvas.cx - client.cx, 0));
    scroll.y = std::clamp<LONG>(scroll.y, 0, std::max<LONG>(canvas.cy - client.cy, 0));
    for (const auto& [bar, range, page, position] :
         {std::tuple{SB_HORZ, canvas.cx, client.cx, scroll.x}, std::tuple{SB_VERT, canvas.cy, client.cy, scroll.y}}) {
        SCROLLINFO info{};
        info.cbSize = sizeof info;
        info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
        info.nMax = range - 1;
        info.nPage = UINT(std::max<LONG>(page, 0));
        info.nPos = position;
        SetScrollInfo(view, bar, &info, TRUE);
    }
}

void ScrollCanvas(HWND view, SIZE canvas, POINT& scroll, int bar, WORD request, int line) {
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_ALL;
    GetScrollInfo(view, bar, &info);
    LONG& at = bar == SB_HORZ ? scroll.x : scroll.y;
    switch (request) {
        case SB_LINEUP: at -= line; break;
        case SB_LINEDOWN: at += line; break;
        case SB_PAGEUP: at -= LONG(info.nPage); break;
        case SB_PAGEDOWN: at += LONG(info.nPage); break;
        case SB_TOP: at = 0; break;
        case SB_BOTTOM: at = info.nMax; break;
        case SB_THUMBTRACK:
        case SB_THUMBPOSITION: at = info.nTrackPos; break;
        default: return;
    }
    SetCanvasScrollBars(view, canvas, scroll);
    InvalidateRect(view, nullptr, TRUE);
}

}  // namespace tavrel
