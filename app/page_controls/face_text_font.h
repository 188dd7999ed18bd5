#pragma once
// The face at the size of the dialog's text, for the controls that show text
// in it (the 文字 page's search box and line, the 組版 page's text box).

#include <windows.h>

#include <string>

namespace tavrel {

// Null when GDI gives the face far more height than the dialog's font at
// that size: a colour-bitmap face whose strikes it cannot scale (Noto Color
// Emoji is 130 pixels tall at any size). Such a control keeps the dialog's
// font, and every control keeps the dialog font's height.
HFONT CreateFaceTextFont(HWND dialog, const std::wstring& faceName);

}  // namespace tavrel
