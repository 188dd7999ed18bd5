#pragma once
// UTF-8 and UTF-16 conversions for text taken from fonts and from the user.
// Neither is trusted: a lone surrogate or a broken UTF-8 sequence becomes
// U+FFFD, so what comes out is always well formed.

#include <string>
#include <string_view>

namespace tavrel {

void AppendUtf8(std::string& out, char32_t c);
std::string ToUtf8(std::u16string_view text);
std::u16string Utf16FromUtf8(std::string_view text);
// `text` with every broken sequence replaced by U+FFFD.
std::string ValidUtf8(std::string_view text);

// Decodes the sequence at `text[i]` and moves `i` past it; a byte that starts
// no valid sequence gives U+FFFD and moves `i` by one.
char32_t NextUtf8(std::string_view text, std::size_t& i);

}  // namespace tavrel
