// Shaping the sample's first line in the Japanese member of the large CJK
// collection with the face's default features, across and down, as the 組版
// page does: the target is within 10 µs a character (the counter "per_char",
// in seconds). And a variable face's outlines: every glyph of a line drawn at
// an instance beside the same at the default (the target: within 2x).

#include <benchmark/benchmark.h>

#include "mapped_file.h"
#include "glyph_outline.h"
#include "shaper.h"

namespace {

const char* const kCollection = "/usr/share/fonts/opentype/noto/NotoSansCJK-Regular.ttc";
constexpr char16_t kFirstLine[] = u"フォントの世界は永遠です。";

void SetFirstLine(benchmark::State& state, bool down) {
    auto file = tavrel::MappedFile::Open(kCollection);
    if (!file) return state.SkipWithError(file.reason().c_str());
    auto face = tavrel::ShapingFace::Open(file->bytes(), 0);
    if (!face) return state.SkipWithError(face.reason().c_str());
    const std::u16string_view text(kFirstLine);
    for (auto _ : state) {
        auto runs = tavrel::SetLine(face.value(), text, {}, down);
        benchmark::DoNotOptimize(runs.value().data());
    }
    state.counters["per_char"] = benchmark::Counter(
        double(text.size()), benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

void Outlines(benchmark::State& state, bool atInstance) {
    auto file = tavrel::MappedFile::Open("/usr/share/fonts/truetype/inter-vf/Inter-roman.var.ttf");
    if (!file) return state.SkipWithError(file.reason().c_str());
    auto face = tavrel::ShapingFace::Open(file->bytes(), 0);
    if (!face) return state.SkipWithError(face.reason().c_str());
    if (atInstance) face->SetVariations(std::vector<tavrel::AxisSetting>{{tavrel::Tag("wght"), 650}});
    auto glyphs = tavrel::ShapeText(face.value(), std::u16string_view(u"Hamburgefonstiv 0123"), {});
    for (auto _ : state)
        for (const tavrel::ShapedGlyph& g : glyphs.value())
            benchmark::DoNotOptimize(tavrel::DrawGlyphOutline(face.value(), g.glyph).data());
}

BENCHMARK_CAPTURE(Outlines, default_instance, false)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(Outlines, wght_650, true)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(SetFirstLine, across, false)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(SetFirstLine, down, true)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
