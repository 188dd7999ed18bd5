#include "logical_order.h"

#include <cstdint>

namespace tavrel {

namespace {

constexpr std::u16string_view kPunctuationOrder = u"'- !\"#$%&()*,./:;?@[\\]^_`{|}~+<=>";

bool IsDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

char16_t FoldCase(char16_t c) {
    const bool capital = (c >= u'A' && c <= u'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7) ||
                         (c >= 0x391 && c <= 0x3AB) || (c >= 0x410 && c <= 0x42F) || (c >= 0xFF21 && c <= 0xFF3A);
    if (capital) return static_cast<char16_t>(c + 0x20);
    if (c >= 0x400 && c <= 0x40F) return static_cast<char16_t>(c + 0x50);
    return c;
}

std::uint32_t Rank(char16_t c) {
    const std::size_t punctuation = kPunctuationOrder.find(c);
    if (punctuation != kPunctuationOrder.npos) return static_cast<std::uint32_t>(punctuation);
    return static_cast<std::uint32_t>(kPunctuationOrder.size()) + FoldCase(c);
}

// The digit run at text[at] without its leading zeros; `at` moves past the run.
std::u16string_view DigitRun(std::u16string_view text, std::size_t& at) {
    while (at + 1 < text.size() && text[at] == u'0' && IsDigit(text[at + 1])) ++at;
    const std::size_t start = at;
    while (at < text.size() && IsDigit(text[at])) ++at;
    return text.substr(start, at - start);
}

int Sign(auto difference) { return (difference > 0) - (difference < 0); }

}  // namespace

int CompareLogically(std::u16string_view a, std::u16string_view b) {
    std::size_t i = 0, j = 0;
    while (i < a.size() && j < b.size()) {
        const bool digitA = IsDigit(a[i]), digitB = IsDigit(b[j]);
        if (digitA != digitB) return digitA ? -1 : 1;
        if (digitA) {
            const std::u16string_view x = DigitRun(a, i), y = DigitRun(b, j);
            if (x.size() != y.size()) return x.size() < y.size() ? -1 : 1;
            if (const int order = Sign(x.compare(y))) return order;
            continue;
        }
        const std::uint32_t x = Rank(a[i++]), y = Rank(b[j++]);
        if (x != y) return x < y ? -1 : 1;
    }
    return int(i < a.size()) - int(j < b.size());
}

bool LogicallyBefore(std::u16string_view a, std::u16string_view b) {
    const int order = CompareLogically(a, b);
    return order != 0 ? order < 0 : a < b;
}

}  // namespace tavrel
