#pragma once
// The main window's nine controls, created in order into AppState.

#include <windows.h>

namespace tavrel {

// The toolbar strip and its seven children: menu button, face and size
// combo boxes, bold, italic, text colour and background colour buttons; and
// the tips of the five buttons.
void CreateToolbarStrip(HWND hwndMain, HINSTANCE instance);

// The "RichEdit20W" sample, filling `client`; Riched20.dll must be loaded.
void CreateSample(HWND hwndMain, HINSTANCE instance, const RECT& client);

}  // namespace tavrel
