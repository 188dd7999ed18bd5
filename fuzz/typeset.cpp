// Shaping any face HarfBuzz finds in each loader's image, as the 組版 page and
// tavrel-cli shape do: every feature of the face on, across and down, with its
// labels. Holds the results to what the drawing relies on: clusters inside the
// text, a bounded glyph count, and pen positions that fit when scaled to pixels.
#include <algorithm>
#include <cstdlib>

#include "collection.h"
#include "face_info.h"
#include "feature_names.h"
#include "font_plan.h"
#include "fuzz_check.h"
#include "shaper.h"

namespace {

using namespace tavrel;

constexpr char16_t kText[] = u"Aa ffi 永遠の𠮷野家、「縦書き」ｶﾅ\u0301\uFE00\U000E0100";

void CheckGlyphs(const std::vector<ShapedGlyph>& glyphs, std::size_t textLength) {
    fuzz::Require(glyphs.size() <= std::max<std::size_t>(64 * textLength, 16384), "a bounded glyph count");
    std::int64_t x = 0, y = 0;
    for (const ShapedGlyph& g : glyphs) {
        fuzz::Require(g.cluster < textLength, "clusters lie inside the text");
        x += g.xAdvance;
        y += g.yAdvance;
        // At 1,000 pixels per em and 16 units per em, still inside an int.
        fuzz::Require(std::llabs(x) < (std::int64_t{1} << 40) && std::llabs(y) < (std::int64_t{1} << 40),
                      "pen positions stay in range");
    }
}

void ShapeFace(Bytes image, unsigned index, std::uint64_t offsetTable) {
    auto opened = ShapingFace::Open(image, index);
    if (!opened) return;
    const ShapingFace& face = opened.value();
    const FaceInfo info = DescribeFace(image, offsetTable);
    std::vector<FeatureSetting> all;
    for (std::uint32_t tag : info.features) {
        all.push_back({tag, 1});
        fuzz::Require(!FeatureLabel(face, tag).empty(), "every feature has a label");
    }
    const std::u16string_view text(kText);
    for (bool down : {false, true}) {
        auto runs = SetLine(face, text, all, down);
        fuzz::Require(runs.ok(), "a bounded text always sets");
        for (const ShapedRun& run : runs.value()) CheckGlyphs(run.glyphs, text.size());
    }
    ShapeOptions options;
    options.direction = TextDirection::BottomToTop;
    options.features = all;
    if (auto glyphs = ShapeText(face, text, options)) CheckGlyphs(glyphs.value(), text.size());
}

void ShapeAs(FontLoader loader, Bytes input) {
    auto plan = PlanFontFile(loader, input);
    if (!plan) return;
    const Bytes image = RegisteredImage(plan.value(), input);
    if (plan->faceMembers.empty()) return ShapeFace(image, 0, 0);
    for (std::uint32_t member : plan->faceMembers)
        if (auto read = ReadCollectionMember(image, member)) ShapeFace(image, member, read->directory.at);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const Bytes input(data, size);
    for (FontLoader loader : {FontLoader::Sfnt, FontLoader::Collection, FontLoader::Woff, FontLoader::Woff2})
        ShapeAs(loader, input);
    return 0;
}
