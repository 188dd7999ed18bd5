#include "shaper.h"

#include <hb.h>

#include <limits>

#include "glyph_masks.h"
#include "vertical_orientation.h"

namespace tavrel {

namespace {

using BufferPointer = std::unique_ptr<hb_buffer_t, decltype(&hb_buffer_destroy)>;

hb_direction_t HarfBuzzDirection(TextDirection direction) {
    switch (direction) {
        case TextDirection::RightToLeft: return HB_DIRECTION_RTL;
        case TextDirection::TopToBottom: return HB_DIRECTION_TTB;
        case TextDirection::BottomToTop: return HB_DIRECTION_BTT;
        case TextDirection::LeftToRight: break;
    }
    return HB_DIRECTION_LTR;
}

std::vector<hb_feature_t> HarfBuzzFeatures(std::span<const FeatureSetting> features) {
    std::vector<hb_feature_t> out;
    for (const FeatureSetting& f : features)
        out.push_back({f.tag, f.value, HB_FEATURE_GLOBAL_START, HB_FEATURE_GLOBAL_END});
    return out;
}

// The buffer's direction, script and language: given ones first, the rest guessed.
Check SetProperties(hb_buffer_t* buffer, const ShapeOptions& options) {
    hb_buffer_set_direction(buffer, HarfBuzzDirection(options.direction));
    if (options.script) {
        const hb_script_t script = hb_script_from_string(options.script->data(), int(options.script->size()));
        if (script == HB_SCRIPT_INVALID || script == HB_SCRIPT_UNKNOWN)
            return Failure{"unknown script '" + *options.script + "'"};
        hb_buffer_set_script(buffer, script);
    }
    if (options.language) {
        const hb_language_t language = hb_language_from_string(options.language->data(), int(options.language->size()));
        if (language == HB_LANGUAGE_INVALID) return Failure{"unknown language '" + *options.language + "'"};
        hb_buffer_set_language(buffer, language);
    }
    hb_buffer_guess_segment_properties(buffer);
    return Passed();
}

Result<std::vector<ShapedGlyph>> Shape(const ShapingFace& face, hb_buffer_t* buffer, const ShapeOptions& options) {
    if (auto set = SetProperties(buffer, options); !set) return Failure{set.reason()};
    const std::vector<hb_feature_t> features = HarfBuzzFeatures(options.features);
    // OpenType's shaper, as the program's own HarfBuzz builds have no other: a
    // system HarfBuzz would hand a face with Graphite tables to libgraphite2.
    static const char* const kShapers[] = {"ot", "fallback", nullptr};
    hb_shape_full(face.Font(), buffer, features.data(), unsigned(features.size()), kShapers);
    if (!hb_buffer_allocation_successful(buffer)) return Failure{kOutOfMemory};
    unsigned count = 0;
    const hb_glyph_info_t* info = hb_buffer_get_glyph_infos(buffer, &count);
    const hb_glyph_position_t* position = hb_buffer_get_glyph_positions(buffer, nullptr);
    std::vector<ShapedGlyph> glyphs(count);
    for (unsigned i = 0; i < count; ++i)
        glyphs[i] = {info[i].codepoint,       info[i].cluster,         position[i].x_advance,
                     position[i].y_advance,   position[i].x_offset,    position[i].y_offset};
    return glyphs;
}

BufferPointer NewBuffer() { return BufferPointer(hb_buffer_create(), hb_buffer_destroy); }

Failure TooLong() { return Failure{"the text is longer than " + std::to_string(kMaxShapedText) + " units"}; }

// Characters that belong with the one before them whatever their orientation.
bool JoinsPrevious(char32_t c) {
    switch (hb_unicode_general_category(hb_unicode_funcs_get_default(), c)) {
        case HB_UNICODE_GENERAL_CATEGORY_NON_SPACING_MARK:
        case HB_UNICODE_GENERAL_CATEGORY_SPACING_MARK:
        case HB_UNICODE_GENERAL_CATEGORY_ENCLOSING_MARK:
        case HB_UNICODE_GENERAL_CATEGORY_FORMAT: return true;
        default: return false;
    }
}

// The code point at text[i], moving i past it; a lone surrogate is itself.
char32_t NextUtf16(std::u16string_view text, std::size_t& i) {
    const char16_t unit = text[i++];
    if (unit >= 0xD800 && unit < 0xDC00 && i < text.size() && text[i] >= 0xDC00 && text[i] < 0xE000)
        return 0x10000 + ((char32_t(unit) - 0xD800) << 10) + (text[i++] - 0xDC00);
    return unit;
}

struct Span {
    std::size_t start, length;
    bool sideways;
};

std::vector<Span> OrientationRuns(std::u16string_view text) {
    std::vector<Span> runs;
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t start = i;
        const char32_t c = NextUtf16(text, i);
        const bool sideways = IsSetSideways(c);
        if (!runs.empty() && (runs.back().sideways == sideways || JoinsPrevious(c)))
            runs.back().length += i - start;
        else
            runs.push_back({start, i - start, sideways});
    }
    return runs;
}

}  // namespace

