#pragma once
// The library window ("書体一覧"): every face of the loaded list (and, when
// asked, of the installed fonts' files) in a list whose first column is a
// line drawn in that face, filtered by name, by the line's characters and by
// what the faces have. Modeless, owned by the main window, one at a time;
// it keeps its place and size for the run.

#include <windows.h>

namespace tavrel {

// Opens the window, or brings it forward.
void ShowLibraryWindow(HWND hwndMain);

void CloseLibraryWindow();

// The open window, or null.
HWND LibraryWindowHandle();

// The open window's keys, before the main window's accelerators: Enter makes
// the focused face the sample's, Ctrl+C copies the selected rows, Ctrl with
// plus, minus or the wheel changes the rows' size, Shift+F10 and the Menu key
// open the rows' menu; then the dialog manager's: Tab goes round the
// controls, Esc closes (an open drop-down list first). True when `message`
// was taken.
bool TranslateLibraryWindowMessage(MSG& message);

}  // namespace tavrel
