// A header field can never make a load set aside more memory than the file
// can justify: claims of huge sizes in tiny files cost next to nothing.
#include <gtest/gtest.h>

#include "font_builder.h"
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

}  // namespace
}  // namespace tavrel::test
