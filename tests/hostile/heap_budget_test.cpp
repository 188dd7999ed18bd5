// A header field can never make a load set aside more memory than the file
// can justify: claims of huge sizes in tiny files cost next to nothing.
#include <gtest/gtest.h>

#include "font_builder.h"
#include "heap_meter.h"
#include "load_check.h"
#include "woff_builder.h"

namespace tavrel::test {
namespace {

constexpr std::size_t kSmallHeap = 64 * 1024;

TEST(HeapBudget, Woff2HeaderClaimingThirtyMebibytes) {
    ByteVector header(48);
    PutU32(header, 0, MakeTag("wOF2"));
    PutU32(header, 8, 48);
    PutU32(header, 16, 31457280);
    const LoadOutcome outcome = LoadAndCheck(FontLoader::Woff2, header);
    EXPECT_FALSE(outcome.added);
    EXPECT_EQ(outcome.fault, "");
    EXPECT_LT(outcome.peakHeap, kSmallHeap);
}

TEST(HeapBudget, WoffTableClaimingMoreThanItsDataCanInflateTo) {
    ByteVector woff = WoffFromSfnt(BuildFontNamed(u"Claims"));
    const std::size_t entry = WoffEntryField(0, kWoffEntryOrigLength);  // OS/2, stored compressed
    PutU32(woff, entry, 30000000);
    PutU32(woff, kWoffTotalSfntSize, 30000000 + 400);
    const LoadOutcome outcome = LoadAndCheck(FontLoader::Woff, woff);
    EXPECT_FALSE(outcome.added);
    EXPECT_EQ(outcome.fault, "");
    EXPECT_LT(outcome.peakHeap, kSmallHeap);
}

// Five bytes of Brotli stream declaring a 16 MiB window and a 16 MiB
// uncompressed block make Brotli allocate its whole window before it finds the
// data missing: 16 MiB for a 60-byte file, which no check of ours can see
// coming. This is what the woff2 library's allowance in the budget is for.
TEST(HeapBudget, Woff2WhoseBrotliStreamClaimsAWholeWindow) {
    ByteVector woff2(48);
    PutU32(woff2, 0, MakeTag("wOF2"));
    PutU32(woff2, 4, 0x00010000);
    PutU16(woff2, 12, 1);
    PutU32(woff2, 16, 1000);
    woff2.insert(woff2.end(), {5, 100});  // one 'name' table of 100 bytes
    const ByteVector brotli{0xCF, 0xFF, 0xFF, 0xFF, 'a', 'b', 'c', 'd'};
    PutU32(woff2, 20, static_cast<std::uint32_t>(brotli.size()));
    woff2.insert(woff2.end(), brotli.begin(), brotli.end());
    woff2.resize(60, 0);
    PutU32(woff2, 8, 60);
    const LoadOutcome outcome = LoadAndCheck(FontLoader::Woff2, woff2);
    EXPECT_FALSE(outcome.added);
    EXPECT_EQ(outcome.fault, "");
    if (HeapMeter::CountsCLibraries()) {
        EXPECT_GT(outcome.peakHeap, std::size_t{16} << 20);
    }
}

// Small tables whose records all share one string, one group or one run of
// bytes: the details they give stay within the info budget.
TEST(HeapBudget, FaceDetailsOfTablesThatRepeatThemselves) {
    NameTableBuilder names;
    names.Windows(0x0409, std::u16string(30000, u'n'), 1);
    ByteVector name = names.Build();
    name.resize(6 + 12 * 0xFFFF + 60000);
    PutU16(name, 2, 0xFFFF), PutU16(name, 4, static_cast<std::uint16_t>(name.size() - 60000));
    for (std::uint16_t i = 0; i < 0xFFFF; ++i) {
        const ByteVector record = Pack({F16(3), F16(1), F16(0x409), F16(i), F16(60000), F16(0)});
        std::copy(record.begin(), record.end(), name.begin() + 6 + 12 * i);
    }
    ByteVector fvar = Pack({F16(1), F16(0), F16(16), F16(2), F16(1), F16(20), F16(0xFFFF), F16(8), F32(MakeTag("wght")),
                            F32(0), F32(0), F32(0), F16(0), F16(1)});
    fvar.resize(36 + 8 * 0xFFFF);
    for (std::size_t i = 36; i < fvar.size(); i += 8) PutU16(fvar, i, 1);
    const std::vector<Table> fonts[] = {
        {{MakeTag("name"), name}},
        {{MakeTag("name"), name}, {MakeTag("fvar"), fvar}},
        {{MakeTag("cmap"), BuildCmap({{3, 10, CmapGroups(13, {{0, 0x10FFFF, 1}})}})}},
    };
    for (const auto& tables : fonts) EXPECT_EQ(InfoFault(BuildSfnt(tables), 0, u"text"), "");
}

}  // namespace
}  // namespace tavrel::test
