#pragma once
// The regression corpus of damaged files: valid fonts from the builder and
// from Debian's fonts, each with one field set to a value at the edge of its
// range or of the file, and the outcome recorded for it by hand.

#include <string>
#include <vector>

#include "font_builder.h"
#include "font_samples.h"
#include "loader_choice.h"

namespace tavrel::test {

// What opening the file adds: no entry at all, or these names in this order
// ({u""} is one face listed under the empty name).
using Listed = std::vector<std::u16string>;
inline const Listed kNothingAdded{};
inline const Listed kEmptyName{u""};

struct MalformedFont {
    std::string what;  // the subject and the damage, e.g. "sfnt: numTables = 0xFFFF"
    FontLoader loader;
    ByteVector bytes;
    Listed expected;
    // For cases of the tables a face's details come from: the details of the
    // undamaged font (SummaryItems) and what the damage changes (Difference).
    std::vector<std::string> infoBefore;
    std::string infoChange;
};

// Damaged copies of fonts made by the builder.
std::vector<MalformedFont> MalformedBuilderFonts();

// Damaged copies of the font samples made from Debian's fonts.
std::vector<MalformedFont> MalformedSampleFonts(const std::vector<FontSample>& samples);

}  // namespace tavrel::test
