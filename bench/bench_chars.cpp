// One character's identity, looked up as the 文字 page's panel and
// `tavrel-cli char` look it up, beside the floor of one binary search over
// the largest table; the budget is 2 µs a character.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <vector>

#include "character_identity.h"

namespace {

// Kanji with every field, kana, ASCII, a Hangul syllable, an Extension B ideograph, an unassigned code point.
const std::vector<char32_t> kCharacters = {U'葛', U'漢', U'あ', U'ア', U'A', U'\\', U'한', U'\U0002000B', 0x50000};

void IdentifyCharacter(benchmark::State& state) {
    std::size_t i = 0;
    for (auto _ : state) {
        auto identity = tavrel::IdentifyCharacter(kCharacters[i++ % kCharacters.size()]);
        benchmark::DoNotOptimize(identity);
    }
}

void BinarySearchFloor(benchmark::State& state) {
    std::vector<char32_t> table(98000);
    for (std::size_t i = 0; i < table.size(); ++i) table[i] = static_cast<char32_t>(0x3400 + 2 * i);
    std::size_t i = 0;
    for (auto _ : state) benchmark::DoNotOptimize(std::lower_bound(table.begin(), table.end(), kCharacters[i++ % kCharacters.size()]));
}

BENCHMARK(IdentifyCharacter);
BENCHMARK(BinarySearchFloor);

}  // namespace

BENCHMARK_MAIN();
