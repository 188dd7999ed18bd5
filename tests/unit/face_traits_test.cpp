#include <gtest/gtest.h>

#include "sfnt_layout.h"
#include "face_traits.h"
#include "file_bytes.h"
#include "font_builder.h"

namespace tavrel::test {
namespace {

using Traits = std::tuple<std::uint16_t, std::uint16_t, std::uint16_t, std::uint16_t>;  // flags, weight, width, glyphs

Traits Read(Bytes image, std::uint64_t offset = 0) {
    const FaceTraits t = ReadFaceTraits(image, offset);
    return {t.flags, t.weightClass, t.widthClass, t.glyphCount};
}

// Debian's fonts as fontTools reads them (the first member of a collection); built faces for the rules between.
TEST(FaceTraits, ReadsTheFlagsAndNumbersOfEachFace) {
    const std::uint16_t sets = kTraitJoyo | kTraitJisLevel1 | kTraitJisLevel2;
    const std::pair<const char*, Traits> fonts[] = {
        {"opentype/noto/NotoSansCJK-Regular.ttc", {kTraitVertical | kTraitProportional | sets, 400, 5, 65535}},
        {"opentype/ipafont-gothic/ipag.ttf", {kTraitVertical | sets, 400, 5, 12728}},
        {"truetype/inter-vf/Inter-roman.var.ttf", {kTraitVariable, 400, 5, 2548}},
        {"truetype/noto/NotoColorEmoji.ttf", {kTraitColor, 400, 5, 3968}},
        {"truetype/dejavu/DejaVuSans.ttf", {0, 400, 5, 6253}}};
    for (const auto& [path, traits] : fonts) {
        const auto bytes = ReadFileBytes(std::string("/usr/share/fonts/") + path);
        std::uint32_t offset = 0;
        if (IsCollection(bytes.value())) ReadU32BE(bytes.value(), 12, offset);
        EXPECT_EQ(Read(bytes.value(), offset), traits) << path;
    }
    const ByteVector anyLayout = LayoutTable(MakeTag("vrt2"), MakeTag("palt"), 1, ByteVector(6));
    const std::pair<std::vector<Table>, Traits> built[] = {
        {DescribedFontTables(), {kTraitVariable, 700, 3, 5}},
        {{{MakeTag("GPOS"), anyLayout}, {MakeTag("CPAL"), ByteVector(16)}}, {kTraitVertical | kTraitProportional, 0, 0, 0}},
        {{{MakeTag("sbix"), {}}, {MakeTag("cmap"), BuildCmap({{3, 1, CmapFormat4({{0x4E00, 0x9FFF, 1}})}})}},
         {kTraitColor | kTraitJisLevel1 | kTraitJisLevel2, 0, 0, 0}}};
    for (const auto& [tables, traits] : built) EXPECT_EQ(Read(BuildSfnt(tables)), traits);
}

TEST(FaceTraits, NamesAreEveryFamilyAndFullNameOfAnyLanguageOnce) {
    NameTableBuilder names;
    names.Windows(0x409, u"Fam", 1).Windows(0x411, u"ファミリー", 1).Mac(0, "Fam", 1).Windows(0x409, u"Fam Bold", 4);
    names.Windows(0x409, u"Bold", 2).Windows(0x804, u"PRC", 1, 3).Record({0, 3, 0, 16, Utf16BE(u"Typo")});
    names.Windows(0x40C, u"WWS", 21).Mac(0, "", 4);
    EXPECT_EQ(ReadFaceNames(BuildNamedFont(names), 0),
              (std::vector<std::u16string>{u"Fam", u"Fam Bold", u"Typo", u"WWS", u"ファミリー"}));
    EXPECT_EQ(CharactersToFind(u"b\na\U00020BB7b\t"), (std::vector<char32_t>{u'a', u'b', 0x20BB7}));
}

}  // namespace
}  // namespace tavrel::test
