#include "char_search.h"

#include <algorithm>

#include "character_text.h"
#include "code_point_text.h"

namespace tavrel {

namespace {

bool IsKana(wchar_t c) { return (c >= 0x3041 && c <= 0x3096) || (c >= 0x30A1 && c <= 0x30F6); }

}  // namespace

CharacterSearch SearchCharacters(std::wstring_view query) {
    if (const auto single = ParseCodePointQuery(query)) return {{*single}};
    const std::u16string text(query.begin(), query.end());
    if (!text.empty() && std::all_of(query.begin(), query.end(), IsKana)) return {CharactersReading(text), true};
    if (const auto code = ParseCodeQuery(text))
        if (const auto found = FindCharacter(*code)) return {{*found}};
    return {};
}

}  // namespace tavrel
