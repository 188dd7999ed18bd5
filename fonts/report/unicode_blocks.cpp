#include "unicode_blocks.h"

#include <algorithm>

namespace tavrel {

std::string_view UnicodeBlockName(char32_t codePoint) {
    const auto blocks = UnicodeBlocks();
    const auto after = std::upper_bound(blocks.begin(), blocks.end(), codePoint,
                                        [](char32_t c, const UnicodeBlock& block) { return c < block.first; });
    if (after == blocks.begin()) return {};
    const UnicodeBlock& block = *(after - 1);
    return codePoint <= block.last ? block.name : std::string_view{};
}

}  // namespace tavrel
