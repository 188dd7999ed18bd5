#pragma once
// The picture of the sample text, copied to the clipboard as a bitmap.

#include <windows.h>

#include <functional>

namespace tavrel {

// Puts the client area of `sample`, as it shows now, on the clipboard as a
// 32-bit CF_BITMAP and nothing else, opening the clipboard for `owner`. When
// the area is empty, a context or bitmap cannot be made, or the clipboard is
// held by another window, the clipboard keeps what it had.
void CaptureSampleToClipboard(HWND owner, HWND sample);

// Puts a `width` by `height` picture on the clipboard the same way: `paint`
// draws it into a 32-bit memory context and says whether it could. The
// clipboard keeps what it had in the same cases.
void CapturePaintingToClipboard(HWND owner, int width, int height, const std::function<bool(HDC)>& paint);

}  // namespace tavrel
