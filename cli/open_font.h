#pragma once
// A font file mapped and planned as the window opens it, shared by every command.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

#include "font_plan.h"
#include "loader_choice.h"
#include "mapped_file.h"
#include "result.h"

namespace tavrel {

// The file mapped read-only, not yet planned, with the loader its extension picks.
struct MappedFont {
    FontLoader loader = FontLoader::None;
    MappedFile file;
};

// Fails with the reason the command reports: an extension no loader reads, or
// a path that is not a regular file or cannot be read.
Result<MappedFont> MapFont(const std::string& file);
Result<MappedFont> MapFont(const std::filesystem::path& path);

struct OpenedFont {
    MappedFile file;
    FontPlan plan;

    // The bytes the window would register for each of its faces.
    Bytes RegisteredBytes() const { return RegisteredImage(plan, file.bytes()); }
};

// One face of an opened font: its index for HarfBuzz, and where its offset
// table lies in the registered image.
struct FaceAt {
    unsigned index = 0;
    std::uint64_t offsetTable = 0;
};

// Member `member` of a collection (0 when not given), else the font itself;
// fails for a member the collection lacks, and for a member of a non-collection.
Result<FaceAt> FindFace(const OpenedFont& font, std::optional<std::uint32_t> member);

// As MapFont, and also fails for a file that adds nothing.
Result<OpenedFont> OpenFont(const std::string& file);
Result<OpenedFont> OpenFont(const std::filesystem::path& path);

}  // namespace tavrel
