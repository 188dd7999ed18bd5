#include "load_check.h"

#include <algorithm>
#include <optional>

#include "coverage.h"
#include "face_info.h"
#include "font_plan.h"
#include "heap_meter.h"

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

// What the woff2 library needs beside the image: its Brotli output, which it
// refuses above 100 times the file, and Brotli's own window (up to 16 MiB,
// with the smaller one it outgrew still live while it grows) and tables.
std::uint64_t Woff2LibraryBudget(std::uint64_t input) { return 100 * input + 26 * kMiB; }

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

std::string CodePointsFault(const std::vector<char32_t>& points) {
    for (std::size_t i = 0; i < points.size(); ++i) {
        if (points[i] > 0x10FFFF) return "a code point above U+10FFFF";
        if (points[i] >= 0xD800 && points[i] <= 0xDFFF) return "a surrogate code point";
        if (i > 0 && points[i] <= points[i - 1]) return "code points not ascending and unique";
    }
    return {};
}

std::string CoverageFault(std::span<const char32_t> points, std::u16string_view text) {
    const auto sets = MeasureCoverage(points);
    if (sets.size() != CharacterSets().size()) return "coverage without every set";
    for (const SetCoverage& set : sets)
        if (set.covered > set.total || set.covered > points.size()) return "more of a set covered than it holds";
    const TextCoverage coverage = MeasureTextCoverage(points, text);
    if (coverage.covered > coverage.total || coverage.covered + coverage.missing.size() != coverage.total)
        return "text coverage that does not add up";
    return {};
}

std::string FaceFault(const FaceInfo& info, std::u16string_view text) {
    for (const NamedInstance& instance : info.instances)
        if (instance.coordinates.size() != info.axes.size()) return "an instance without one coordinate per axis";
    if (!std::is_sorted(info.features.begin(), info.features.end()) ||
        std::adjacent_find(info.features.begin(), info.features.end()) != info.features.end())
        return "feature tags not sorted and unique";
    const std::vector<char32_t> none;
    const std::vector<char32_t>& points = info.codePoints ? *info.codePoints : none;
    if (std::string fault = CodePointsFault(points); !fault.empty()) return fault;
    return CoverageFault(points, text);
}

std::string PlannedInfoFault(Bytes image, const FontPlan& plan) {
    const std::size_t faces = plan.faceMembers.empty() ? 1 : plan.faceMembers.size();
    for (std::size_t i = 0; i < faces; ++i) {
        std::uint32_t offset = 0;
        if (!plan.faceMembers.empty()) ReadU32BE(image, 12 + 4 * std::uint64_t{plan.faceMembers[i]}, offset);
        if (std::string fault = InfoFault(image, offset, kSampleText); !fault.empty()) return fault;
    }
    return {};
}

}  // namespace

std::uint64_t InfoHeapBudget(std::uint64_t image) { return 12 * image + 6 * kMiB; }

std::string InfoFault(Span image, std::uint64_t offsetTableOffset, std::u16string_view text) {
    std::size_t peak = 0;
    std::string fault;
    {
        HeapMeter meter;
        const FaceInfo info = DescribeFace(image, offsetTableOffset);
        fault = FaceFault(info, text);
        peak = meter.Peak();
    }
    if (fault.empty() && peak > InfoHeapBudget(image.size()))
        fault = "info took " + std::to_string(peak) + " bytes of heap, budget " + std::to_string(InfoHeapBudget(image.size()));
    return fault;
}

std::uint64_t LoadHeapBudget(FontLoader loader, std::uint64_t input, std::uint64_t decoded) {
    const std::uint64_t budget = 2 * input + 3 * decoded + kMiB;
    return loader == FontLoader::Woff2 ? budget + Woff2LibraryBudget(input) : budget;
}

LoadOutcome LoadAndCheck(FontLoader loader, Span file) {
    LoadOutcome outcome;
    std::optional<HeapMeter> meter(std::in_place);
    const std::vector<std::uint8_t> bytes(file.begin(), file.end());  // the loader's copy of the file
    auto plan = PlanFontFile(loader, bytes);
    outcome.peakHeap = meter->Peak();
    meter.reset();
    if (plan) {
        outcome.added = true;
        outcome.decodedSize = plan->decodedImage.size();
        outcome.fault = PlanFault(loader, bytes, plan.value());
        outcome.names = plan->faceNames;
    }
    const std::uint64_t decoded = outcome.added ? outcome.decodedSize : LargestJustifiedImage(loader, file.size());
    const std::uint64_t budget = LoadHeapBudget(loader, file.size(), decoded);
    if (outcome.fault.empty() && outcome.peakHeap > budget)
        outcome.fault = "took " + std::to_string(outcome.peakHeap) + " bytes of heap, budget " + std::to_string(budget);
    if (outcome.fault.empty())
        outcome.fault = plan ? PlannedInfoFault(RegisteredImage(plan.value(), bytes), plan.value())
                             : InfoFault(bytes, 0, kSampleText);
    return outcome;
}

}  // namespace tavrel::test
