#pragma once
// The installed-font chooser: the system font dialog, trimmed to its face list.

#include <windows.h>

namespace tavrel {

// Lets the user pick a font installed on the machine, in a dialog owned by
// `hwndMain`, and lists its face beside the loaded ones. When nothing was
// listed before, the face is applied to all of the sample text.
void AddInstalledFont(HWND hwndMain);

// Leaves only the face list, its label and the OK and Cancel buttons of the
// dialog, and lets the dialog be tracked to any size up to 2048 pixels.
UINT_PTR CALLBACK ChooseFontHookProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace tavrel
