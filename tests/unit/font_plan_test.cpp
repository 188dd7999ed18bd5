#include <gtest/gtest.h>

#include "font_builder.h"
#include "font_plan.h"

namespace tavrel {
namespace {

using test::ByteVector;
using Names = std::vector<std::u16string>;

ByteVector CollectionNamed(const Names& names) {
    std::vector<std::vector<test::Table>> members;
    for (const auto& name : names) members.push_back(test::NamedFontTables(name));
    return test::BuildCollection(members);
}

Names PlannedNames(FontLoader loader, const ByteVector& file) {
    auto plan = PlanFontFile(loader, file);
    EXPECT_TRUE(plan.ok()) << plan.reason();
    return plan ? plan->faceNames : Names{};
}

TEST(ChooseLoader, GoesByExtensionAloneIgnoringCase) {
    EXPECT_EQ(ChooseLoader(u"C:\\Fonts\\a.TTC"), FontLoader::Collection);
    EXPECT_EQ(ChooseLoader(u"/fonts/a.ttf"), FontLoader::Sfnt);
    EXPECT_EQ(ChooseLoader(u"a.OtF"), FontLoader::Sfnt);
    EXPECT_EQ(ChooseLoader(u"a.Woff"), FontLoader::Woff);
    EXPECT_EQ(ChooseLoader(u"a.WOFF2"), FontLoader::Woff2);
    EXPECT_EQ(ChooseLoader(u"a.ttf.txt"), FontLoader::None);
    EXPECT_EQ(ChooseLoader(u"a.woff3"), FontLoader::None);
    EXPECT_EQ(ChooseLoader(u"ttf"), FontLoader::None);
    EXPECT_EQ(ChooseLoader(u"fonts.ttf\\readme"), FontLoader::None);
    EXPECT_EQ(ChooseLoader(u""), FontLoader::None);
    EXPECT_FALSE(PlanFontFile(FontLoader::None, test::BuildFontNamed(u"A")));
}

TEST(PlanFontFile, SingleFaceRegistersTheFileUnderItsFullName) {
    const ByteVector font = test::BuildFontNamed(u"Plain Face");
    auto plan = PlanFontFile(FontLoader::Sfnt, font);
    ASSERT_TRUE(plan);
    EXPECT_EQ(plan->faceNames, Names{u"Plain Face"});
    EXPECT_EQ(RegisteredImage(plan.value(), font).data(), font.data());
}

TEST(PlanFontFile, SingleFaceWithoutUsableNameIsListedEmpty) {
    const auto names = test::NameTableBuilder().Windows(0x0409, u"Apple");
    EXPECT_EQ(PlannedNames(FontLoader::Sfnt, test::BuildNamedFont(names, test::MakeTag("true"))), Names{u""});
    EXPECT_EQ(PlannedNames(FontLoader::Sfnt, test::BuildSfnt({{test::MakeTag("head"), ByteVector(54)}})),
              Names{u""});
    EXPECT_EQ(PlannedNames(FontLoader::Sfnt, CollectionNamed({u"A", u"B"})), Names{u""});
}

TEST(PlanFontFile, CollectionListsMembersZeroToNineOnceEach) {
    EXPECT_EQ(PlannedNames(FontLoader::Collection, CollectionNamed({u"A", u"B", u"C"})), (Names{u"A", u"B", u"C"}));
    auto repeated = PlanFontFile(FontLoader::Collection, CollectionNamed({u"Same", u"Same", u"Other", u"Same"}));
    ASSERT_TRUE(repeated);
    EXPECT_EQ(repeated->faceNames, (Names{u"Same", u"Other"}));
    EXPECT_EQ(repeated->faceMembers, (std::vector<std::uint32_t>{0, 2}));
    EXPECT_EQ(PlannedNames(FontLoader::Collection, CollectionNamed({u"Case", u"case"})), (Names{u"Case", u"case"}));

    Names twelve;
    for (int i = 0; i < 12; ++i) twelve.push_back(u"M" + std::u16string(1, char16_t(u'a' + i)));
    const Names firstTen(twelve.begin(), twelve.begin() + 10);
    EXPECT_EQ(PlannedNames(FontLoader::Collection, CollectionNamed(twelve)), firstTen);
}

TEST(PlanFontFile, CollectionRefusals) {
    EXPECT_FALSE(PlanFontFile(FontLoader::Collection, CollectionNamed({})));
    EXPECT_FALSE(PlanFontFile(FontLoader::Collection, test::BuildFontNamed(u"Not a collection")));
    ByteVector huge = CollectionNamed({u"A"});
    test::PutU32(huge, 8, 0xFFFFFFFF);
    EXPECT_FALSE(PlanFontFile(FontLoader::Collection, huge));
}

TEST(PlanFontFile, ShortImagesAddNothing) {
    for (FontLoader loader : {FontLoader::Sfnt, FontLoader::Collection}) {
        EXPECT_FALSE(PlanFontFile(loader, ByteVector{}));
        EXPECT_FALSE(PlanFontFile(loader, ByteVector{0, 1, 0}));
        ByteVector headerOnly = test::BuildFontNamed(u"A");
        headerOnly.resize(12);
        EXPECT_FALSE(PlanFontFile(loader, headerOnly));
    }
}

// Cut a valid file at every length: each prefix either is refused or, once
// every table lies inside it, lists the full name; nothing reads past the cut.
void ExpectEveryPrefixSound(FontLoader loader, const ByteVector& file, std::size_t firstSoundLength,
                            const Names& names) {
    for (std::size_t length = 0; length <= file.size(); ++length) {
        const ByteVector prefix(file.begin(), file.begin() + static_cast<std::ptrdiff_t>(length));
        auto plan = PlanFontFile(loader, prefix);
        ASSERT_EQ(plan.ok(), length >= firstSoundLength) << "length " << length;
        if (plan) {
            EXPECT_EQ(plan->faceNames, names);
        }
    }
}

TEST(PlanFontFile, TruncationAtEveryByte) {
    const ByteVector font = test::BuildFontNamed(u"Truncated");
    // The last table, 'post', holds 5 bytes followed by 3 of padding.
    ExpectEveryPrefixSound(FontLoader::Sfnt, font, font.size() - 3, {u"Truncated"});
    const ByteVector collection = CollectionNamed({u"One", u"Two"});
    ExpectEveryPrefixSound(FontLoader::Collection, collection, collection.size() - 3, {u"One", u"Two"});
}

TEST(PlanFontFile, TableOffsetsPastTheEndAreRefused) {
    const ByteVector font = test::BuildFontNamed(u"A");
    for (std::uint32_t offset : {std::uint32_t(font.size()), std::uint32_t(font.size() - 1), 0x80000000u,
                                 0xFFFFFFFFu}) {
        ByteVector broken = font;
        test::PutU32(broken, 12 + 8, offset);  // first record's offset
        EXPECT_FALSE(PlanFontFile(FontLoader::Sfnt, broken)) << offset;
    }
    ByteVector manyTables = font;
    test::PutU16(manyTables, 4, 0xFFFF);
    EXPECT_FALSE(PlanFontFile(FontLoader::Sfnt, manyTables));
}

}  // namespace
}  // namespace tavrel
