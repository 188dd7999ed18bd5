// Memory running out at any allocation of a load, in the core or in the woff2
// library: the load fails saying so, and one that had memory enough gives the
// same faces as an unhindered load.
#include <gtest/gtest.h>

#include "font_plan.h"
#include "font_samples.h"
#include "heap_meter.h"
#include "hostile_support.h"

namespace tavrel::test {
namespace {

TEST(OutOfMemory, EveryAllocationOfEveryFormatMayFail) {
    for (const FontSample& sample : ReadFontSamples(FontSamplesManifest())) {
        const ByteVector file = ReadSample(sample);
        for (std::size_t allowed = 0;; ++allowed) {
            std::optional<Result<FontPlan>> plan;
            bool refused = false;
            {
                const FailingAllocations failing(allowed);
                plan.emplace(PlanFontFile(sample.loader, file));
                refused = failing.Refused();
            }
            SCOPED_TRACE(sample.path.string() + " after " + std::to_string(allowed) + " allocations");
            if (!refused) {
                ASSERT_TRUE(*plan) << plan->reason();
                EXPECT_EQ(Printable((*plan)->faceNames), Printable(sample.names));
                break;
            }
            ASSERT_FALSE(*plan);
            ASSERT_EQ(plan->reason(), kOutOfMemory);
        }
    }
}

}  // namespace
}  // namespace tavrel::test
