#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "shaper.h"

namespace tavrel {

// Each returns the process exit status. A folder among the paths stands for
// the font files under it, in Explorer's order.
int RunNamesCommand(const std::vector<std::string>& paths);
// Writes the image tavrel registers for `in`, or one member of it, to `out`.
int RunDecodeCommand(const std::string& in, const std::string& out, std::optional<std::uint32_t> member);

struct InfoOptions {
    std::string file;  // or a folder
    std::optional<std::uint32_t> member;
    std::optional<std::string> text;  // UTF-8
    bool json = false;
};
// Prints the details of every face tavrel would list for the file, or of one member.
int RunInfoCommand(const InfoOptions& options);

struct ShapeCommandOptions {
    std::string file;
    std::string text;  // UTF-8
    std::optional<std::uint32_t> member;
    std::vector<FeatureSetting> features;
    std::vector<AxisSetting> variations;
    ShapeOptions shape;  // direction, script and language
    bool json = false;
};
// Prints the glyphs HarfBuzz sets for the text in one face of the file.
int RunShapeCommand(const ShapeCommandOptions& options);

struct GlyphCommandOptions {
    std::string file;
    std::string text;  // UTF-8; its first character is looked up
    std::optional<std::uint32_t> member;
    std::vector<AxisSetting> variations;
    bool json = false, svg = false;
};
// Prints the glyph the best cmap subtable gives the text's first character.
int RunGlyphCommand(const GlyphCommandOptions& options);

struct FindOptions {
    std::string text;  // UTF-8; may hold no character when a filter is given
    std::vector<std::string> paths;
    std::vector<std::uint32_t> features;  // each present (vert also through vrt2)
    std::uint16_t traits = 0;             // FaceTraitFlag, each held
    bool json = false;
};
// Prints the faces, in path order, whose best cmap subtable maps every
// character of the text and that pass every filter.
int RunFindCommand(const FindOptions& options);

struct CharCommandOptions {
    std::string file;
    std::string text;  // UTF-8; a variation selector belongs to the character before it
    std::optional<std::uint32_t> member;
    bool json = false;
};
// Prints who each character of the text is and what the face gives it.
int RunCharCommand(const CharCommandOptions& options);

// "tavrel-cli: FILE: REASON" on standard error.
void ReportFile(const std::string& file, const std::string& reason);

}  // namespace tavrel
