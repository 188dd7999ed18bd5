#pragma once
// A code point as the character grid writes and reads it.

#include <optional>
#include <string>
#include <string_view>

namespace tavrel {

// The character in UTF-16: one unit, or a surrogate pair above U+FFFF.
std::wstring Utf16Of(char32_t codePoint);

// "U+0041", "U+1F600": four to six upper-case hex digits.
std::wstring CodePointLabel(char32_t codePoint);

// What a search box holds once it is complete: one character, or "U+" (either
// case) and four to six hex digits up to U+10FFFF, as code points are written.
// Nothing for anything else, so "U+4E0" on the way to "U+4E00" finds nothing.
std::optional<char32_t> ParseCodePointQuery(std::wstring_view query);

}  // namespace tavrel
