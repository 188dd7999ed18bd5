// Every code of every character leads back, through the search box's reverse
// lookups, to a character with that same code; and what the box reads as a code.
#include <gtest/gtest.h>

#include "character_text.h"

namespace tavrel {
namespace {

TEST(CharacterIdentity, EveryCodeFindsACharacterWithThatCode) {
    const auto place = [](const std::optional<JisPosition>& p) { return p ? JisX0213Text(*p) : ""; };
    const auto row = [](const std::optional<JisX0208Position>& p) { return p ? JisX0208Text(*p) : ""; };
    std::size_t checked = 0;
    for (char32_t c = 0x20; c < 0x30000; ++c) {
        const CharacterIdentity id = IdentifyCharacter(c);
        if (id.jisX0213) EXPECT_EQ(place(IdentifyCharacter(CharacterAtJisX0213(*id.jisX0213).value_or(0)).jisX0213), place(id.jisX0213)) << std::hex << c;
        if (id.jisX0208)
            EXPECT_EQ(row(IdentifyCharacter(CharacterAtJisX0208(id.jisX0208->row, id.jisX0208->cell).value_or(0)).jisX0208), row(id.jisX0208)) << std::hex << c;
        if (id.shiftJis2004) EXPECT_EQ(IdentifyCharacter(CharacterOfShiftJis2004(*id.shiftJis2004).value_or(0)).shiftJis2004, id.shiftJis2004) << std::hex << c;
        if (id.cp932) EXPECT_EQ(IdentifyCharacter(CharacterOfCp932(*id.cp932).value_or(0)).cp932, id.cp932) << std::hex << c;
        if (id.cid) EXPECT_EQ(IdentifyCharacter(CharacterOfCid(*id.cid).value_or(0)).cid, id.cid) << std::hex << c;
        checked += id.jisX0213.has_value();
    }
    EXPECT_GT(checked, 11000u);
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
        EXPECT_EQ(query ? FindCharacter(*query) : std::nullopt, c.found) << std::string(c.query.begin(), c.query.end());
    }
    EXPECT_EQ(CharactersReading(u"カツ"), CharactersReading(u"かつ"));
    EXPECT_TRUE(CharactersReading(u"かつ").size() > 10 && CharactersReading(u"葛").empty());
}

}  // namespace
}  // namespace tavrel
