#include "load_check.h"

#include <algorithm>
#include <cstdlib>
#include <optional>
#include <tuple>

#include "cff_table.h"
#include "collection.h"
#include "coverage.h"
#include "face_info.h"
#include "face_traits.h"
#include "font_plan.h"
#include "heap_meter.h"
#include "color_glyphs.h"
#include "glyph_outline.h"
#include "glyph_masks.h"
#include "line_picture.h"
#include "shaper.h"

namespace tavrel::test {

namespace {

constexpr std::uint64_t kMiB = 1 << 20;
constexpr std::size_t kMaxFaces = 10, kMaxNameUnits = 259;

std::string NamesFault(const std::vector<std::u16string>& names, bool oneFace) {
    if (names.empty()) return "a plan without faces";
    if (names.size() > (oneFace ? 1 : kMaxFaces)) return std::to_string(names.size()) + " faces";
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (names[i].size() > kMaxNameUnits) return "a name of " + std::to_string(names[i].size()) + " units";
        if (names[i].find(u'\0') != std::u16string::npos) return "a name holding NUL";
        if (std::find(names.begin(), names.begin() + i, names[i]) != names.begin() + i) return "a name listed twice";
    }
    return {};
}

std::string PlanFault(FontLoader loader, Span file, const FontPlan& plan) {
    const bool decodes = loader == FontLoader::Woff || loader == FontLoader::Woff2;
    const Bytes image = RegisteredImage(plan, file);
    if (decodes) {
        if (plan.decodedImage.empty()) return "a web font registered without decoding";
        if (plan.decodedImage.size() > kMaxDecodedImage) return "a decoded image above 30 MiB";
        if (image.data() != ImageBytes(plan.decodedImage).data()) return "registers something other than the decoded image";
    } else if (!plan.decodedImage.empty() || image.data() != file.data() || image.size() != file.size()) {
        return "registers something other than the file";
    }
    if (loader == FontLoader::Collection && !HasCollectionTag(file)) return "a collection without 'ttcf'";
    const bool oneFace = loader == FontLoader::Sfnt || (decodes && !HasCollectionTag(image));
    if (std::string fault = NamesFault(plan.faceNames, oneFace); !fault.empty()) return fault;
    return RegistrationFault(image);
}

// The largest image a file that failed to decode could have set aside: zlib
// inflates at most 1032 times its input (plus the records, 16 bytes for each
// 20-byte directory entry); the woff2 step is sized up front at no more than
// 100 times the file.
std::uint64_t LargestJustifiedImage(FontLoader loader, std::uint64_t input) {
    const std::uint64_t ratio = loader == FontLoader::Woff ? 1033 : loader == FontLoader::Woff2 ? 100 : 0;
    return std::min<std::uint64_t>(ratio * input, kMaxDecodedImage);
}

// A sample text with characters of every plane and a lone surrogate.
constexpr char16_t kSampleText[] = u"Aa\u00E9\u3042\u6F22\U0001F600\xD800\n";

// Code points ascending, each once, Unicode scalars; each feature changing at
// most every one of them; no set or text covered beyond its total.
std::string DetailsFault(const FaceInfo& info, std::u16string_view text) {
    static const std::vector<char32_t> none;
    const std::vector<char32_t>& points = info.codePoints ? *info.codePoints : none;
    if (std::adjacent_find(points.begin(), points.end(), std::greater_equal<>()) != points.end() ||
        (!points.empty() && points.back() > 0x10FFFF) ||
        std::any_of(points.begin(), points.end(), [](char32_t c) { return c >= 0xD800 && c <= 0xDFFF; }))
        return "code points not ascending Unicode scalars, each once";
    const auto fits = [&](const std::pair<std::uint32_t, std::size_t>& change, std::uint32_t tag) {
        return change.first == tag && change.second <= points.size();
    };
    if (!std::equal(info.featureChanges.begin(), info.featureChanges.end(), info.features.begin(), info.features.end(), fits))
        return "feature changes not one per feature, each of at most every code point";
    for (const SetCoverage& set : MeasureCoverage(points))
        if (set.covered > set.total) return "more of a set covered than it holds";
    return MeasureTextCoverage(points, text).covered > text.size() ? "more of a text covered than it holds" : "";
}

// A CID-keyed CFF's charset read whole: one CID per glyph, glyph 0's CID 0.
std::string CidsFault(Span image, std::uint64_t offsetTableOffset) {
    Problems problems;
    const auto cids = ReadCffCids(FaceTables(image, offsetTableOffset, problems).Find(Tag("CFF ")));
    return cids && (cids->empty() || cids->size() > 0x10000 || cids->front() != 0) ? "a charset not of one CID a glyph" : "";
}

// The library's traits and names of the face, held to what its details say.
std::string TraitsFault(Span image, std::uint64_t offset, const FaceInfo& info, const std::vector<char32_t>& points) {
    const auto color = std::count_if(info.colorFormats.begin(), info.colorFormats.end(), [](auto f) { return f != "CPAL"; });
    int flags = (info.axes.empty() ? 0 : kTraitVariable) | (color ? kTraitColor : 0) |
                (HasFeature(info.features, Tag("vert")) ? kTraitVertical : 0) | (HasFeature(info.features, Tag("palt")) ? kTraitProportional : 0);
    // std::includes stops at the first character missing: most damaged copies lack the first at once.
    for (const CharacterSet& set : CharacterSets())
        if (TraitOfSet(set.id) && std::includes(points.begin(), points.end(), set.codePoints.begin(), set.codePoints.end()))
            flags |= TraitOfSet(set.id);
    const std::vector<char32_t> wanted = CharactersToFind(u"A\u00E9\u6F22\U0001F600");
    const FaceTraits t = ReadFaceTraits(image, offset);
    const std::vector<std::u16string> names = ReadFaceNames(image, offset);  // sorted, each once, none empty
    const bool once = std::adjacent_find(names.begin(), names.end(), std::greater_equal<>()) == names.end() && !std::count(names.begin(), names.end(), u"");
    return std::tuple(t.flags, t.weightClass, t.widthClass, t.glyphCount, MapsEveryCharacter(image, offset, wanted), once) ==
                   std::tuple(flags, info.weightClass.value_or(0), info.widthClass.value_or(0), info.glyphCount.value_or(0),
                              std::includes(points.begin(), points.end(), wanted.begin(), wanted.end()), true)
               ? "" : "traits or names that disagree with the face's details";
}

std::string FaceInfoFault(Span image, std::uint64_t offsetTableOffset, unsigned index) {
    std::optional<HeapMeter> meter(std::in_place);
    const FaceInfo info = DescribeFace(image, offsetTableOffset);
    std::string fault = DetailsFault(info, kSampleText);
    static const std::vector<char32_t> none;
    if (fault.empty()) fault = TraitsFault(image, offsetTableOffset, info, info.codePoints ? *info.codePoints : none);
    if (fault.empty() && info.ros) fault = CidsFault(image, offsetTableOffset);
    const std::size_t peak = meter->Peak(), budget = 12 * image.size() + 6 * kMiB;  // docs/hostile-files.md
    meter.reset();
    if (fault.empty() && peak > budget) fault = "info took " + std::to_string(peak) + " bytes of heap, budget " + std::to_string(budget);
    return fault.empty() ? ShapingFault(image, index, info) : fault;
}

std::string GlyphsFault(const std::vector<ShapedGlyph>& glyphs, std::size_t textLength) {
    if (glyphs.size() > std::max<std::size_t>(64 * textLength, 16384)) return "an unbounded glyph count";
    std::int64_t x = 0, y = 0;
    for (const ShapedGlyph& g : glyphs) {
        if (g.cluster >= textLength) return "a cluster past the text";
        x += g.xAdvance;
        y += g.yAdvance;
        // At 1,000 pixels per em and 16 units per em, still inside an int.
        if (std::max(std::abs(x), std::abs(y)) >= std::int64_t{1} << 40) return "a pen position out of range";
    }
    return {};
}

// The most heap one load may take (docs/hostile-files.md): `input` bytes of
// file, `decoded` bytes of decoded image (for a load that fails, the largest
// image the file could justify), and for WOFF2 what the woff2 library needs
// beside the image: its Brotli output, which it refuses above 100 times the
// file, and Brotli's own window (up to 16 MiB, with the smaller one it
// outgrew still live while it grows) and tables.
std::uint64_t LoadHeapBudget(FontLoader loader, std::uint64_t input, std::uint64_t decoded) {
    return 2 * input + 3 * decoded + kMiB + (loader == FontLoader::Woff2 ? 100 * input + 26 * kMiB : 0);
}

}  // namespace

