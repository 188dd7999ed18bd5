#include "code_point_text.h"

#include <cwchar>

namespace tavrel {

namespace {

constexpr char32_t kLastCodePoint = 0x10FFFF;

bool IsHigh(wchar_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
bool IsLow(wchar_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

std::optional<char32_t> ParseHex(std::wstring_view digits) {
    if (digits.size() < 4 || digits.size() > 6) return std::nullopt;
    char32_t value = 0;
    for (wchar_t c : digits) {
        const int digit = c >= L'0' && c <= L'9'   ? c - L'0'
                          : c >= L'a' && c <= L'f' ? c - L'a' + 10
                          : c >= L'A' && c <= L'F' ? c - L'A' + 10
                                                   : -1;
        if (digit < 0) return std::nullopt;
        value = value * 16 + static_cast<char32_t>(digit);
    }
    if (value > kLastCodePoint) return std::nullopt;
    return value;
}

}  // namespace

std::wstring Utf16Of(char32_t codePoint) {
    if (codePoint < 0x10000) return std::wstring(1, static_cast<wchar_t>(codePoint));
    const char32_t offset = codePoint - 0x10000;
    return {static_cast<wchar_t>(0xD800 + (offset >> 10)), static_cast<wchar_t>(0xDC00 + (offset & 0x3FF))};
}

std::wstring CodePointLabel(char32_t codePoint) {
    wchar_t label[16];
    std::swprintf(label, 16, L"U+%04X", static_cast<unsigned>(codePoint));
    return label;
}

std::optional<char32_t> ParseCodePointQuery(std::wstring_view query) {
    if (query.size() > 2 && (query[0] == L'U' || query[0] == L'u') && query[1] == L'+')
        return ParseHex(query.substr(2));
    if (query.size() == 1 && !IsHigh(query[0]) && !IsLow(query[0])) return static_cast<char32_t>(query[0]);
    if (query.size() == 2 && IsHigh(query[0]) && IsLow(query[1]))
        return 0x10000 + ((char32_t(query[0]) - 0xD800) << 10) + (char32_t(query[1]) - 0xDC00);
    return std::nullopt;
}

}  // namespace tavrel
