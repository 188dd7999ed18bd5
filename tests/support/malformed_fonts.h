#pragma once
// The regression corpus of damaged files: valid fonts from the builder and
// from Debian's fonts, each with one field set to a value at the edge of its
// range or of the file. What each adds, and how its details change, is
// recorded in tests/hostile/damaged_outcomes.tsv.

#include <string>
#include <vector>

#include "font_builder.h"
#include "font_samples.h"
#include "loader_choice.h"

namespace tavrel::test {

using Listed = std::vector<std::u16string>;

struct MalformedFont {
    std::string what;  // the subject and the damage, e.g. "sfnt: numTables = 0xFFFF"
    FontLoader loader;
    ByteVector bytes;
    Listed before;  // what the undamaged file lists
    // Cases of a face's tables: the undamaged font's SummaryItems, to which the damaged font's are compared.
    std::vector<std::string> infoBefore;
};

// Damaged copies of fonts made by the builder.
std::vector<MalformedFont> MalformedBuilderFonts();

// Damaged copies of the font samples made from Debian's fonts.
std::vector<MalformedFont> MalformedSampleFonts(const std::vector<FontSample>& samples);

}  // namespace tavrel::test
