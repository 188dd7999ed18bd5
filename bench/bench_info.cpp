// A face's details with every coverage set, as tavrel-cli info gives them,
// against the floor of reading the whole file into memory, in the same run:
// one member of the large collection within 2x of that read, all ten within 6x.
// And how many characters every feature of its Japanese member changes, from
// its cmap's mappings, within 3x of reading that cmap's code points.
// And the library's traits of each face beside the quick details and coverage
// they could have been taken from, for the collection's ten members and a
// small font.

#include <benchmark/benchmark.h>

#include "cmap_table.h"
#include "coverage.h"
#include "face_traits.h"
#include "sfnt_layout.h"
#include "face_report.h"
#include "feature_changes.h"
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

// The Japanese member (the first) of the mapped collection and its tables.
struct JapaneseMember {
    JapaneseMember() : file(std::move(tavrel::MappedFile::Open(kCollection).value())) {
        std::uint32_t offset = 0;
        tavrel::ReadU32BE(file.bytes(), 12, offset);
        const tavrel::FaceTables tables(file.bytes(), offset, problems);
        cmap = tables.Find(tavrel::Tag("cmap"));
        layout.gsub = tables.Find(tavrel::Tag("GSUB"));
        layout.gpos = tables.Find(tavrel::Tag("GPOS"));
        mappings = tavrel::ReadCmapMappings(cmap, problems).value();
    }
    tavrel::Problems problems;
    tavrel::MappedFile file;
    tavrel::Bytes cmap;
    tavrel::LayoutTables layout;
    std::vector<tavrel::CodePointGlyph> mappings;
};

void CmapCodePoints(benchmark::State& state) {
    const JapaneseMember member;
    for (auto _ : state) {
        tavrel::Problems problems;
        benchmark::DoNotOptimize(tavrel::ReadCmapCodePoints(member.cmap, problems)->data());
    }
}

void EveryFeaturesChanges(benchmark::State& state) {
    const JapaneseMember member;
    for (auto _ : state) {
        tavrel::Problems problems;
        const tavrel::CharactersPerGlyph characters(member.mappings, 0x10000);
        const auto counts = tavrel::CountFeatureChanges(member.layout, characters, problems);
        if (counts.empty() || !problems.empty()) state.SkipWithError("no features, or damaged ones");
        benchmark::DoNotOptimize(counts.data());
    }
}

// Every face of the mapped file: its traits, or its quick details and their coverage.
void Traits(benchmark::State& state, const char* path, bool details) {
    const auto file = tavrel::MappedFile::Open(path);
    if (!file) return state.SkipWithError(file.reason().c_str());
    std::vector<std::uint32_t> offsets{0};
    std::uint32_t members = 0;
    if (tavrel::IsCollection(file->bytes()) && tavrel::ReadU32BE(file->bytes(), 8, members)) offsets.resize(members);
    for (std::uint32_t i = 0; i < members; ++i) tavrel::ReadU32BE(file->bytes(), 12 + 4 * i, offsets[i]);
    for (auto _ : state)
        for (const std::uint32_t offset : offsets) {
            if (!details) {
                benchmark::DoNotOptimize(tavrel::ReadFaceTraits(file->bytes(), offset).flags);
                continue;
            }
            const auto info = tavrel::DescribeFace(file->bytes(), offset, tavrel::ReportDepth::Quick);
            benchmark::DoNotOptimize(tavrel::MeasureCoverage(info.codePoints.value_or(std::vector<char32_t>{})).data());
        }
}

const char* const kSmallFont = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";
BENCHMARK_CAPTURE(Traits, collection_traits, kCollection, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Traits, collection_quick_details, kCollection, true)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Traits, small_font_traits, kSmallFont, false)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(Traits, small_font_quick_details, kSmallFont, true)->Unit(benchmark::kMicrosecond);
BENCHMARK(ReadFile)->Unit(benchmark::kMillisecond);
BENCHMARK(CmapCodePoints)->Unit(benchmark::kMicrosecond);
BENCHMARK(EveryFeaturesChanges)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(Info, one_member, 0u)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Info, all_members, std::nullopt)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
