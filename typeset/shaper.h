#pragma once
// A face's text set by HarfBuzz with chosen OpenType features, in font units
// (the font's scale is its units per em), across or down.

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "byte_reader.h"
#include "result.h"

struct hb_font_t;

namespace tavrel {

class InstanceGlyphs;

// The longest text shaped, in UTF-16 units (code points for UTF-32 text): a
// hostile face's lookups then cost in proportion to a bounded text.
constexpr std::size_t kMaxShapedText = 4096;

enum class TextDirection { LeftToRight, RightToLeft, TopToBottom, BottomToTop };

// One feature turned on (value 1 or an alternate's number) or off (0) over the
// whole text.
struct FeatureSetting {
    std::uint32_t tag = 0;
    std::uint32_t value = 1;
};

// HarfBuzz's feature syntax, comma-separated: "palt,-liga,jp90=1,aalt=2".
// Absent when any item does not parse. Ranges ("liga[3:5]") are not taken.
std::optional<std::vector<FeatureSetting>> ParseFeatureList(std::string_view list);

// A variable face's coordinate on one axis, in the axis's own units.
struct AxisSetting {
    std::uint32_t tag = 0;
    float value = 0;
};

// HarfBuzz's variation syntax, comma-separated: "wght=700,wdth=80". Absent
// when any item does not parse.
std::optional<std::vector<AxisSetting>> ParseVariationList(std::string_view list);

struct ShapedGlyph {
    std::uint32_t glyph = 0;
    std::uint32_t cluster = 0;  // index of the first text unit the glyph comes from
    std::int32_t xAdvance = 0, yAdvance = 0;
    std::int32_t xOffset = 0, yOffset = 0;
};

struct ShapeOptions {
    TextDirection direction = TextDirection::LeftToRight;
    std::optional<std::string> script;    // an ISO 15924 tag ("Jpan", "Latn"); guessed when absent
    std::optional<std::string> language;  // a BCP 47 tag ("ja"); guessed when absent
    std::span<const FeatureSetting> features;
};

// One face of a font image, ready to shape. Holds a reference to the image's
// bytes, which must outlive it; copies share the same HarfBuzz font.
class ShapingFace {
public:
    // Fails when HarfBuzz finds no face `index` in the image (a damaged
    // directory, a collection without that member, no glyphs).
    static Result<ShapingFace> Open(Bytes image, unsigned index);

    // The instance to shape and draw: axes not named stay at their defaults,
    // and values are clamped to each axis's range. Copies share the instance.
    void SetVariations(std::span<const AxisSetting> axes) const;

    unsigned UnitsPerEm() const;
    unsigned GlyphCount() const;
    // Above and below the baseline of a line set across, in font units (both
    // positive for a face whose descender is below the baseline).
    std::int32_t Ascender() const;
    std::int32_t Descender() const;
    // The box of the glyph's ink (a bitmap glyph's too) at the current
    // instance, in font units, y up; absent for an empty glyph.
    struct Extents {
        std::int32_t left, top, width, height;  // height is negative: the box runs down from `top`
    };
    std::optional<Extents> GlyphExtents(std::uint32_t glyph) const;
    // The glyph's advance across at the current instance, in font units.
    std::int32_t HorizontalAdvance(std::uint32_t glyph) const;
    // A copy of one of the face's tables, empty when it has none.
    std::vector<std::uint8_t> TableData(std::uint32_t tag) const;
    // The glyph the face's cmap gives the character, absent when it has none.
    std::optional<std::uint32_t> NominalGlyph(char32_t c) const;
    hb_font_t* Font() const { return font_.get(); }
    // Its glyphs' outlines and masks at the current instance, kept for
    // drawing them again; shared by copies, as the instance is.
    InstanceGlyphs& Glyphs() const { return *glyphs_; }

private:
    explicit ShapingFace(std::shared_ptr<hb_font_t> font);
    std::shared_ptr<hb_font_t> font_;
    std::shared_ptr<InstanceGlyphs> glyphs_;
};

// The whole text shaped in one direction, as HarfBuzz's own tools do; clusters
// count UTF-16 units or code points. Fails for a text longer than kMaxShapedText
// or an unknown script or language tag.
Result<std::vector<ShapedGlyph>> ShapeText(const ShapingFace& face, std::u16string_view text,
                                           const ShapeOptions& options);
Result<std::vector<ShapedGlyph>> ShapeText(const ShapingFace& face, std::u32string_view text,
                                           const ShapeOptions& options);

// A run of a line as the window draws it.
struct ShapedRun {
    bool sideways = false;  // set across and turned a quarter clockwise within a vertical line
    std::vector<ShapedGlyph> glyphs;
};

// A line set across (one run) or down: runs of characters whose vertical
// orientation is R are set across and turned sideways, the rest stand upright
// and are set top to bottom. A mark, a variation selector or a joiner stays in
// the run of the character before it. Clusters count UTF-16 units of `text`.
Result<std::vector<ShapedRun>> SetLine(const ShapingFace& face, std::u16string_view text,
                                       std::span<const FeatureSetting> features, bool down);

}  // namespace tavrel
