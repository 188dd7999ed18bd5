#pragma once
// Which loader reads a file: decided by its extension alone, letter case ignored.

#include <string_view>

namespace tavrel {

enum class FontLoader { None, Collection, Sfnt, Woff, Woff2 };

// `path` may use '/' or '\\' between folders; only the file name's last
// extension counts, and a name without one picks no loader.
FontLoader ChooseLoader(std::u16string_view path);

}  // namespace tavrel
