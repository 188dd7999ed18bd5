#include <gtest/gtest.h>

#include "face_info.h"
#include "face_summary.h"
#include "font_samples.h"
#include "hostile_support.h"
#include "load_check.h"
#include "malformed_fonts.h"

namespace tavrel::test {
namespace {

void ExpectRecordedOutcomes(const std::vector<MalformedFont>& cases) {
    for (const MalformedFont& damaged : cases) {
        const LoadOutcome outcome = LoadAndCheck(damaged.loader, damaged.bytes);
        EXPECT_EQ(outcome.fault, "") << damaged.what;
        EXPECT_EQ(Printable(outcome.names), Printable(damaged.expected)) << damaged.what;
        if (!damaged.infoBefore.empty()) {
            EXPECT_EQ(Difference(damaged.infoBefore, SummaryItems(DescribeFace(damaged.bytes, 0))), damaged.infoChange)
                << damaged.what;
        }
    }
}

TEST(MalformedFonts, BuilderFontsAddWhatWasRecorded) {
    const auto cases = MalformedBuilderFonts();
    EXPECT_GE(cases.size(), 150u);
    ExpectRecordedOutcomes(cases);
}

TEST(MalformedFonts, DebianFontSamplesAddWhatWasRecorded) {
    ExpectRecordedOutcomes(MalformedSampleFonts(ReadFontSamples(FontSamplesManifest())));
}

}  // namespace
}  // namespace tavrel::test
