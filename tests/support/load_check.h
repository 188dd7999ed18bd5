#pragma once
// One load of a file's bytes as the window would do it, with every invariant
// of what would be registered checked and the heap it took measured: shared
// by the fuzz targets and the hostile-file tests.

#include <cstdint>
#include <string>
#include <vector>

#include "face_info.h"
#include "loader_choice.h"
#include "registration_invariants.h"

namespace tavrel::test {

struct LoadOutcome {
    bool added = false;                // the file adds at least one face
    std::vector<std::u16string> names;  // the faces it lists, in order
    std::size_t decodedSize = 0;       // bytes of the decoded image, 0 when the file itself is registered
    std::size_t peakHeap = 0;          // most heap bytes live at once during the load
    std::string refusal;               // why the file adds nothing
    std::string fault;                 // empty when every invariant held
};

// The details and coverage of the face at offset 0 and of a collection's first ten members, and their
// shaping: the first broken invariant or heap beyond the info budget (docs/hostile-files.md), if any.
std::string InfoFault(Span image);

// Face `index` of the image set by HarfBuzz across and down with every one of
// the face's features on, and its glyphs' outlines drawn and colours read at
// the minimum, default and maximum of every axis: the first broken rule of what
// the drawing relies on (clusters inside the text, a bounded glyph count, pen
// positions and outline points in range), if any.
std::string ShapingFault(Span image, unsigned index, const FaceInfo& info);

// Reads `file` into memory as the loader would, plans its faces, and checks
// the outcome: names, the image to register, the heap budget; then reads the
// details of the registered image's faces (of the file when it adds nothing).
LoadOutcome LoadAndCheck(FontLoader loader, Span file);

}  // namespace tavrel::test
