#include <gtest/gtest.h>

#include <optional>

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

TEST(ChooseLoader, GoesByExtensionAloneIgnoringCase) {
    const std::pair<std::u16string_view, FontLoader> paths[] = {
        {u"C:\\Fonts\\a.TTC", FontLoader::Collection}, {u"/fonts/a.ttf", FontLoader::Sfnt}, {u"a.OtF", FontLoader::Sfnt},
        {u"a.Woff", FontLoader::Woff}, {u"a.WOFF2", FontLoader::Woff2}, {u"a.ttf.txt", FontLoader::None},
        {u"a.woff3", FontLoader::None}, {u"ttf", FontLoader::None}, {u"fonts.ttf\\readme", FontLoader::None}, {u"", FontLoader::None}};
    for (const auto& [path, loader] : paths) EXPECT_EQ(ChooseLoader(path), loader) << std::string(path.begin(), path.end());
    EXPECT_FALSE(PlanFontFile(FontLoader::None, test::BuildFontNamed(u"A")));
}

// What files that cannot be read add is recorded with the damaged-file corpus (tests/hostile).
TEST(PlanFontFile, ListsEachFaceOnce) {
    Names twelve;
    for (int i = 0; i < 12; ++i) twelve.push_back(u"M" + std::u16string(1, char16_t(u'a' + i)));
    const std::tuple<FontLoader, ByteVector, std::optional<Names>> cases[] = {
        {FontLoader::Sfnt, test::BuildNamedFont(test::NameTableBuilder().Windows(0x0409, u"Apple"), test::MakeTag("true")), Names{u""}},
        {FontLoader::Sfnt, test::BuildSfnt({{test::MakeTag("head"), ByteVector(54)}}), Names{u""}},
        {FontLoader::Sfnt, CollectionNamed({u"A", u"B"}), Names{u""}},
        {FontLoader::Collection, CollectionNamed({u"A", u"B", u"C"}), Names{u"A", u"B", u"C"}},
        {FontLoader::Collection, CollectionNamed({u"Same", u"Same", u"Other", u"Same"}), Names{u"Same", u"Other"}},
        {FontLoader::Collection, CollectionNamed({u"Case", u"case"}), Names{u"Case", u"case"}},
        {FontLoader::Collection, CollectionNamed(twelve), Names(twelve.begin(), twelve.begin() + 10)},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const auto& [loader, file, names] = cases[i];
        auto plan = PlanFontFile(loader, file);
        EXPECT_EQ(plan ? std::optional(plan->faceNames) : std::nullopt, names) << "case " << i;
    }
    auto repeated = PlanFontFile(FontLoader::Collection, CollectionNamed({u"Same", u"Same", u"Other", u"Same"}));
    EXPECT_EQ(repeated->faceMembers, (std::vector<std::uint32_t>{0, 2}));
}

}  // namespace
}  // namespace tavrel
