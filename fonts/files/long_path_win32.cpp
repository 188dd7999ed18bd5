#include "long_path_win32.h"

#include <windows.h>

namespace tavrel {

namespace {

constexpr std::wstring_view kExtendedPrefix = L"\\\\?\\";
constexpr std::wstring_view kDevicePrefix = L"\\\\.\\";
constexpr std::wstring_view kUncPrefix = L"\\\\";

std::wstring FullPathOf(const wchar_t* path) {
    std::wstring full(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetFullPathNameW(path, static_cast<DWORD>(full.size()), full.data(), nullptr);
        if (length == 0) return path;
        if (length < full.size()) return full.substr(0, length);
        full.resize(length);  // the size asked for, terminator included
    }
}

}  // namespace

std::wstring ExtendedLengthForm(std::wstring_view fullPath) {
    if (fullPath.starts_with(kExtendedPrefix) || fullPath.starts_with(kDevicePrefix)) return std::wstring(fullPath);
    if (fullPath.starts_with(kUncPrefix)) return L"\\\\?\\UNC\\" + std::wstring(fullPath.substr(kUncPrefix.size()));
    return std::wstring(kExtendedPrefix) + std::wstring(fullPath);
}

std::wstring OpenablePath(const wchar_t* path) {
    const std::wstring_view given(path);
    if (given.starts_with(kExtendedPrefix) || given.starts_with(kDevicePrefix)) return std::wstring(given);
    // A short relative path may still name a long one.
    std::wstring full = FullPathOf(path);
    if (full.size() < MAX_PATH) return std::wstring(given);
    return ExtendedLengthForm(full);
}

}  // namespace tavrel
