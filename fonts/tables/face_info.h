#pragma once
// What a face is: the fields of its head, hhea, maxp, OS/2, post, name, cmap,
// fvar, GSUB and GPOS tables, and whether it has vertical metrics and origins. A field is absent when its table is missing or
// damaged; a damaged table also adds a line to `problems` and never makes the
// rest of the face unreadable.

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "byte_reader.h"
#include "variation_sequences.h"

namespace tavrel {

enum class Outlines { TrueType, Cff, Cff2 };

struct VariationAxis {
    std::uint32_t tag = 0;
    double minimum = 0, defaultValue = 0, maximum = 0;
    std::optional<std::u16string> name;  // through the axis's name ID
};

struct NamedInstance {
    std::optional<std::u16string> name;  // through the instance's subfamily name ID
    std::vector<std::pair<std::uint32_t, double>> coordinates;  // axis tag and value, in axis order
};

struct FaceInfo {
    // The name the face box lists for this face (the full-name picker's choice).
    std::optional<std::u16string> fullName;
    // Every name ID present, each through the same language and platform
    // preference as the full name, with the record's whole text, line breaks kept.
    std::map<std::uint16_t, std::u16string> names;
    std::optional<Outlines> outlines;
    std::optional<std::string> ros;            // CFF, when CID-keyed: "Adobe-Japan1-6"
    std::optional<std::uint16_t> unitsPerEm;   // head
    std::optional<std::uint16_t> glyphCount;   // maxp
    std::optional<std::uint16_t> weightClass;  // OS/2
    std::optional<std::uint16_t> widthClass;   // OS/2
    std::optional<std::uint16_t> fsType;       // OS/2
    std::optional<std::string> vendorId;       // OS/2 achVendID, four characters
    std::optional<double> italicAngle;         // post, from 16.16 fixed
    std::optional<bool> fixedPitch;            // post isFixedPitch != 0
    // The best Unicode cmap subtable's code points, ascending, each once, those
    // mapped to glyph 0 left out; absent without a readable Unicode subtable.
    std::optional<std::vector<char32_t>> codePoints;
    std::vector<VariationAxis> axes;
    std::vector<NamedInstance> instances;
    std::vector<std::uint32_t> features;  // GSUB and GPOS feature tags, sorted, each once
    // Each tag of `features`, in that order, with how many characters of the
    // best Unicode cmap subtable it changes (see CountFeatureChanges).
    std::vector<std::pair<std::uint32_t, std::size_t>> featureChanges;
    // The cmap's format 14 subtable: all 0 without one; absent when it is
    // damaged, or the face has no cmap.
    std::optional<VariationSequenceCounts> variationSequences;
    bool verticalMetrics = false;  // both vhea and vmtx
    bool verticalOrigins = false;  // VORG
    std::vector<std::string_view> colorFormats;  // ReadColorFormats's
    std::vector<std::string> problems;    // one short line per damaged table
};

// How much of a face to read: all of it, or all but what takes long on a large
// face (how many characters each feature changes, which Quick leaves empty
// while still listing the features; a report's coverage).
enum class ReportDepth { Whole, Quick };

// Reads the face whose offset table is at `offsetTableOffset` in `image` (0 for
// a standalone font; a collection member's own offset inside its collection,
// whose table offsets count from the start of the collection). Reads in place:
// nothing of the image is copied.
FaceInfo DescribeFace(Bytes image, std::uint64_t offsetTableOffset, ReportDepth depth = ReportDepth::Whole);

}  // namespace tavrel