// The glyphs' outlines, layers and bitmaps at every axis's minimum, default and maximum.
std::string OutlinesFault(const ShapingFace& face, const FaceInfo& info, const std::vector<ShapedGlyph>& glyphs) {
    // A face without axes has one instance to draw.
    for (int extreme = info.axes.empty() ? 1 : 0; extreme < (info.axes.empty() ? 2 : 3); ++extreme) {
        std::vector<AxisSetting> axes;
        for (const VariationAxis& axis : info.axes)
            axes.push_back({axis.tag, float(extreme == 0 ? axis.minimum : extreme == 1 ? axis.defaultValue : axis.maximum)});
        face.SetVariations(axes);
        for (const ShapedGlyph& g : glyphs) {
            const auto outline = face.Glyphs().Outline(face, g.glyph);
            const auto bounds = OutlineBoundsOf(outline);
            if (outline.size() > kMaxPathCommands) return "an unbounded outline";
            // Kept as the window keeps it at 32 pixels an em.
            const GlyphMask* mask = face.Glyphs().Mask(face, g.glyph, 32.0 / std::max(face.UnitsPerEm(), 1u),
                                                       g.cluster % 2 == 1, g.cluster % kMaskPhases, 1);
            if (mask && (std::int64_t{mask->width} * mask->height > kMaxKeptMaskPixels ||
                         mask->coverage.size() != std::size_t(mask->width) * std::size_t(mask->height)))
                return "a kept mask of the wrong size";
            if (bounds && !(std::abs(bounds->xMin) < 1e9f && std::abs(bounds->yMin) < 1e9f &&
                            std::abs(bounds->xMax) < 1e9f && std::abs(bounds->yMax) < 1e9f))
                return "outline points out of range";
            for (const ColorLayer& layer : ColorLayersOf(face, g.glyph)) DrawGlyphOutline(face, layer.glyph);
            ColorPngOf(face, g.glyph);
        }
    }
    return {};
}

