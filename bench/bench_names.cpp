// Listing a file's faces against the floor of reading it into memory, in the
// same run: the names must not cost much beyond the read.

#include <benchmark/benchmark.h>

#include "file_bytes.h"
#include "font_plan.h"

namespace {

const char* const kCollection = "/usr/share/fonts/opentype/noto/NotoSansCJK-Regular.ttc";
const char* const kLargeFont = "/usr/share/fonts/opentype/ipafont-gothic/ipag.ttf";

void ReadFile(benchmark::State& state, const char* path) {
    for (auto _ : state) {
        auto bytes = tavrel::ReadFileBytes(path);
        if (!bytes) state.SkipWithError(bytes.reason().c_str());
        benchmark::DoNotOptimize(bytes.value().data());
    }
}

void ListFaces(benchmark::State& state, const char* path, tavrel::FontLoader loader) {
    for (auto _ : state) {
        auto bytes = tavrel::ReadFileBytes(path);
        if (!bytes) state.SkipWithError(bytes.reason().c_str());
        auto plan = tavrel::PlanFontFile(loader, bytes.value());
        if (!plan) state.SkipWithError(plan.reason().c_str());
        benchmark::DoNotOptimize(plan->faceNames.data());
    }
}

BENCHMARK_CAPTURE(ReadFile, collection, kCollection)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(ListFaces, collection, kCollection, tavrel::FontLoader::Collection)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(ReadFile, large_font, kLargeFont)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(ListFaces, large_font, kLargeFont, tavrel::FontLoader::Sfnt)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
