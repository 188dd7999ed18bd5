#pragma once

#include <filesystem>
#include <string>

#include "unicode_text.h"

namespace tavrel {

// Command-line arguments are held as UTF-8 on every system (the Windows build
// converts its wide arguments), so any Unicode path names its file.
inline std::filesystem::path PathFromUtf8(const std::string& text) {
    return std::filesystem::path(std::u8string(text.begin(), text.end()));
}

// A path as the commands print it: UTF-8 (on Linux the name's own bytes; on
// Windows a lone surrogate becomes U+FFFD).
inline std::string PathText(const std::filesystem::path& path) {
#ifdef _WIN32
    const std::wstring& wide = path.native();
    return ToUtf8(std::u16string(wide.begin(), wide.end()));
#else
    return path.native();
#endif
}

}  // namespace tavrel
