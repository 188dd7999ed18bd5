#pragma once
// The one process-wide record of the main window. Written only by the main
// window procedure, on the user-interface thread.

#include <windows.h>

#include <cstdint>
#include <string>

namespace tavrel {

constexpr int kTextUnits = 260;  // path and sample-text buffers, terminator included

struct AppState {
    HMODULE richEditModule;
    HWND hwndToolbar;
    HWND hwndMenuButton;
    HWND hwndFaceCombo;
    HWND hwndSizeCombo;
    HWND hwndBoldButton;
    HWND hwndItalicButton;
    HWND hwndFontColorButton;
    HWND hwndBackgroundColorButton;
    HWND hwndSample;
    HICON iconMenu;
    HICON iconBold;
    HICON iconItalic;
    HICON iconFontColor;
    HICON iconBackgroundColor;
    HMENU popupMenu;
    HMENU popupSubMenu;
    std::uint32_t pointSize;
    COLORREF fontColor;
    COLORREF backgroundColor;
    COLORREF customColors[16];
    std::wstring iniPath;  // any length: the executable's path may be long
    wchar_t sampleText[kTextUnits];
    int cyMenu;
    int cyEdge;
};

extern AppState appState;

}  // namespace tavrel
