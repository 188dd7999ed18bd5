#pragma once
// Font files reaching the window: the command line, dropped files and the
// file dialog. The first face to reach an empty list is set on all text. A
// folder given on the command line or dropped is read as LoadFolder reads it.

#include <windows.h>
#include <shellapi.h>

namespace tavrel {

// Opens the first argument after the program path, whatever its length.
void OpenCommandLineFont(const wchar_t* commandLine);

// Opens every dropped file in drop order, then releases the drop; dropped
// folders are read after, in drop order.
void OpenDroppedFiles(HDROP drop);

void AddFontFileFromDialog(HWND hwnd);

}  // namespace tavrel
