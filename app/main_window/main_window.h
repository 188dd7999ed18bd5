#pragma once
// The main window procedure: one short handler per message.

#include <windows.h>

namespace tavrel {

constexpr wchar_t kWindowClass[] = L"tavrel";

LRESULT CALLBACK MainWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace tavrel
