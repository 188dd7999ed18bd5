#include "color_glyphs.h"

#include <hb-ot.h>
#include <hb.h>

#include <algorithm>
#include <memory>

namespace tavrel {

namespace {

constexpr unsigned kTextColorIndex = 0xFFFF;
// More layers than any real glyph has; a hostile COLR cannot make us take more.
constexpr unsigned kMaxLayers = 4096;

hb_face_t* FaceOf(const ShapingFace& face) { return hb_font_get_face(face.Font()); }

}  // namespace

bool HasColorGlyphs(const ShapingFace& face) {
    return hb_ot_color_has_layers(FaceOf(face)) || hb_ot_color_has_png(FaceOf(face));
}

std::vector<ColorLayer> ColorLayersOf(const ShapingFace& face, std::uint32_t glyph) {
    hb_face_t* hbFace = FaceOf(face);
    const unsigned total = hb_ot_color_glyph_get_layers(hbFace, glyph, 0, nullptr, nullptr);
    if (total == 0) return {};
    std::vector<hb_ot_color_layer_t> layers(std::min(total, kMaxLayers));
    unsigned count = unsigned(layers.size());
    hb_ot_color_glyph_get_layers(hbFace, glyph, 0, &count, layers.data());
    std::vector<hb_color_t> palette(hb_ot_color_palette_get_colors(hbFace, 0, 0, nullptr, nullptr));
    unsigned colors = unsigned(palette.size());
    if (colors) hb_ot_color_palette_get_colors(hbFace, 0, 0, &colors, palette.data());
    std::vector<ColorLayer> out;
    for (unsigned i = 0; i < count; ++i) {
        ColorLayer layer{layers[i].glyph, std::nullopt};
        const unsigned index = layers[i].color_index;
        if (index != kTextColorIndex && index < colors) {
            const hb_color_t c = palette[index];
            layer.argb = std::uint32_t(hb_color_get_alpha(c)) << 24 | std::uint32_t(hb_color_get_red(c)) << 16 |
                         std::uint32_t(hb_color_get_green(c)) << 8 | hb_color_get_blue(c);
        }
        out.push_back(layer);
    }
    return out;
}

std::vector<std::uint8_t> ColorPngOf(const ShapingFace& face, std::uint32_t glyph) {
    if (glyph >= face.GlyphCount()) return {};
    const std::unique_ptr<hb_blob_t, decltype(&hb_blob_destroy)> blob(
        hb_ot_color_glyph_reference_png(face.Font(), glyph), hb_blob_destroy);
    unsigned length = 0;
    const char* data = hb_blob_get_data(blob.get(), &length);
    if (!data || length == 0) return {};
    return std::vector<std::uint8_t>(data, data + length);
}

}  // namespace tavrel
