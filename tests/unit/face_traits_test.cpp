#include <gtest/gtest.h>

#include "face_traits.h"
#include "file_bytes.h"
#include "font_builder.h"
#include "sfnt_layout.h"

namespace tavrel::test {
namespace {

std::tuple<int, int, int, int> Read(Bytes image) {
    std::uint32_t offset = 0;  // a collection's first member
    if (IsCollection(image)) ReadU32BE(image, 12, offset);
    const FaceTraits t = ReadFaceTraits(image, offset);
    return {t.flags, t.weightClass, t.widthClass, t.glyphCount};
}

// Debian's fonts as fontTools reads them; built faces: vrt2 for vert, a palette alone no colour, JIS's kanji without joyo's 𠮟.
TEST(FaceTraits, ReadsTheFlagsAndNumbersOfEachFace) {
    const int sets = kTraitJoyo | kTraitJisLevel1 | kTraitJisLevel2;
    const std::pair<const char*, std::tuple<int, int, int, int>> fonts[] = {
        {"opentype/noto/NotoSansCJK-Regular.ttc", {kTraitVertical | kTraitProportional | sets, 400, 5, 65535}},
        {"opentype/ipafont-gothic/ipag.ttf", {kTraitVertical | sets, 400, 5, 12728}}, {"truetype/inter-vf/Inter-roman.var.ttf", {kTraitVariable, 400, 5, 2548}},
        {"truetype/noto/NotoColorEmoji.ttf", {kTraitColor, 400, 5, 3968}}, {"truetype/dejavu/DejaVuSans.ttf", {0, 400, 5, 6253}}};
    for (const auto& [path, traits] : fonts) EXPECT_EQ(Read(ReadFileBytes(std::string("/usr/share/fonts/") + path).value()), traits) << path;
    const ByteVector layout = LayoutTable(MakeTag("vrt2"), MakeTag("palt"), 1, ByteVector(6)), kanji = BuildCmap({{3, 1, CmapFormat4({{0x4E00, 0x9FFF, 1}})}});
    EXPECT_EQ(Read(BuildSfnt({{MakeTag("GPOS"), layout}, {MakeTag("CPAL"), ByteVector(16)}})), std::tuple(kTraitVertical | kTraitProportional, 0, 0, 0));
    EXPECT_EQ(Read(BuildSfnt({{MakeTag("sbix"), {}}, {MakeTag("cmap"), kanji}})), std::tuple(kTraitColor | kTraitJisLevel1 | kTraitJisLevel2, 0, 0, 0));
}

TEST(FaceTraits, NamesAreEveryFamilyAndFullNameOfAnyLanguageOnce) {
    NameTableBuilder names;
    names.Windows(0x409, u"Fam", 1).Windows(0x411, u"ファミリー", 1).Mac(0, "Fam", 1).Windows(0x409, u"Fam Bold", 4).Windows(0x409, u"Bold", 2);
    names.Windows(0x804, u"PRC", 1, 3).Record({0, 3, 0, 16, Utf16BE(u"Typo")}).Windows(0x40C, u"WWS", 21).Mac(0, "", 4);
    EXPECT_EQ(ReadFaceNames(BuildNamedFont(names), 0), (std::vector<std::u16string>{u"Fam", u"Fam Bold", u"Typo", u"WWS", u"ファミリー"}));
}

}  // namespace
}  // namespace tavrel::test
