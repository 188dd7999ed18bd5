// Every code of every character leads back, through the search box's reverse
// lookups, to a character with that same code; and what the box reads as a code.
#include <gtest/gtest.h>

#include "character_text.h"

namespace tavrel {
namespace {

// The codes a character has, as text, each empty when it has none.
std::vector<std::string> CodesOf(char32_t c) {
    const CharacterIdentity id = IdentifyCharacter(c);
    const auto bytes = [](const std::optional<std::uint16_t>& b) { return b ? BytesText(*b) : ""; };
    return {id.jisX0213 ? JisX0213Text(*id.jisX0213) : "", id.jisX0208 ? JisX0208Text(*id.jisX0208) : "",
            bytes(id.shiftJis2004), bytes(id.cp932), bytes(id.cid)};
}

TEST(CharacterIdentity, EveryCodeFindsACharacterWithThatCode) {
    std::size_t checked = 0;
    for (char32_t c = 0x20; c < 0x30000; ++c) {
        const CharacterIdentity id = IdentifyCharacter(c);
        const std::optional<char32_t> found[] = {
            id.jisX0213 ? CharacterAtJisX0213(*id.jisX0213) : std::nullopt,
            id.jisX0208 ? CharacterAtJisX0208(id.jisX0208->row, id.jisX0208->cell) : std::nullopt,
            id.shiftJis2004 ? CharacterOfShiftJis2004(*id.shiftJis2004) : std::nullopt,
            id.cp932 ? CharacterOfCp932(*id.cp932) : std::nullopt, id.cid ? CharacterOfCid(*id.cid) : std::nullopt};
        const std::vector<std::string> codes = CodesOf(c);
        for (std::size_t i = 0; i < codes.size(); ++i) {
            if (codes[i].empty()) continue;
            EXPECT_EQ(found[i] ? CodesOf(*found[i])[i] : "none", codes[i]) << std::hex << unsigned(c) << " code " << i;
            ++checked;
        }
    }
    EXPECT_GT(checked, 50000u);
}

TEST(CharacterIdentity, SearchBoxCodes) {
    const struct {
        std::u16string query;
        std::optional<char32_t> found;
    } cases[] = {
        {u"19-75", U'葛'}, {u"1-19-75", U'葛'}, {u"2-1-1", U'𠂉'}, {u"8A8B", U'葛'}, {u"0x8a8b", U'葛'}, {u"0x5C", U'¥'},
        {u"CID+7652", U'葛'}, {u"CID+1481", U'葛'}, {u"3-1-1", {}}, {u"1-95-1", {}}, {u"19-", {}}, {u"8A", {}},
        {u"8A8", {}}, {u"0x8A8B8", {}}, {u"CID+65536", {}}, {u"CID+", {}}, {u"-1-1", {}},
    };
    for (const auto& c : cases) {
        const auto query = ParseCodeQuery(c.query);
        const auto found = query ? FindCharacter(*query) : std::nullopt;
        EXPECT_EQ(found.value_or(0), c.found.value_or(0)) << std::string(c.query.begin(), c.query.end());
    }
    EXPECT_EQ(CharactersReading(u"カツ"), CharactersReading(u"かつ"));
    EXPECT_TRUE(CharactersReading(u"かつ").size() > 10 && CharactersReading(u"葛").empty());
}

}  // namespace
}  // namespace tavrel
