#pragma once
// The Unicode block a character belongs to, from Blocks.txt at build time.

#include <span>
#include <string_view>

namespace tavrel {

struct UnicodeBlock {
    char32_t first, last;
    std::string_view name;
};

// Every block, ascending.
std::span<const UnicodeBlock> UnicodeBlocks();

// "CJK Unified Ideographs"; empty outside every block.
std::string_view UnicodeBlockName(char32_t codePoint);

}  // namespace tavrel
