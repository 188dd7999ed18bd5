#include <gtest/gtest.h>

#include <tuple>

#include "font_builder.h"
#include "full_name.h"
#include "name_table.h"

namespace tavrel {
namespace {

using test::ByteVector;
using test::NameTableBuilder;

constexpr std::uint16_t kEnglish = 0x0409, kJapanese = 0x0411;

std::u16string Pick(const NameTableBuilder& names) {
    const ByteVector table = names.Build();
    std::u16string name = u"stale";
    PickFullName(name, table);
    return name;
}

// The face box's full name and the whole name the details show come from the same record.
TEST(PickFullName, PrefersWindowsJapaneseThenLastMacJapaneseWindowsEnglishMacEnglish) {
    using N = NameTableBuilder;
    const std::u16string longName(500, u'x');
    ByteVector oddLength = test::Utf16BE(u"ABCD");
    oddLength.pop_back();
    const std::tuple<NameTableBuilder, std::u16string, std::u16string> cases[] = {  // names, picked, whole
        {N().Windows(kEnglish, u"Sans").Windows(kJapanese, u"ゴシック"), u"ゴシック", u"ゴシック"},
        {N().Windows(kJapanese, u"ゴシック").Windows(kEnglish, u"Sans"), u"ゴシック", u"ゴシック"},
        {N().Windows(kJapanese, u"一").Windows(kJapanese, u"二"), u"一", u"一"},
        {N().Mac(0, "Roman").Windows(kEnglish, u"Win").Mac(11, "J1").Mac(11, "J2"), u"J2", u"J2"},
        {N().Mac(0, "Roman").Windows(kEnglish, u"First").Windows(kEnglish, u"Second"), u"Second", u"Second"},
        {N().Mac(0, "One").Mac(kEnglish, "Two"), u"Two", u"Two"},
        {N().Mac(kJapanese, "J").Windows(kEnglish, u"W"), u"J", u"J"},
        // An empty Japanese record ends the scan.
        {N().Windows(kEnglish, u"Before").Windows(kJapanese, u"").Windows(kEnglish, u"After").Mac(11, "J"), u"Before", u"Before"},
        {N().Windows(kEnglish, u"Family", 1), u"", u""},
        {N().Windows(0x0407, u"German"), u"", u""},
        {N().Windows(kEnglish, u"Symbol", 4, 0), u"Symbol", u"Symbol"},
        {N().Windows(kEnglish, u"Enc2", 4, 2), u"Enc2", u"Enc2"},
        {N().Windows(kEnglish, u"Enc3", 4, 3), u"", u""},
        {N().Mac(0, "MacEnc2", 4, 2), u"", u""},
        {N().Mac(1, "French"), u"", u""},
        {N().Record({0, 3, 0, 4, test::Utf16BE(u"Unicode")}), u"", u""},
        {N().Record({2, 1, 0x0409, 4, test::Utf16BE(u"ISO")}), u"", u""},
        {N(), u"", u""},
        // The face box's name ends at a line break or NUL and is cut to 259 units; the whole name is not.
        {N().Windows(kEnglish, u"Abcdef\r\nGhi"), u"Abcdef", u"Abcdef\r\nGhi"},
        {N().Windows(kEnglish, std::u16string(u"Ab\0cd", 5)), u"Ab", std::u16string(u"Ab\0cd", 5)},
        {N().Mac(0, std::string("Mac\0Tail", 8)), u"Mac", std::u16string(u"Mac\0Tail", 8)},
        {N().Record({3, 1, kEnglish, 4, oddLength}), u"ABC", u"ABC"},
        {N().Windows(kEnglish, longName), std::u16string(259, u'x'), longName},
        {N().Mac(0, std::string(600, 'm')), std::u16string(259, u'm'), std::u16string(600, u'm')},
    };
    for (const auto& [names, picked, whole] : cases) {
        std::vector<std::string> problems;
        const auto read = ReadNames(names.Build(), problems);
        EXPECT_EQ(std::tuple(Pick(names), read.count(4) ? read.at(4) : u""), std::tuple(picked, whole));
    }
}

TEST(PickFullName, DecodesMacintoshRecordsInTheAnsiCodePage) {
    // 0xE9 is e-acute and 0x80 the euro sign in Windows-1252, the code page of
    // the Linux build and of a Western Windows system.
    const auto names = NameTableBuilder().Record({1, 0, 0, 4, ByteVector{'C', 'a', 'f', 0xE9, 0x80}});
    const std::u16string name = Pick(names);
    ASSERT_EQ(name.size(), 5u);
    EXPECT_EQ(name.substr(0, 3), u"Caf");
}

TEST(PickFullName, SkipsRecordsOutsideTheTable) {
    ByteVector table = NameTableBuilder().Windows(kEnglish, u"Gone").Windows(kEnglish, u"Kept").Build();
    test::PutU16(table, 6 + 12 * 1 + 10, 0xFFF0);  // second record's offset far past the end
    std::u16string name;
    PickFullName(name, table);
    EXPECT_EQ(name, u"Gone");

    ByteVector counted = NameTableBuilder().Windows(kEnglish, u"Only").Build();
    test::PutU16(counted, 2, 0xFFFF);  // count far beyond the records present
    PickFullName(name, counted);
    EXPECT_EQ(name, u"Only");

    PickFullName(name, ByteVector{0, 0, 0});
    EXPECT_EQ(name, u"");
}

TEST(ReadFullName, ReadsTheFirstNameTableOfTrueTypeAndCffFacesOnly) {
    const auto names = NameTableBuilder().Windows(kEnglish, u"Face");
    const ByteVector first = names.Build(), second = NameTableBuilder().Windows(kEnglish, u"Second").Build();
    ByteVector outside = test::BuildFontNamed(u"Face");
    test::PutU32(outside, 12 + 16 * 3 + 8, 0x7FFFFFF0);  // the 'name' record's offset
    const std::tuple<ByteVector, bool, std::u16string> cases[] = {  // font, read, name
        {test::BuildNamedFont(names, 0x00010000), true, u"Face"},
        {test::BuildNamedFont(names, test::MakeTag("OTTO")), true, u"Face"},
        {test::BuildNamedFont(names, test::MakeTag("true")), false, u"kept"},
        {ByteVector{0, 1, 0}, false, u"kept"},
        {test::BuildSfnt({{test::MakeTag("name"), first}, {test::MakeTag("name"), second}}), true, u"Face"},
        {test::BuildSfnt({{test::MakeTag("head"), ByteVector(54)}}), true, u"kept"},  // nothing to read: untouched
        {outside, true, u"kept"},
    };
    for (const auto& [font, read, expected] : cases) {
        std::u16string name = u"kept";
        EXPECT_EQ(ReadFullName(name, font, 0), read);
        EXPECT_EQ(name, expected);
    }
}

}  // namespace
}  // namespace tavrel
