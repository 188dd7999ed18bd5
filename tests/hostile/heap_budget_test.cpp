// A header field can never make a load set aside more memory than the file
// can justify: claims of huge sizes in tiny files cost next to nothing.
#include <gtest/gtest.h>

#include <tuple>

#include "font_builder.h"
#include "heap_meter.h"
#include "load_check.h"
#include "woff_builder.h"

namespace tavrel::test {
namespace {

constexpr std::size_t kSmallHeap = 64 * 1024;

TEST(HeapBudget, SizesClaimedInTinyFiles) {
    ByteVector woff2 = Pack({F32(MakeTag("wOF2")), F32(0), F32(48), F32(0), F32(31457280)});  // a 30 MiB font
    woff2.resize(48);
    ByteVector woff = WoffFromSfnt(BuildFontNamed(u"Claims"));
    PutU32(woff, WoffEntryField(0, kWoffEntryOrigLength), 30000000);  // OS/2, more than its stream inflates to
    PutU32(woff, kWoffTotalSfntSize, 30000000 + 400);
    for (const auto& [loader, file] : {std::pair{FontLoader::Woff2, woff2}, std::pair{FontLoader::Woff, woff}}) {
        const LoadOutcome outcome = LoadAndCheck(loader, file);
        EXPECT_EQ(std::tuple(outcome.added, outcome.fault), std::tuple(false, std::string()));
        EXPECT_LT(outcome.peakHeap, kSmallHeap);
    }
}

// Five bytes of Brotli stream declaring a 16 MiB window and a 16 MiB
// uncompressed block make Brotli allocate its whole window before it finds the
// data missing: 16 MiB for a 60-byte file, which no check of ours can see
// coming. This is what the woff2 library's allowance in the budget is for.
TEST(HeapBudget, Woff2WhoseBrotliStreamClaimsAWholeWindow) {
    // One 'name' table of 100 bytes, then the stream.
    ByteVector woff2 = Pack({F32(MakeTag("wOF2")), F32(0x00010000), F32(60), F16(1), F16(0), F32(1000), F32(8)});
    woff2.resize(48);
    woff2.insert(woff2.end(), {5, 100, 0xCF, 0xFF, 0xFF, 0xFF, 'a', 'b', 'c', 'd'});
    woff2.resize(60, 0);
    const LoadOutcome outcome = LoadAndCheck(FontLoader::Woff2, woff2);
    EXPECT_FALSE(outcome.added);
    EXPECT_EQ(outcome.fault, "");
    if (HeapMeter::CountsCLibraries()) {
        EXPECT_GT(outcome.peakHeap, std::size_t{16} << 20);
    }
}

// Small tables whose records all share one string, one group, one lookup or
// one run of bytes: the details they give stay within the info budget.
TEST(HeapBudget, FaceDetailsOfTablesThatRepeatThemselves) {
    ByteVector name(6 + 12 * 0xFFFF);  // every name ID, each the table's first 60000 bytes
    PutU16(name, 2, 0xFFFF);
    for (std::uint16_t i = 0; i < 0xFFFF; ++i)
        for (const auto& [at, value] : {std::pair{0, 3}, {2, 1}, {4, 0x409}, {6, int{i}}, {8, 60000}}) PutU16(name, 6 + 12 * i + at, value);
    ByteVector fvar = Pack({F16(1), F16(0), F16(16), F16(2), F16(1), F16(20), F16(0xFFFF), F16(8), F32(MakeTag("wght")),
                            F32(0), F32(0), F32(0), F16(0), F16(1)});
    fvar.resize(36 + 8 * 0xFFFF);
    for (std::size_t i = 36; i < fvar.size(); i += 8) PutU16(fvar, i, 1);
    // Every code point mapped, and 30000 lookups that are all one, changing every glyph.
    const ByteVector cmap = BuildCmap({{3, 10, CmapGroups(13, {{0, 0x10FFFF, 1}})}});
    const ByteVector everyGlyph = Pack({F16(1), F16(6), F16(1), F16(2), F16(1), F16(0), F16(0xFFFF), F16(0)});
    EXPECT_EQ(InfoFault(BuildSfnt({{MakeTag("name"), name}, {MakeTag("fvar"), fvar}})), "");
    EXPECT_EQ(InfoFault(BuildSfnt({{MakeTag("cmap"), cmap}, {MakeTag("GSUB"), LayoutTable(MakeTag("salt"), MakeTag("ss01"), 1, everyGlyph, 30000)}})), "");
}

}  // namespace
}  // namespace tavrel::test
