#include "font_plan.h"

#include <algorithm>
#include <new>

#include "collection.h"
#include "full_name.h"
#include "sfnt_layout.h"
#include "woff.h"
#include "woff2_step.h"

namespace tavrel {

namespace {

void AddDistinct(FontPlan& plan, std::u16string name, std::uint32_t member) {
    if (std::find(plan.faceNames.begin(), plan.faceNames.end(), name) != plan.faceNames.end()) return;
    plan.faceNames.push_back(std::move(name));
    plan.faceMembers.push_back(member);
}

// Members 0 to 9 up to the first absent one, each under the name its own
// offset table and 'name' table give; the whole collection is registered for
// each. The layout has been checked, so no member needs copying out.
Result<FontPlan> PlanCollectionFaces(Bytes collection) {
    if (!IsCollection(collection)) return Failure{"not a font collection (no 'ttcf' tag)"};
    if (auto layout = CheckFontImage(collection); !layout) return Failure{layout.reason()};
    FontPlan plan;
    for (std::uint32_t i = 0; i < kMaxCollectionMembers; ++i) {
        auto member = ReadCollectionMember(collection, i);
        if (!member) break;
        std::u16string name;
        ReadFullName(name, collection, member->directory.at);
        AddDistinct(plan, std::move(name), i);
    }
    if (plan.faceNames.empty()) return Failure{"the collection holds no fonts"};
    return plan;
}

// A single face under the image's full name; a collection here is listed under the empty name.
Result<FontPlan> PlanSingleFace(Bytes image) {
    if (auto layout = CheckFontImage(image); !layout) return Failure{layout.reason()};
    FontPlan plan;
    plan.faceNames.push_back(ReadFaceName(image));
    return plan;
}

Result<FontPlan> PlanDecodedFaces(Result<DecodedImage> decoded) {
    if (!decoded) return Failure{decoded.reason()};
    const Bytes image = ImageBytes(decoded.value());
    auto plan = IsCollection(image) ? PlanCollectionFaces(image) : PlanSingleFace(image);
    if (plan) plan->decodedImage = std::move(decoded.value());
    return plan;
}

Result<FontPlan> PlanByLoader(FontLoader loader, Bytes file) {
    switch (loader) {
        case FontLoader::Collection:
            return PlanCollectionFaces(file);
        case FontLoader::Sfnt:
            return PlanSingleFace(file);
        case FontLoader::Woff:
            return PlanDecodedFaces(DecodeWoff(file));
        case FontLoader::Woff2:
            return PlanDecodedFaces(DecodeWoff2(file));
        case FontLoader::None:
            break;
    }
    return Failure{"not a font file extension"};
}

}  // namespace

// A decoded image, a collection's names or the woff2 library's own buffers may
// not fit in memory; what was taken is released as the exception unwinds. The
// reason fits the string's inline buffer, so reporting it needs no memory.
Result<FontPlan> PlanFontFile(FontLoader loader, Bytes file) {
    try {
        return PlanByLoader(loader, file);
    } catch (const std::bad_alloc&) {
        return Failure{kOutOfMemory};
    }
}

Bytes RegisteredImage(const FontPlan& plan, Bytes file) {
    return plan.decodedImage.empty() ? file : ImageBytes(plan.decodedImage);
}

}  // namespace tavrel
