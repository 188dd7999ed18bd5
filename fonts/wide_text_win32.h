#pragma once
// The core keeps UTF-16 text as char16_t, the Win32 API as wchar_t: on Windows
// both are the same 16-bit units, so a copy converts one to the other.

#include <string>
#include <string_view>

namespace tavrel {

static_assert(sizeof(wchar_t) == sizeof(char16_t), "wchar_t holds UTF-16 on Windows");

inline std::wstring ToWide(std::u16string_view text) { return std::wstring(text.begin(), text.end()); }
inline std::u16string ToU16(std::wstring_view text) { return std::u16string(text.begin(), text.end()); }

}  // namespace tavrel
