#pragma once

#include <string>
#include <string_view>

namespace tavrel {

// Lone surrogates become U+FFFD: a face name is font data, not trusted text.
std::string ToUtf8(std::u16string_view text);

}  // namespace tavrel
