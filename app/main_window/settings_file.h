#pragma once
// The settings file: beside the executable, bearing its name with ".ini",
// section "SystemSetting". Read while the window is created, written once
// when it closes.

#include <windows.h>

#include <cstdint>
#include <string>

namespace tavrel {

// The restored rectangle as stored: position in workspace coordinates.
struct WindowRect {
    int x, y, width, height;
};

// The executable's path with its extension replaced by ".ini", or ".ini" appended.
std::wstring SettingsPathFor(const std::wstring& executablePath);

// Sets appState.iniPath for the running executable.
void LocateSettingsFile();

// Into appState.sampleText: at most 259 characters, escapes undone.
void ReadSampleText();
// The default for a negative size, kMaxPointSize for a larger one.
std::uint32_t ReadPointSize();
WindowRect ReadWindowRect();
COLORREF ReadFontColor();
COLORREF ReadBackgroundColor();

// The restored rectangle of `hwndMain`, the point size, the sample control's
// text and both colours, in that order. A new file is made UTF-16 first, so
// text outside the ANSI code page survives; an existing file keeps its encoding.
void WriteSettings(HWND hwndMain);

}  // namespace tavrel
