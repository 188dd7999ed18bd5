#pragma once
// Font files reaching the window: the command line, dropped files and the
// file dialog. The first face to reach an empty list is set on all text.

#include <windows.h>
#include <shellapi.h>

namespace tavrel {

// Opens the first argument after the program path, whatever its length.
void OpenCommandLineFont(const wchar_t* commandLine);

// Opens every dropped file in drop order, then releases the drop.
void OpenDroppedFiles(HDROP drop);

void AddFontFileFromDialog(HWND hwnd);

}  // namespace tavrel
