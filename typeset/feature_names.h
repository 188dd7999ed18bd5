#pragma once
// What a person calls a face's OpenType features: the font's own names for
// stylistic sets and character variants, else the registry's, in Japanese for
// the features of Chinese, Japanese and Korean type.

#include <cstdint>
#include <string>

#include "shaper.h"

namespace tavrel {

// The tag, two spaces and its name ("palt  プロポーショナル幅"); the tag alone
// when it has no name.
std::u16string FeatureLabel(const ShapingFace& face, std::uint32_t tag);

// Whether HarfBuzz applies the feature unasked in a line set across (`down`
// false) or down: the caller turns it off to see the text without it.
bool FeatureOnByDefault(std::uint32_t tag, bool down);

}  // namespace tavrel