// The items of a comma-separated list, each read by `parse`; absent when one
// does not parse, is empty, or a comma ends the list.
template <class Item, class Parse>
std::optional<std::vector<Item>> ParseList(std::string_view list, Parse parse) {
    std::vector<Item> items;
    while (!list.empty()) {
        const std::size_t comma = list.find(',');
        const std::optional<Item> item = parse(list.substr(0, comma));
        if (!item) return std::nullopt;
        items.push_back(*item);
        if (comma == std::string_view::npos) break;
        list.remove_prefix(comma + 1);
        if (list.empty()) return std::nullopt;
    }
    return items;
}

std::optional<std::vector<FeatureSetting>> ParseFeatureList(std::string_view list) {
    return ParseList<FeatureSetting>(list, [](std::string_view item) -> std::optional<FeatureSetting> {
        hb_feature_t feature{};
        if (item.find('[') != std::string_view::npos || !hb_feature_from_string(item.data(), int(item.size()), &feature))
            return std::nullopt;
        return FeatureSetting{feature.tag, feature.value};
    });
}

std::optional<std::vector<AxisSetting>> ParseVariationList(std::string_view list) {
    return ParseList<AxisSetting>(list, [](std::string_view item) -> std::optional<AxisSetting> {
        hb_variation_t variation{};
        if (!hb_variation_from_string(item.data(), int(item.size()), &variation)) return std::nullopt;
        return AxisSetting{variation.tag, variation.value};
    });
}

void ShapingFace::SetVariations(std::span<const AxisSetting> axes) const {
    std::vector<hb_variation_t> variations;
    for (const AxisSetting& axis : axes) variations.push_back({axis.tag, axis.value});
    hb_font_set_variations(font_.get(), variations.data(), unsigned(variations.size()));
    glyphs_->Clear();
}

ShapingFace::ShapingFace(std::shared_ptr<hb_font_t> font)
    : font_(std::move(font)), glyphs_(std::make_shared<InstanceGlyphs>()) {}

Result<ShapingFace> ShapingFace::Open(Bytes image, unsigned index) {
    if (image.size() > std::numeric_limits<unsigned>::max()) return Failure{"the font is too large"};
    hb_blob_t* blob = hb_blob_create_or_fail(reinterpret_cast<const char*>(image.data()), unsigned(image.size()),
                                             HB_MEMORY_MODE_READONLY, nullptr, nullptr);
    if (!blob) return Failure{kOutOfMemory};
    hb_face_t* face = hb_face_create(blob, index);
    hb_blob_destroy(blob);
    std::shared_ptr<hb_font_t> font(hb_font_create(face), hb_font_destroy);
    const unsigned glyphs = hb_face_get_glyph_count(face);
    hb_face_destroy(face);
    if (glyphs == 0) return Failure{"HarfBuzz finds no glyphs in face " + std::to_string(index)};
    return ShapingFace(std::move(font));
}

