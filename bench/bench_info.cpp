// A face's details with every coverage set, as tavrel-cli info gives them,
// against the floor of reading the whole file into memory, in the same run:
// one member of the large collection within 2x of that read, all ten within 6x.

#include <benchmark/benchmark.h>

#include "face_report.h"
#include "file_bytes.h"
#include "mapped_file.h"

namespace {

const char* const kCollection = "/usr/share/fonts/opentype/noto/NotoSansCJK-Regular.ttc";

void ReadFile(benchmark::State& state) {
    for (auto _ : state) {
        auto bytes = tavrel::ReadFileBytes(kCollection);
        if (!bytes) state.SkipWithError(bytes.reason().c_str());
        benchmark::DoNotOptimize(bytes.value().data());
    }
}

// Maps the file, describes one member (or every listed face) and writes the JSON.
void Info(benchmark::State& state, std::optional<std::uint32_t> member) {
    for (auto _ : state) {
        auto file = tavrel::MappedFile::Open(kCollection);
        if (!file) state.SkipWithError(file.reason().c_str());
        auto reports = tavrel::DescribeFontFile(kCollection, tavrel::FontLoader::Collection, file->bytes(), member,
                                                std::nullopt);
        if (!reports) state.SkipWithError(reports.reason().c_str());
        benchmark::DoNotOptimize(tavrel::ReportJson(reports.value()).data());
    }
}

BENCHMARK(ReadFile)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Info, one_member, 0u)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Info, all_members, std::nullopt)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
