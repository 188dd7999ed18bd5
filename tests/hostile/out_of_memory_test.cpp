// Memory running out at any allocation of a load, in the core or in the woff2
// library: the load says so, and with memory enough it lists what it always does.
#include <gtest/gtest.h>

#include <optional>

#include "font_plan.h"
#include "font_samples.h"
#include "heap_meter.h"
#include "hostile_support.h"

namespace tavrel::test {
namespace {

TEST(OutOfMemory, EveryAllocationOfEveryFormatMayFail) {
    for (const FontSample& sample : ReadFontSamples(FontSamplesManifest())) {
        const ByteVector file = ReadSample(sample);
        std::optional<Result<FontPlan>> plan;
        std::size_t allowed = 0;
        for (; RunsOutOfMemory(allowed, [&] { plan.emplace(PlanFontFile(sample.loader, file)); }); ++allowed)
            ASSERT_EQ(plan->ok() ? "" : plan->reason(), kOutOfMemory) << sample.path << " after " << allowed;
        ASSERT_TRUE(*plan) << sample.path;
        EXPECT_EQ(Printable((*plan)->faceNames), Printable(sample.names)) << sample.path;
    }
}

}  // namespace
}  // namespace tavrel::test