unsigned ShapingFace::UnitsPerEm() const { return hb_face_get_upem(hb_font_get_face(font_.get())); }
std::optional<ShapingFace::Extents> ShapingFace::GlyphExtents(std::uint32_t glyph) const {
    hb_glyph_extents_t extents{};
    if (!hb_font_get_glyph_extents(font_.get(), glyph, &extents) || extents.width == 0 || extents.height == 0)
        return std::nullopt;
    return Extents{extents.x_bearing, extents.y_bearing, extents.width, extents.height};
}

std::vector<std::uint8_t> ShapingFace::TableData(std::uint32_t tag) const {
    hb_blob_t* blob = hb_face_reference_table(hb_font_get_face(font_.get()), tag);
    unsigned size = 0;
    const auto* data = reinterpret_cast<const std::uint8_t*>(hb_blob_get_data(blob, &size));
    std::vector<std::uint8_t> bytes(data, data + (data ? size : 0));
    hb_blob_destroy(blob);
    return bytes;
}

std::int32_t ShapingFace::HorizontalAdvance(std::uint32_t glyph) const {
    return hb_font_get_glyph_h_advance(font_.get(), glyph);
}

std::int32_t ShapingFace::Ascender() const {
    hb_font_extents_t extents{};
    hb_font_get_h_extents(font_.get(), &extents);
    return extents.ascender;
}

std::int32_t ShapingFace::Descender() const {
    hb_font_extents_t extents{};
    hb_font_get_h_extents(font_.get(), &extents);
    return -extents.descender;
}

std::optional<std::uint32_t> ShapingFace::NominalGlyph(char32_t c) const {
    hb_codepoint_t glyph = 0;
    if (!hb_font_get_nominal_glyph(font_.get(), c, &glyph) || glyph == 0) return std::nullopt;
    return glyph;
}

unsigned ShapingFace::GlyphCount() const { return hb_face_get_glyph_count(hb_font_get_face(font_.get())); }

Result<std::vector<ShapedGlyph>> ShapeText(const ShapingFace& face, std::u16string_view text,
                                           const ShapeOptions& options) {
    if (text.size() > kMaxShapedText) return TooLong();
    const BufferPointer buffer = NewBuffer();
    hb_buffer_add_utf16(buffer.get(), reinterpret_cast<const std::uint16_t*>(text.data()), int(text.size()), 0,
                        int(text.size()));
    return Shape(face, buffer.get(), options);
}

Result<std::vector<ShapedGlyph>> ShapeText(const ShapingFace& face, std::u32string_view text,
                                           const ShapeOptions& options) {
    if (text.size() > kMaxShapedText) return TooLong();
    const BufferPointer buffer = NewBuffer();
    hb_buffer_add_utf32(buffer.get(), reinterpret_cast<const std::uint32_t*>(text.data()), int(text.size()), 0,
                        int(text.size()));
    return Shape(face, buffer.get(), options);
}

Result<std::vector<ShapedRun>> SetLine(const ShapingFace& face, std::u16string_view text,
                                       std::span<const FeatureSetting> features, bool down) {
    if (text.size() > kMaxShapedText) return TooLong();
    const std::vector<Span> spans =
        down ? OrientationRuns(text) : std::vector<Span>{{0, text.size(), false}};
    std::vector<ShapedRun> runs;
    for (const Span& span : spans) {
        const BufferPointer buffer = NewBuffer();
        // The whole line is the context, so a run's edges shape as they would inside it.
        hb_buffer_add_utf16(buffer.get(), reinterpret_cast<const std::uint16_t*>(text.data()), int(text.size()),
                            unsigned(span.start), int(span.length));
        ShapeOptions options;
        options.direction = down && !span.sideways ? TextDirection::TopToBottom : TextDirection::LeftToRight;
        options.features = features;
        auto glyphs = Shape(face, buffer.get(), options);
        if (!glyphs) return Failure{glyphs.reason()};
        runs.push_back({down && span.sideways, std::move(glyphs.value())});
    }
    return runs;
}

}  // namespace tavrel
