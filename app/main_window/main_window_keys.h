#pragma once
// The main window's keys beside its two accelerators, as Windows programs
// have them: Esc on an open drop-down list closes the list alone; F6 and
// Shift+F6 move between the sample and the toolbar, Tab and Shift+Tab through
// the toolbar; Shift+F10 and the Menu key open the popup menu at the caret.

#include <windows.h>

namespace tavrel {

// True for Esc while the list of the combo box that has the keys is open:
// the box closes it, and the accelerator that closes the window must not see it.
bool ClosesDroppedList(const MSG& message);

// Handles `message` when it is one of the keys above, bound for the main
// window or one of its controls; true when it did.
bool OnMainWindowKey(HWND hwndMain, const MSG& message);

// The popup menu at `screen`, or at the sample's caret for (-1, -1), as
// WM_CONTEXTMENU gives a point from the keyboard.
void ShowPopupMenuAt(HWND hwndMain, POINT screen);

}  // namespace tavrel
