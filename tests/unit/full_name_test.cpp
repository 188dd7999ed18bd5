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

std::u16string Pick(const ByteVector& table) {
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
    ByteVector outside = N().Windows(kEnglish, u"Gone").Windows(kEnglish, u"Kept").Build();
    ByteVector counted = N().Windows(kEnglish, u"Only").Build();
    test::PutU16(outside, 6 + 12 * 1 + 10, 0xFFF0), test::PutU16(counted, 2, 0xFFFF);  // an offset, the count past the table
    const std::tuple<ByteVector, std::u16string, std::u16string> cases[] = {  // table, picked, whole
        {outside, u"Gone", u"Gone"}, {counted, u"Only", u"Only"}, {{0, 0, 0}, u"", u""},
        {N().Windows(kEnglish, u"Sans").Windows(kJapanese, u"ゴシック").Build(), u"ゴシック", u"ゴシック"},
        {N().Windows(kJapanese, u"ゴシック").Windows(kEnglish, u"Sans").Build(), u"ゴシック", u"ゴシック"},
        {N().Windows(kJapanese, u"一").Windows(kJapanese, u"二").Build(), u"一", u"一"},
        {N().Mac(0, "Roman").Windows(kEnglish, u"Win").Mac(11, "J1").Mac(11, "J2").Build(), u"J2", u"J2"},
        {N().Mac(0, "Roman").Windows(kEnglish, u"First").Windows(kEnglish, u"Second").Build(), u"Second", u"Second"},
        {N().Mac(0, "One").Mac(kEnglish, "Two").Build(), u"Two", u"Two"},
        {N().Mac(kJapanese, "J").Windows(kEnglish, u"W").Build(), u"J", u"J"},
        // An empty Japanese record ends the scan.
        {N().Windows(kEnglish, u"Before").Windows(kJapanese, u"").Windows(kEnglish, u"After").Mac(11, "J").Build(), u"Before", u"Before"},
        {N().Windows(kEnglish, u"Family", 1).Build(), u"", u""},
        {N().Windows(0x0407, u"German").Build(), u"", u""},
        {N().Windows(kEnglish, u"Symbol", 4, 0).Build(), u"Symbol", u"Symbol"},
        {N().Windows(kEnglish, u"Enc2", 4, 2).Build(), u"Enc2", u"Enc2"},
        {N().Windows(kEnglish, u"Enc3", 4, 3).Build(), u"", u""},
        {N().Mac(0, "MacEnc2", 4, 2).Build(), u"", u""},
        {N().Mac(1, "French").Build(), u"", u""},
        {N().Record({0, 3, 0, 4, test::Utf16BE(u"Unicode")}).Build(), u"", u""},
        {N().Record({2, 1, 0x0409, 4, test::Utf16BE(u"ISO")}).Build(), u"", u""},
        {N().Build(), u"", u""},
        // The face box's name ends at a line break or NUL and is cut to 259 units; the whole name is not.
        {N().Windows(kEnglish, u"Abcdef\r\nGhi").Build(), u"Abcdef", u"Abcdef\r\nGhi"},
        {N().Windows(kEnglish, std::u16string(u"Ab\0cd", 5)).Build(), u"Ab", std::u16string(u"Ab\0cd", 5)},
        {N().Mac(0, std::string("Mac\0Tail", 8)).Build(), u"Mac", std::u16string(u"Mac\0Tail", 8)},
        {N().Record({3, 1, kEnglish, 4, oddLength}).Build(), u"ABC", u"ABC"},
        {N().Windows(kEnglish, longName).Build(), std::u16string(259, u'x'), longName},
        {N().Mac(0, std::string(600, 'm')).Build(), std::u16string(259, u'm'), std::u16string(600, u'm')},
    };
    for (const auto& [names, picked, whole] : cases) {
        std::vector<std::string> problems;
        const auto read = ReadNames(names, problems);
        EXPECT_EQ(std::tuple(Pick(names), read.count(4) ? read.at(4) : u""), std::tuple(picked, whole));
    }
}

TEST(PickFullName, DecodesMacintoshRecordsInTheAnsiCodePage) {
    // 0xE9 is e-acute and 0x80 the euro sign in Windows-1252, the code page of
    // the Linux build and of a Western Windows system.
    const std::u16string name = Pick(NameTableBuilder().Record({1, 0, 0, 4, ByteVector{'C', 'a', 'f', 0xE9, 0x80}}).Build());
    ASSERT_EQ(name.size(), 5u);
    EXPECT_EQ(name.substr(0, 3), u"Caf");
}

}  // namespace
}  // namespace tavrel
