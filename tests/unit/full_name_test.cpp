#include <gtest/gtest.h>

#include "font_builder.h"
#include "full_name.h"

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

TEST(PickFullName, PrefersFirstWindowsJapaneseWhereverItStands) {
    EXPECT_EQ(Pick(NameTableBuilder().Windows(kEnglish, u"Sans").Windows(kJapanese, u"ゴシック")), u"ゴシック");
    EXPECT_EQ(Pick(NameTableBuilder().Windows(kJapanese, u"ゴシック").Windows(kEnglish, u"Sans")), u"ゴシック");
    EXPECT_EQ(Pick(NameTableBuilder().Windows(kJapanese, u"一").Windows(kJapanese, u"二")), u"一");
}

TEST(PickFullName, FallsBackToLastMacJapaneseThenWindowsEnglishThenMacEnglish) {
    EXPECT_EQ(Pick(NameTableBuilder().Mac(0, "Roman").Windows(kEnglish, u"Win").Mac(11, "J1").Mac(11, "J2")), u"J2");
    EXPECT_EQ(Pick(NameTableBuilder().Mac(0, "Roman").Windows(kEnglish, u"First").Windows(kEnglish, u"Second")),
              u"Second");
    EXPECT_EQ(Pick(NameTableBuilder().Mac(0, "One").Mac(kEnglish, "Two")), u"Two");
    EXPECT_EQ(Pick(NameTableBuilder().Mac(kJapanese, "J").Windows(kEnglish, u"W")), u"J");
}

TEST(PickFullName, EmptyJapaneseRecordEndsTheScan) {
    const auto names = NameTableBuilder()
                           .Windows(kEnglish, u"Before")
                           .Windows(kJapanese, u"")
                           .Windows(kEnglish, u"After")
                           .Mac(11, "AfterJ");
    EXPECT_EQ(Pick(names), u"Before");
}

TEST(PickFullName, AppliesPlatformLanguageEncodingAndNameIdFilters) {
    EXPECT_EQ(Pick(NameTableBuilder().Windows(kEnglish, u"Family", 1)), u"");
    EXPECT_EQ(Pick(NameTableBuilder().Windows(0x0407, u"German")), u"");
    EXPECT_EQ(Pick(NameTableBuilder().Windows(kEnglish, u"Symbol", 4, 0)), u"Symbol");
    EXPECT_EQ(Pick(NameTableBuilder().Windows(kEnglish, u"Enc2", 4, 2)), u"Enc2");
    EXPECT_EQ(Pick(NameTableBuilder().Windows(kEnglish, u"Enc3", 4, 3)), u"");
    EXPECT_EQ(Pick(NameTableBuilder().Windows(kEnglish, u"Enc10", 4, 10)), u"");
    EXPECT_EQ(Pick(NameTableBuilder().Mac(0, "MacEnc2", 4, 2)), u"");
    EXPECT_EQ(Pick(NameTableBuilder().Mac(1, "French")), u"");
    EXPECT_EQ(Pick(NameTableBuilder().Record({0, 3, 0, 4, test::Utf16BE(u"Unicode")})), u"");
    EXPECT_EQ(Pick(NameTableBuilder().Record({2, 1, 0x0409, 4, test::Utf16BE(u"ISO")})), u"");
    EXPECT_EQ(Pick(NameTableBuilder()), u"");
}

TEST(PickFullName, CutsAtLineBreakAndNul) {
    EXPECT_EQ(Pick(NameTableBuilder().Windows(kEnglish, u"Abcdef\r\nGhi")), u"Abcdef");
    EXPECT_EQ(Pick(NameTableBuilder().Windows(kEnglish, u"Ab\ncd")), u"Ab");
    EXPECT_EQ(Pick(NameTableBuilder().Windows(kEnglish, std::u16string(u"Ab\0cd", 5))), u"Ab");
    EXPECT_EQ(Pick(NameTableBuilder().Mac(0, std::string("Mac\0Tail", 8))), u"Mac");
}

TEST(PickFullName, IgnoresOddLastByteAndCapsLength) {
    ByteVector seven = test::Utf16BE(u"ABCD");
    seven.pop_back();
    EXPECT_EQ(Pick(NameTableBuilder().Record({3, 1, kEnglish, 4, seven})), u"ABC");

    const std::u16string longName(500, u'x');
    EXPECT_EQ(Pick(NameTableBuilder().Windows(kEnglish, longName)), std::u16string(259, u'x'));
    EXPECT_EQ(Pick(NameTableBuilder().Mac(0, std::string(600, 'm'))), std::u16string(259, u'm'));
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

TEST(ReadFullName, AcceptsTrueTypeAndCffOnly) {
    const auto names = NameTableBuilder().Windows(kEnglish, u"Face");
    for (std::uint32_t version : {0x00010000u, 0x4F54544Fu}) {
        std::u16string name;
        EXPECT_TRUE(ReadFullName(name, test::BuildNamedFont(names, version), 0));
        EXPECT_EQ(name, u"Face");
    }
    std::u16string untouched = u"kept";
    EXPECT_FALSE(ReadFullName(untouched, test::BuildNamedFont(names, test::MakeTag("true")), 0));
    EXPECT_EQ(untouched, u"kept");
    EXPECT_FALSE(ReadFullName(untouched, ByteVector{0, 1, 0}, 0));
}

TEST(ReadFullName, UsesOnlyTheFirstNameTableAndToleratesNone) {
    const ByteVector first = NameTableBuilder().Windows(kEnglish, u"First").Build();
    const ByteVector second = NameTableBuilder().Windows(kEnglish, u"Second").Build();
    std::u16string name;
    ReadFullName(name, test::BuildSfnt({{test::MakeTag("name"), first}, {test::MakeTag("name"), second}}), 0);
    EXPECT_EQ(name, u"First");

    std::u16string none = u"";
    EXPECT_TRUE(ReadFullName(none, test::BuildSfnt({{test::MakeTag("head"), ByteVector(54)}}), 0));
    EXPECT_EQ(none, u"");
}

TEST(ReadFullName, NameTableOutsideTheImageGivesNoName) {
    ByteVector font = test::BuildFontNamed(u"Face");
    test::PutU32(font, 12 + 16 * 3 + 8, 0x7FFFFFF0);  // the 'name' record's offset
    std::u16string name;
    EXPECT_TRUE(ReadFullName(name, font, 0));
    EXPECT_EQ(name, u"");
}

}  // namespace
}  // namespace tavrel
