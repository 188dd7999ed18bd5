#pragma once
// The face the details dialog is about, read whole from where it came from:
// the image GDI registered for it (a decoded web font too) and its index there.

#include <atomic>
#include <cstdint>
#include <map>
#include <optional>
#include <utility>
#include <vector>

#include "character_glyphs.h"
#include "face_details.h"
#include "feature_changes.h"
#include "face_info.h"
#include "font_file_win32.h"
#include "font_plan.h"
#include "loader_choice.h"
#include "mapped_file.h"

namespace tavrel {

struct SubjectFace {
    std::optional<MappedFile> mapped;  // the file, mapped: only what is read is read
    FontImage installed;  // an installed font's bytes as GDI gives them
    FontPlan plan;   // holds the decoded image of a web font
    std::uint32_t index = 0;  // the member, for HarfBuzz; 0 outside a collection
    std::uint64_t offsetTable = 0;  // the member's, inside the image
    FontLoader loader = FontLoader::None;  // as the file or the installed font was read
    FaceInfo info;  // read quickly: no feature change counts

    Bytes FileBytes() const { return mapped ? mapped->bytes() : installed.bytes(); }
    // The image the face was registered from.
    Bytes Image() const { return RegisteredImage(plan, FileBytes()); }
};

// Nothing when the face is not listed, the file is gone or unreadable, no
// longer holds the face, or the installed face cannot be read. An installed collection's member is the
// one bearing the face's full or family name, else the first.
std::optional<SubjectFace> ReadSubjectFace(const DetailsSubject& subject);

// A listed file's face at its member (0 outside a collection), without the
// report or the check of its name: enough to shape it. Nothing for a source
// without a path (an installed face is found by its name), or a file that is
// gone or no longer reads.
std::optional<SubjectFace> ReadFaceFile(const FaceSource& source);

// What each feature of the face changes: each character whose glyph the
// feature replaces or moves, with the glyph it becomes. Ends early, with the
// features so far, once `stop` is set.
std::map<std::uint32_t, std::vector<CharacterChange>> EveryFeatureChange(const SubjectFace& face,
                                                                         const std::atomic<bool>& stop);

// What the pages say of a face whose colours are only in COLR version 1 or
// SVG, which HarfBuzz 6 cannot paint; empty for any other face.
std::wstring UnpaintedColorNote(const FaceInfo& info);

// What the character grid shows of the face: its code points (the best
// Unicode subtable's, ascending) and which of them have variation sequences.
struct SubjectCharacters {
    std::vector<char32_t> codePoints;
    std::vector<std::pair<char32_t, std::uint32_t>> sequences;  // bases with sequences, ascending, and how many
};

// Empty for a face without a readable Unicode subtable; `glyphs` is what
// ReadFaceCharacterGlyphs read of the same face.
SubjectCharacters CharactersOf(const SubjectFace& face, const FaceCharacterGlyphs& glyphs);

}  // namespace tavrel
