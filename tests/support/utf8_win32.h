#pragma once
// UTF-8 and UTF-16 for the Windows test programs, which speak UTF-8 to the
// scripts that drive them.

#include <windows.h>

#include <string>

namespace tavrel::test {

inline std::wstring Utf16(const char* utf8) {
    const int units = MultiByteToWideChar(CP_UTF8, 0, utf8, -1, nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(units), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8, -1, wide.data(), units);
    wide.pop_back();
    return wide;
}

inline std::string Utf8(const std::wstring& text) {
    const int bytes = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string narrow(static_cast<std::size_t>(bytes), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, narrow.data(), bytes, nullptr, nullptr);
    narrow.pop_back();
    return narrow;
}

}  // namespace tavrel::test
