#include "face_report.h"

#include "collection.h"
#include "font_plan.h"
#include "sfnt_layout.h"

namespace tavrel {

namespace {

// A listed face: where its offset table is, and its place in a collection.
struct FaceToDescribe {
    std::uint64_t offsetTable = 0;
    std::optional<std::uint32_t> member;
};

// The faces the plan lists, or only `member`.
Result<std::vector<FaceToDescribe>> FacesToDescribe(const FontPlan& plan, Bytes image,
                                                    std::optional<std::uint32_t> member) {
    if (plan.faceMembers.empty()) {
        if (member) return Failure{"not a font collection, so it has no members"};
        return std::vector<FaceToDescribe>{FaceToDescribe{}};
    }
    std::vector<FaceToDescribe> faces;
    for (std::uint32_t index : member ? std::vector<std::uint32_t>{*member} : plan.faceMembers) {
        auto found = ReadCollectionMember(image, index);
        if (!found) return Failure{found.reason()};
        faces.push_back({found->directory.at, index});
    }
    return faces;
}

}  // namespace

Check DescribeEachFace(std::string_view fileName, FontLoader loader, Bytes file, std::optional<std::uint32_t> member,
                       std::optional<std::u16string_view> text, const std::function<void(FaceReport)>& take,
                       ReportDepth depth) {
    auto plan = PlanFontFile(loader, file);
    if (!plan) return Failure{plan.reason()};
    const Bytes image = RegisteredImage(plan.value(), file);
    auto faces = FacesToDescribe(plan.value(), image, member);
    if (!faces) return Failure{faces.reason()};
    // The plan has checked the collection header, so its member count reads.
    std::optional<std::uint32_t> members;
    if (std::uint32_t count = 0; !plan->faceMembers.empty() && ReadU32BE(image, 8, count)) members = count;

    for (const FaceToDescribe& face : faces.value()) {
        FaceReport report;
        report.file = std::string(fileName);
        report.loader = loader;
        report.member = face.member;
        report.members = members;
        report.info = DescribeFace(image, face.offsetTable, depth);
        // Without a readable Unicode cmap nothing is known to be covered: no coverage at all.
        if (report.info.codePoints && depth == ReportDepth::Whole) {
            report.coverage = MeasureCoverage(*report.info.codePoints);
            if (text) report.text = MeasureTextCoverage(*report.info.codePoints, *text);
        }
        take(std::move(report));
    }
    return Passed();
}

Result<std::vector<FaceReport>> DescribeFontFile(std::string_view fileName, FontLoader loader, Bytes file,
                                                 std::optional<std::uint32_t> member,
                                                 std::optional<std::u16string_view> text, ReportDepth depth) {
    std::vector<FaceReport> reports;
    auto described = DescribeEachFace(fileName, loader, file, member, text,
                                      [&](FaceReport report) { reports.push_back(std::move(report)); }, depth);
    if (!described) return Failure{described.reason()};
    return reports;
}

}  // namespace tavrel
