#pragma once
// The program from start to end: the window class, the main window, the two
// accelerators and the message loop.

#include <windows.h>

namespace tavrel {

bool RegisterMainWindowClass(HINSTANCE instance);
HWND CreateMainWindow(HINSTANCE instance);

// Esc closes the window, Ctrl+C captures the sample.
HACCEL CreateAccelerators();

// What the loop does with a message before dispatching it: the details
// dialog's keys, the main window's own keys, then its accelerators, which
// leave Esc to a drop-down list that is open. True when it was taken.
bool TranslateAppMessage(HWND hwndMain, HACCEL accelerators, MSG& message);

// Dispatches what TranslateAppMessage leaves; ends on WM_QUIT, or on an
// error, with the last message's wParam.
int RunMessageLoop(HWND hwndMain, HACCEL accelerators);

// Everything WinMain does; 0 when there is no window to run.
int RunApplication(HINSTANCE instance, int showCommand);

}  // namespace tavrel
