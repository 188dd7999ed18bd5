#include <gtest/gtest.h>

#include "collection.h"
#include "font_builder.h"
#include "registration_invariants.h"

namespace tavrel {
namespace {

using test::ByteVector;
using test::F16;
using test::F32;
using test::MakeTag;
constexpr auto With = test::WithU32;

ByteVector CollectionOf(std::size_t count) {
    std::vector<std::vector<test::Table>> members;
    for (std::size_t i = 0; i < count; ++i)
        members.push_back(test::NamedFontTables(u"Member " + std::u16string(1, char16_t(u'A' + i))));
    return test::BuildCollection(members);
}

// A collection of one member whose `records` records all point at one table
// of `tableBytes` bytes.
ByteVector MemberRepeatingOneTable(std::uint32_t records, std::uint32_t tableBytes) {
    ByteVector collection = test::Pack({F32(MakeTag("ttcf")), F32(0x00010000), F32(1), F32(16), F32(0x00010000),
                                        F16(records), F16(0), F32(0)});
    const std::uint32_t table = 28 + 16 * records;
    for (std::uint32_t i = 0; i < records; ++i) {
        const ByteVector record = test::Pack({F32(MakeTag("abcd") + i), F32(0), F32(table), F32(tableBytes)});
        collection.insert(collection.end(), record.begin(), record.end());
    }
    collection.resize(table + tableBytes, 0x5A);
    return collection;
}

TEST(ExtractCollectionMember, WritesEachMemberAsAStandaloneImage) {
    const std::pair<ByteVector, std::uint32_t> collections[] = {  // the collection, its members
        {test::BuildCollection({{{MakeTag("abcd"), {1, 2, 3, 4, 5}, 0x12345678}}}), 1},
        {CollectionOf(3), 3},
        {MemberRepeatingOneTable(2, 16), 1},  // two records sharing a small table still fit the file's bytes
    };
    for (const auto& [collection, members] : collections) {
        for (std::uint32_t i = 0; i < members; ++i) {
            ByteVector member(ExtractCollectionMember(collection, i, true, {}));
            EXPECT_EQ(ExtractCollectionMember(collection, i, false, member), member.size());
            EXPECT_EQ(test::ExtractedMemberFault(collection, i, member), "") << "member " << i << " of " << members;
        }
    }
    const ByteVector one = CollectionOf(1);
    ByteVector shortOut(ExtractCollectionMember(one, 0, true, {}) - 1, 0xEE);
    EXPECT_EQ(ExtractCollectionMember(one, 0, false, shortOut), 0u);
    EXPECT_EQ(shortOut, ByteVector(shortOut.size(), 0xEE));
}

TEST(ExtractCollectionMember, MembersOutsideTheFileOrBeyondNumFontsAreAbsent) {
    const ByteVector two = CollectionOf(2);
    const ByteVector offsetPastEnd = With(two, 16, static_cast<std::uint32_t>(two.size() - 4));
    const ByteVector tablePastEnd = With(two, test::GetU32(two, 12) + 12 + 12, 0xFFFFFFF0);  // first record's length
    // 1000 records over one 40 KB table would make a 56 KB file ask for a 40 MB image.
    const ByteVector repeating = MemberRepeatingOneTable(1000, 40000);
    const std::tuple<ByteVector, std::uint32_t, bool> cases[] = {  // the collection, a member, whether it is there
        {two, 1, true}, {two, 2, false}, {two, 0xFFFFFFFF, false}, {test::BuildCollection({}), 0, false},
        {offsetPastEnd, 0, true}, {offsetPastEnd, 1, false}, {tablePastEnd, 0, false},
        {With(two, 8, 0xFFFFFFFF), 0, false}, {ByteVector{'t', 't', 'c', 'f', 0, 1}, 0, false}, {repeating, 0, false},
    };
    for (const auto& [collection, index, present] : cases)
        EXPECT_EQ(ExtractCollectionMember(collection, index, true, {}) != 0, present) << index << " of " << collection.size();
}

TEST(CheckCollectionLayout, RefusesMembersSharingOneHugeDirectory) {
    // Every member pointing at one directory of many records would make a
    // small file cost a walk over its records once per member.
    const std::uint32_t members = 2000, tables = 200;
    ByteVector shared = test::Pack({F32(MakeTag("ttcf")), F32(0x00010000), F32(members)});
    shared.resize(shared.size() + 4 * members);
    for (std::uint32_t i = 0; i < members; ++i) test::PutU32(shared, 12 + 4 * i, 12 + 4 * members);
    const ByteVector directory = test::Pack({F32(0x00010000), F16(tables)});
    shared.insert(shared.end(), directory.begin(), directory.end());
    shared.resize(shared.size() + 6 + 16 * tables, 0);
    EXPECT_FALSE(CheckCollectionLayout(shared));
    EXPECT_TRUE(CheckCollectionLayout(CollectionOf(12)));
}

}  // namespace
}  // namespace tavrel
