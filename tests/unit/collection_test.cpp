#include <gtest/gtest.h>

#include "collection.h"
#include "font_builder.h"
#include "full_name.h"

namespace tavrel {
namespace {

using test::ByteVector;
using test::MakeTag;

ByteVector CollectionOf(std::size_t count) {
    std::vector<std::vector<test::Table>> members;
    for (std::size_t i = 0; i < count; ++i)
        members.push_back(test::NamedFontTables(u"Member " + std::u16string(1, char16_t(u'A' + i))));
    return test::BuildCollection(members);
}

ByteVector Extract(const ByteVector& collection, std::uint32_t index) {
    ByteVector out(ExtractCollectionMember(collection, index, true, {}));
    EXPECT_EQ(ExtractCollectionMember(collection, index, false, out), out.size());
    return out;
}

TEST(ExtractCollectionMember, LaysOutAOneTableMember) {
    const ByteVector collection = test::BuildCollection({{{MakeTag("abcd"), {1, 2, 3, 4, 5}, 0x12345678}}});
    EXPECT_EQ(ExtractCollectionMember(collection, 0, true, {}), 36u);
    const ByteVector member = Extract(collection, 0);
    ASSERT_EQ(member.size(), 36u);
    const ByteVector expectedTail{1, 2, 3, 4, 5, 0, 0, 0};
    EXPECT_EQ(ByteVector(member.begin() + 28, member.end()), expectedTail);
    std::uint32_t offset = 0, checksum = 0;
    ReadU32BE(member, 12 + 8, offset);
    ReadU32BE(member, 12 + 4, checksum);
    EXPECT_EQ(offset, 28u);
    EXPECT_EQ(checksum, 0x12345678u);
}

TEST(ExtractCollectionMember, CountsMembersUpToNumFonts) {
    const ByteVector three = CollectionOf(3);
    for (std::uint32_t i = 0; i < 3; ++i) {
        std::u16string name;
        ReadFullName(name, Extract(three, i), 0);
        EXPECT_EQ(name, u"Member " + std::u16string(1, char16_t(u'A' + i)));
    }
    EXPECT_EQ(ExtractCollectionMember(three, 3, true, {}), 0u);
    EXPECT_EQ(ExtractCollectionMember(three, 0xFFFFFFFF, true, {}), 0u);
    EXPECT_EQ(ExtractCollectionMember(test::BuildCollection({}), 0, true, {}), 0u);
}

TEST(ExtractCollectionMember, RefusesAnOutputTooSmall) {
    const ByteVector collection = CollectionOf(1);
    ByteVector out(ExtractCollectionMember(collection, 0, true, {}) - 1, 0xEE);
    EXPECT_EQ(ExtractCollectionMember(collection, 0, false, out), 0u);
    EXPECT_EQ(out, ByteVector(out.size(), 0xEE));
}

TEST(ExtractCollectionMember, MemberOutsideTheFileIsAbsent) {
    ByteVector offsetPastEnd = CollectionOf(2);
    test::PutU32(offsetPastEnd, 16, static_cast<std::uint32_t>(offsetPastEnd.size() - 4));
    EXPECT_NE(ExtractCollectionMember(offsetPastEnd, 0, true, {}), 0u);
    EXPECT_EQ(ExtractCollectionMember(offsetPastEnd, 1, true, {}), 0u);

    ByteVector tablePastEnd = CollectionOf(1);
    std::uint32_t directory = 0;
    ReadU32BE(tablePastEnd, 12, directory);
    test::PutU32(tablePastEnd, directory + 12 + 12, 0xFFFFFFF0);  // first record's length
    EXPECT_EQ(ExtractCollectionMember(tablePastEnd, 0, true, {}), 0u);
    EXPECT_FALSE(CheckCollectionLayout(tablePastEnd));

    ByteVector numFontsHuge = CollectionOf(1);
    test::PutU32(numFontsHuge, 8, 0xFFFFFFFF);
    EXPECT_EQ(ExtractCollectionMember(numFontsHuge, 0, true, {}), 0u);
    EXPECT_EQ(ExtractCollectionMember(ByteVector{'t', 't', 'c', 'f', 0, 1}, 0, true, {}), 0u);
}

// A collection of one member whose `records` records all point at one table
// of `tableBytes` bytes.
ByteVector MemberRepeatingOneTable(std::uint32_t records, std::uint32_t tableBytes) {
    ByteVector collection = test::Ascii("ttcf");
    test::AppendU32(collection, 0x00010000);
    test::AppendU32(collection, 1);
    test::AppendU32(collection, 16);
    test::AppendU32(collection, 0x00010000);
    test::AppendU16(collection, static_cast<std::uint16_t>(records));
    test::AppendU16(collection, 0);
    test::AppendU32(collection, 0);
    const std::uint32_t table = 28 + 16 * records;
    for (std::uint32_t i = 0; i < records; ++i) {
        for (std::uint32_t field : {MakeTag("abcd") + i, 0u, table, tableBytes}) test::AppendU32(collection, field);
    }
    collection.resize(table + tableBytes, 0x5A);
    return collection;
}

TEST(ExtractCollectionMember, MemberNeedingMoreBytesThanTheFileHoldsIsAbsent) {
    // 1000 records over one 40 KB table would make a 56 KB file ask for a 40 MB image.
    const ByteVector repeating = MemberRepeatingOneTable(1000, 40000);
    EXPECT_EQ(ExtractCollectionMember(repeating, 0, true, {}), 0u);
    EXPECT_FALSE(CheckCollectionLayout(repeating));
    // Two records sharing a small table still fit the file's bytes.
    const ByteVector sharing = MemberRepeatingOneTable(2, 16);
    EXPECT_EQ(ExtractCollectionMember(sharing, 0, true, {}), 12u + 2 * 16 + 2 * 16);
}

TEST(CheckCollectionLayout, RefusesMembersSharingOneHugeDirectory) {
    // Every member pointing at one directory of many records would make a
    // small file cost a walk over its records once per member.
    ByteVector collection = test::Ascii("ttcf");
    test::AppendU32(collection, 0x00010000);
    const std::uint32_t members = 2000, tables = 200;
    test::AppendU32(collection, members);
    const std::uint32_t directory = 12 + 4 * members;
    for (std::uint32_t i = 0; i < members; ++i) test::AppendU32(collection, directory);
    test::AppendU32(collection, 0x00010000);
    test::AppendU16(collection, tables);
    collection.resize(collection.size() + 6 + 16 * tables, 0);
    EXPECT_FALSE(CheckCollectionLayout(collection));
    EXPECT_TRUE(CheckCollectionLayout(CollectionOf(12)));
}

}  // namespace
}  // namespace tavrel