std::string ShapingFault(Span image, unsigned index, const FaceInfo& info) {
    static constexpr char16_t kLine[] = u"Aa ffi 永遠の𠮷野家\U0001F600、「縦書き」ｶﾅ\u0301\uFE00\U000E0100";
    auto face = ShapingFace::Open(image, index);
    if (!face) return {};
    std::vector<FeatureSetting> all;
    for (std::uint32_t tag : info.features) all.push_back({tag, 1});
    const std::u16string_view text(kLine);
    for (bool down : {false, true}) {
        auto runs = SetLine(face.value(), text, all, down);
        if (!runs) return "a bounded line did not set: " + runs.reason();
        for (const ShapedRun& run : runs.value()) {
            if (std::string fault = GlyphsFault(run.glyphs, text.size()); !fault.empty()) return fault;
            if (std::string fault = down ? "" : OutlinesFault(face.value(), info, run.glyphs); !fault.empty())
                return fault;
        }
    }
    const LinePicture picture = DrawLinePicture(face.value(), text, LineFrameFor(24, 600));
    if (picture.width > 600 || picture.height != 34 ||
        picture.coverage.size() != std::size_t(picture.width) * std::size_t(picture.height))
        return "a line picture of the wrong size";
    return {};
}

std::string InfoFault(Span image) {
    std::string fault = FaceInfoFault(image, 0, 0);
    std::uint32_t members = 0, offset = 0;
    if (IsCollection(image)) ReadU32BE(image, 8, members);
    for (std::uint32_t i = 0; i < std::min(members, kMaxCollectionMembers) && ReadU32BE(image, 12 + 4 * i, offset); ++i)
        if (fault.empty()) fault = FaceInfoFault(image, offset, i);
    return fault;
}

LoadOutcome LoadAndCheck(FontLoader loader, Span file) {
    LoadOutcome outcome;
    std::optional<HeapMeter> meter(std::in_place);
    const std::vector<std::uint8_t> bytes(file.begin(), file.end());  // the loader's copy of the file
    auto plan = PlanFontFile(loader, bytes);
    outcome.peakHeap = meter->Peak();
    meter.reset();  // the info check below measures on its own
    if (plan) {
        outcome.added = true;
        outcome.decodedSize = plan->decodedImage.size();
        outcome.fault = PlanFault(loader, bytes, plan.value());
        outcome.names = plan->faceNames;
    } else {
        outcome.refusal = plan.reason();
    }
    const std::uint64_t decoded = outcome.added ? outcome.decodedSize : LargestJustifiedImage(loader, file.size());
    const std::uint64_t budget = LoadHeapBudget(loader, file.size(), decoded);
    if (outcome.fault.empty() && outcome.peakHeap > budget)
        outcome.fault = "took " + std::to_string(outcome.peakHeap) + " bytes of heap, budget " + std::to_string(budget);
    if (outcome.fault.empty()) outcome.fault = InfoFault(plan ? RegisteredImage(plan.value(), bytes) : Span(bytes));
    return outcome;
}

}  // namespace tavrel::test
