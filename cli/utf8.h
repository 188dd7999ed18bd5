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

}  // namespace tavrel
