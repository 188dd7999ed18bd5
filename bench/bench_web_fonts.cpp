// Decoding web fonts beside what any decoder has to spend, in the same run:
// WOFF beside inflating and copying every table into buffers set aside
// beforehand, the WOFF2 step beside the bare woff2 library call into a string.
// The web fonts are made from real fonts when the program starts (the WOFF2
// encoding of the large CJK font takes a few seconds).
//
// Woff2LoadPeak reports the most memory held through operator new while a
// WOFF2 file is read and planned, against three copies of the font: the file,
// the decoded output and the registered image. Brotli's own state is taken
// with malloc and not counted here; for the whole heap, run
//   valgrind --tool=massif tavrel-cli decode FILE.woff2 OUT

#include <benchmark/benchmark.h>
#include <woff2/decode.h>
#include <woff2/encode.h>
#include <woff2/output.h>
#include <zlib.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <string>

#include "heap_meter.h"
#include "file_bytes.h"
#include "font_plan.h"
#include "woff.h"
#include "woff2_step.h"
#include "woff_builder.h"

namespace {

using ByteVector = std::vector<std::uint8_t>;

const char* const kLatin = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";
const char* const kCff = "/usr/share/fonts/opentype/font-awesome/FontAwesome.otf";
const char* const kCjk = "/usr/share/fonts/opentype/ipafont-gothic/ipag.ttf";

struct WebFonts {
    ByteVector woff;
    ByteVector woff2;
};

ByteVector EncodeWoff2(const ByteVector& sfnt) {
    std::size_t length = woff2::MaxWOFF2CompressedSize(sfnt.data(), sfnt.size());
    ByteVector woff2(length);
    if (!woff2::ConvertTTFToWOFF2(sfnt.data(), sfnt.size(), woff2.data(), &length)) return {};
    woff2.resize(length);
    return woff2;
}

const WebFonts* WebFontsOf(const char* path) {
    static std::map<std::string, WebFonts> made;
    if (auto found = made.find(path); found != made.end()) return &found->second;
    auto sfnt = tavrel::ReadFileBytes(path);
    if (!sfnt) return nullptr;
    WebFonts fonts{tavrel::test::WoffFromSfnt(sfnt.value()), EncodeWoff2(sfnt.value())};
    if (fonts.woff2.empty()) return nullptr;
    return &made.emplace(path, std::move(fonts)).first->second;
}

struct StoredTable {
    tavrel::Bytes stored;
    std::uint32_t origLength;
};

// The directory of a WOFF file this program made, read without any checks.
std::vector<StoredTable> StoredTables(tavrel::Bytes woff) {
    std::uint16_t numTables = 0;
    tavrel::ReadU16BE(woff, 12, numTables);
    std::vector<StoredTable> tables;
    for (std::size_t i = 0; i < numTables; ++i) {
        std::uint32_t offset = 0, compLength = 0, origLength = 0;
        tavrel::ReadU32BE(woff, 44 + 20 * i + 4, offset);
        tavrel::ReadU32BE(woff, 44 + 20 * i + 8, compLength);
        tavrel::ReadU32BE(woff, 44 + 20 * i + 12, origLength);
        tables.push_back({woff.subspan(offset, compLength), origLength});
    }
    return tables;
}

void WoffFloor(benchmark::State& state, const char* path) {
    const WebFonts* fonts = WebFontsOf(path);
    if (!fonts) return state.SkipWithError("cannot make the web fonts");
    const std::vector<StoredTable> tables = StoredTables(fonts->woff);
    std::vector<ByteVector> buffers;
    for (const StoredTable& table : tables) buffers.emplace_back(table.origLength);
    for (auto _ : state) {
        for (std::size_t i = 0; i < tables.size(); ++i) {
            const StoredTable& table = tables[i];
            if (table.stored.size() == table.origLength) {
                std::memcpy(buffers[i].data(), table.stored.data(), table.origLength);
                continue;
            }
            uLongf length = table.origLength;
            if (uncompress(buffers[i].data(), &length, table.stored.data(), table.stored.size()) != Z_OK)
                return state.SkipWithError("a table does not inflate");
        }
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * fonts->woff.size()));
}

