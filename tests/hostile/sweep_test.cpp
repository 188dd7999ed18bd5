// Valid files of every format, cut short at every length up to 4096 bytes and
// at every 64th beyond, and with each of their first 256 bytes set to 00, 7F,
// 80 and FF: none may crash, read outside its bytes, break a registration
// rule or exceed the heap budget, nor fail but "out of memory" when an allocation is refused.
#include <gtest/gtest.h>

#include <optional>

#include "font_plan.h"
#include "font_samples.h"
#include "heap_meter.h"
#include "load_check.h"
#include "malformed_fonts.h"

namespace tavrel::test {
namespace {

constexpr std::size_t kEveryPrefixUpTo = 4096, kPrefixStepBeyond = 64, kDamagedBytes = 256;
constexpr std::uint8_t kDamageValues[] = {0x00, 0x7F, 0x80, 0xFF};
constexpr std::size_t kMinFilesPerFormat = 5;

void SweepSamples(FontLoader loader) {
    auto samples = ReadFontSamples(TAVREL_FONT_SAMPLES_TSV);
    std::erase_if(samples, [loader](const FontSample& sample) { return sample.loader != loader; });
    ASSERT_GE(samples.size(), kMinFilesPerFormat);
    for (const FontSample& sample : samples) {
        const ByteVector file = ReadSample(sample);
        const std::string name = sample.path.filename().string();
        const LoadOutcome whole = LoadAndCheck(loader, file);
        ASSERT_EQ(whole.fault, "") << name;
        ASSERT_EQ(whole.names, sample.names) << name;
        for (std::size_t length = 0; length < file.size(); length += length < kEveryPrefixUpTo ? 1 : kPrefixStepBeyond)
            ASSERT_EQ(LoadAndCheck(loader, Span(file).first(length)).fault, "") << name << " cut to " << length;
        ByteVector damaged = file;
        for (std::size_t at = 0; at < std::min(file.size(), kDamagedBytes); ++at) {
            for (std::uint8_t value : kDamageValues) {
                damaged[at] = value;
                ASSERT_EQ(LoadAndCheck(loader, damaged).fault, "") << name << " byte " << at << " = " << int{value};
            }
            damaged[at] = file[at];
        }
        if (HeapMeter::CountsCLibraries()) continue;  // sanitizer builds meter through hooks and refuse nothing
        std::optional<Result<FontPlan>> plan;
        for (std::size_t n = 0; RunsOutOfMemory(n, [&] { plan.emplace(PlanFontFile(loader, file)); }); ++n)
            ASSERT_EQ(plan->ok() ? "" : plan->reason(), kOutOfMemory) << name << " after " << n << " allocations";
    }
}

TEST(Sweeps, SfntFiles) { SweepSamples(FontLoader::Sfnt); }
TEST(Sweeps, CollectionFiles) { SweepSamples(FontLoader::Collection); }
TEST(Sweeps, WoffFiles) { SweepSamples(FontLoader::Woff); }
TEST(Sweeps, Woff2Files) { SweepSamples(FontLoader::Woff2); }

}  // namespace
}  // namespace tavrel::test
