#pragma once
// Which characters a vertical line turns sideways, from Unicode's
// Vertical_Orientation property (generated at build time).

namespace tavrel {

// True for R (Latin letters, digits, most punctuation of the West): such runs
// are set across and turned a quarter clockwise; false for U, Tu and Tr, which
// stand upright (kana, kanji, the fullwidth forms).
bool IsSetSideways(char32_t c);

}  // namespace tavrel