void WoffDecode(benchmark::State& state, const char* path) {
    const WebFonts* fonts = WebFontsOf(path);
    if (!fonts) return state.SkipWithError("cannot make the web fonts");
    for (auto _ : state) {
        auto image = tavrel::DecodeWoff(fonts->woff);
        if (!image) return state.SkipWithError(image.reason().c_str());
        benchmark::DoNotOptimize(image->data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * fonts->woff.size()));
}

void Woff2Library(benchmark::State& state, const char* path) {
    const WebFonts* fonts = WebFontsOf(path);
    if (!fonts) return state.SkipWithError("cannot make the web fonts");
    const ByteVector& file = fonts->woff2;
    for (auto _ : state) {
        std::string out(std::min(woff2::ComputeWOFF2FinalSize(file.data(), file.size()), woff2::kDefaultMaxSize), 0);
        woff2::WOFF2StringOut sink(&out);
        if (!woff2::ConvertWOFF2ToTTF(file.data(), file.size(), &sink))
            return state.SkipWithError("the library cannot decode it");
        benchmark::DoNotOptimize(out.data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * file.size()));
}

void Woff2Step(benchmark::State& state, const char* path) {
    const WebFonts* fonts = WebFontsOf(path);
    if (!fonts) return state.SkipWithError("cannot make the web fonts");
    for (auto _ : state) {
        auto image = tavrel::DecodeWoff2(fonts->woff2);
        if (!image) return state.SkipWithError(image.reason().c_str());
        benchmark::DoNotOptimize(image->data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * fonts->woff2.size()));
}

void Woff2LoadPeak(benchmark::State& state, const char* path) {
    const WebFonts* fonts = WebFontsOf(path);
    if (!fonts) return state.SkipWithError("cannot make the web fonts");
    std::size_t peak = 0, image = 0;
    for (auto _ : state) {
        state.PauseTiming();
        const tavrel::test::HeapMeter meter;
        state.ResumeTiming();
        const ByteVector file = fonts->woff2;  // the file as read into memory
        auto plan = tavrel::PlanFontFile(tavrel::FontLoader::Woff2, file);
        if (!plan) return state.SkipWithError(plan.reason().c_str());
        image = plan->decodedImage.size();
        peak = meter.Peak();
    }
    const double mib = 1024.0 * 1024.0;
    const double threeCopies = static_cast<double>(fonts->woff2.size() + 2 * image);
    state.counters["peak_MiB"] = static_cast<double>(peak) / mib;
    state.counters["3copies_MiB"] = threeCopies / mib;
    state.counters["peak_per_3copies"] = static_cast<double>(peak) / threeCopies;
}

#define WEB_FONT_BENCHMARKS(name, path)                                                      \
    BENCHMARK_CAPTURE(WoffFloor, name, path)->Unit(benchmark::kMillisecond);                 \
    BENCHMARK_CAPTURE(WoffDecode, name, path)->Unit(benchmark::kMillisecond);                \
    BENCHMARK_CAPTURE(Woff2Library, name, path)->Unit(benchmark::kMillisecond);              \
    BENCHMARK_CAPTURE(Woff2Step, name, path)->Unit(benchmark::kMillisecond);                 \
    BENCHMARK_CAPTURE(Woff2LoadPeak, name, path)->Unit(benchmark::kMillisecond)->Iterations(3)

WEB_FONT_BENCHMARKS(latin_ttf, kLatin);
WEB_FONT_BENCHMARKS(cff_otf, kCff);
WEB_FONT_BENCHMARKS(cjk_ttf, kCjk);

}  // namespace

BENCHMARK_MAIN();
