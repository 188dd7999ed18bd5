#pragma once
// Text copied to the clipboard.

#include <windows.h>

#include <string_view>

namespace tavrel {

// Replaces the clipboard's contents with `text` as CF_UNICODETEXT, opening the
// clipboard for `owner`. False, and the clipboard as it was, when the memory
// cannot be had or another window holds the clipboard.
bool CopyTextToClipboard(HWND owner, std::wstring_view text);

}  // namespace tavrel
