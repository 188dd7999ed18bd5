#pragma once
// A view showing part of a canvas that may be larger than it: the scroll
// bars set from the two sizes, and the scroll bars' requests carried out.

#include <windows.h>

namespace tavrel {

// The view's client area.
SIZE ClientSize(HWND view);

// Keeps `scroll` (the canvas's point at the view's corner) within the canvas
// and sets both scroll bars to match.
void SetCanvasScrollBars(HWND view, SIZE canvas, POINT& scroll);

// Moves `scroll` as a scroll bar's request asks, `line` pixels a line, then
// sets the bars and repaints; a request it does not know changes nothing.
void ScrollCanvas(HWND view, SIZE canvas, POINT& scroll, int bar, WORD request, int line);

}  // namespace tavrel
