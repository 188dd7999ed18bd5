#pragma once
// The picture of the sample text, copied to the clipboard as a bitmap.

#include <windows.h>

namespace tavrel {

// Puts the client area of `sample`, as it shows now, on the clipboard as a
// 32-bit CF_BITMAP and nothing else, opening the clipboard for `owner`. When
// the area is empty, a context or bitmap cannot be made, or the clipboard is
// held by another window, the clipboard keeps what it had.
void CaptureSampleToClipboard(HWND owner, HWND sample);

}  // namespace tavrel
