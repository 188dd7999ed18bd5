#pragma once
// The system's folder picker, for the menu's "フォルダ追加".

#include <windows.h>

#include <optional>
#include <string>

namespace tavrel {

// The folder chosen, or nothing when the picker is cancelled or cannot be shown.
std::optional<std::wstring> PickFolder(HWND hwnd);

}  // namespace tavrel
