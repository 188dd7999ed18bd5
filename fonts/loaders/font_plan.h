#pragma once
// What opening a font file adds: the faces it lists, in order, and the image
// registered once for each of them. Everything a file's bytes decide is here;
// the window only registers and lists what the plan says.

#include <cstdint>
#include <string>
#include <vector>

#include "byte_reader.h"
#include "decoded_image.h"
#include "loader_choice.h"
#include "result.h"

namespace tavrel {

struct FontPlan {
    // Distinct names, in the order the loader finds them; may hold the empty name.
    std::vector<std::u16string> faceNames;
    // For a collection, the member each listed face is read from (the first
    // member under that name), entry for entry with `faceNames`; empty otherwise.
    std::vector<std::uint32_t> faceMembers;
    // The decoded font for WOFF and WOFF2 files, moved here from the decoder
    // without a copy; empty when the file's own bytes are registered.
    DecodedImage decodedImage;
};

// Fails, saying why, when the file adds nothing: an unknown loader, a damaged
// or truncated file, a decoder failure, a collection without members, memory
// running out (kOutOfMemory).
Result<FontPlan> PlanFontFile(FontLoader loader, Bytes file);

// The bytes to register for each face of `plan` made from `file`.
Bytes RegisteredImage(const FontPlan& plan, Bytes file);

}  // namespace tavrel
