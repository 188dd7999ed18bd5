#pragma once
// Everything the main window does in answer to WM_COMMAND: the toolbar
// controls, the popup menu and the two accelerators.

#include <windows.h>

#include "formatting.h"

namespace tavrel {

LRESULT OnCommand(HWND hwnd, WPARAM wParam, LPARAM lParam);

}  // namespace tavrel
