#pragma once
// What the library's filters ask of a face, read once and kept small: the
// layout features for setting down and proportionally, variations, colour,
// the character sets it maps whole, and the numbers the library lists. The
// window and `tavrel-cli find` answer the same question through these.

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "byte_reader.h"

namespace tavrel {

enum FaceTraitFlag : std::uint16_t {
    kTraitVertical = 1 << 0,      // GSUB or GPOS has vert or vrt2
    kTraitProportional = 1 << 1,  // palt
    kTraitVariable = 1 << 2,      // fvar with at least one axis
    kTraitColor = 1 << 3,         // COLR, CBDT, sbix or SVG
    kTraitJoyo = 1 << 4,          // maps every character of the set
    kTraitJisLevel1 = 1 << 5,
    kTraitJisLevel2 = 1 << 6,
};

// 8 bytes a face: a library of ten thousand keeps them all.
struct FaceTraits {
    std::uint16_t flags = 0;
    std::uint16_t weightClass = 0;  // OS/2; 0 without one
    std::uint16_t widthClass = 0;   // OS/2; 0 without one
    std::uint16_t glyphCount = 0;   // maxp; 0 without one
};

// The face whose offset table is at `offsetTable` in `image`, read in place;
// a damaged table leaves its traits out.
FaceTraits ReadFaceTraits(Bytes image, std::uint64_t offsetTable);

// Every family, typographic family and full name of the face, in every
// language and platform the name table holds, each once: what a name filter
// matches besides the listed name.
std::vector<std::u16string> ReadFaceNames(Bytes image, std::uint64_t offsetTable);

// The distinct characters of `text` to look for, ascending, control
// characters and line breaks left out; a surrogate pair counts as one
// character beyond U+FFFF.
std::vector<char32_t> CharactersToFind(std::u16string_view text);

// Whether the face's best Unicode cmap subtable maps every character of
// `wanted` (ascending), read without holding its mappings.
bool MapsEveryCharacter(Bytes image, std::uint64_t offsetTable, std::span<const char32_t> wanted);

// The face's GSUB and GPOS feature tags together, sorted, each once.
std::vector<std::uint32_t> ReadFeatureTags(Bytes image, std::uint64_t offsetTable);

// Whether `tags` (sorted) hold `tag`; vert is also held through vrt2, as the
// vertical trait says.
bool HasFeature(std::span<const std::uint32_t> tags, std::uint32_t tag);

// The trait of a character set (CharacterSet::id), 0 for a set traits do not keep.
std::uint16_t TraitOfSet(std::string_view set);

}  // namespace tavrel
