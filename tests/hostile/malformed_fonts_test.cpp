#include <gtest/gtest.h>

#include "face_summary.h"
#include "font_samples.h"
#include "load_check.h"
#include "malformed_fonts.h"

namespace tavrel::test {
namespace {

void ExpectRecordedOutcomes(const std::vector<MalformedFont>& cases) {
    for (const MalformedFont& damaged : cases) {
        const LoadOutcome outcome = LoadAndCheck(damaged.loader, damaged.bytes);
        EXPECT_EQ(outcome.fault, "") << damaged.what;
        EXPECT_EQ(outcome.names, damaged.expected) << damaged.what;
        const auto after = damaged.infoBefore.empty() ? damaged.infoBefore : SummaryItems(DescribeFace(damaged.bytes, 0));
        EXPECT_EQ(Difference(damaged.infoBefore, after), damaged.infoChange) << damaged.what;
    }
}

TEST(MalformedFonts, BuilderFontsAddWhatWasRecorded) {
    const auto cases = MalformedBuilderFonts();
    EXPECT_GE(cases.size(), 150u);
    ExpectRecordedOutcomes(cases);
}

TEST(MalformedFonts, DebianFontSamplesAddWhatWasRecorded) {
    ExpectRecordedOutcomes(MalformedSampleFonts(ReadFontSamples(TAVREL_FONT_SAMPLES_TSV)));
}

}  // namespace
}  // namespace tavrel::test
