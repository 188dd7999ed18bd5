#include "settings_text.h"

namespace tavrel {

static std::wstring ReplaceAll(std::wstring_view text, std::wstring_view from, std::wstring_view to) {
    std::wstring result;
    std::size_t start = 0;
    for (std::size_t found; (found = text.find(from, start)) != text.npos; start = found + from.size()) {
        result.append(text.substr(start, found - start));
        result.append(to);
    }
    result.append(text.substr(start));
    return result;
}

std::wstring EscapeNewlines(std::wstring_view text) { return ReplaceAll(text, L"\r\n", L"\\n"); }

std::wstring UnescapeNewlines(std::wstring_view text) { return ReplaceAll(text, L"\\n", L"\n"); }

}  // namespace tavrel
