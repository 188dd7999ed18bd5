#pragma once
// Paths of any length for CreateFileW: without the "\\?\" form Windows refuses
// a path of MAX_PATH characters or more, whatever the manifest says.

#include <string>
#include <string_view>

namespace tavrel {

// The extended-length form of an absolute path: "C:\a" is "\\?\C:\a",
// "\\server\share\a" is "\\?\UNC\server\share\a"; a path already in that form,
// or a device path ("\\.\"), is returned as it is.
std::wstring ExtendedLengthForm(std::wstring_view fullPath);

// `path` as given when its absolute form is short enough for CreateFileW;
// otherwise that absolute form (GetFullPathNameW, against the current folder)
// in the extended-length form, which itself takes no relative parts, ".." or "/".
std::wstring OpenablePath(const wchar_t* path);

}  // namespace tavrel
