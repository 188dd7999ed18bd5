// Shaping every face HarfBuzz finds in each loader's image, as the 組版 page
// and tavrel-cli shape do: every feature of the face on, across and down, with
// the feature labels; the glyphs' outlines, colour layers and bitmaps at every
// axis's extremes and default, and the line filled into one picture as the
// library window draws its rows. Held to what the drawing relies on (ShapingFault).
#include "collection.h"
#include "face_info.h"
#include "feature_names.h"
#include "font_plan.h"
#include "fuzz_check.h"

namespace {

using namespace tavrel;

void ShapeFace(Bytes image, unsigned index, std::uint64_t offsetTable) {
    const FaceInfo info = DescribeFace(image, offsetTable);
    fuzz::RequireNoFault(test::ShapingFault(image, index, info));
    if (auto face = ShapingFace::Open(image, index))
        for (std::uint32_t tag : info.features) fuzz::Require(!FeatureLabel(face.value(), tag).empty(), "a label");
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
