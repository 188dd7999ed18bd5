#pragma once
// The small valid fonts that make_font_samples.py writes at build time from
// Debian's fonts, with the full names fontTools reads from each.

#include <filesystem>
#include <string>
#include <vector>

#include "font_builder.h"
#include "loader_choice.h"

namespace tavrel::test {

struct FontSample {
    FontLoader loader = FontLoader::None;
    std::filesystem::path path;
    std::vector<std::u16string> names;  // the faces listed, in order, each once
};

// Every sample in `manifest` (samples.tsv); throws when it cannot be read.
std::vector<FontSample> ReadFontSamples(const std::filesystem::path& manifest);

// The whole file; throws when it cannot be read.
ByteVector ReadSample(const FontSample& sample);

}  // namespace tavrel::test
