#include "subject_code_points.h"

#include <algorithm>
#include <optional>

#include "face_report.h"
#include "font_file_win32.h"
#include "installed_font_file.h"
#include "loader_choice.h"
#include "wide_text_win32.h"

namespace tavrel {

namespace {

std::vector<char32_t> CodePointsOf(const FaceInfo& info) { return info.codePoints.value_or(std::vector<char32_t>{}); }

bool HasName(const FaceInfo& info, std::wstring_view faceName) {
    if (info.fullName && ToWide(*info.fullName) == faceName) return true;
    return std::any_of(info.names.begin(), info.names.end(), [&](const auto& name) {
        return (name.first == 1 || name.first == 16) && ToWide(name.second) == faceName;
    });
}

// The member GDI draws for the installed face: the one bearing its name, else the first.
std::vector<char32_t> InstalledCodePoints(const std::wstring& faceName) {
    const auto file = ReadInstalledFontFile(faceName);
    if (!file) return {};
    const FontLoader loader = file->collection ? FontLoader::Collection : FontLoader::Sfnt;
    const auto reports = DescribeFontFile("", loader, file->image.bytes(), std::nullopt, std::nullopt);
    if (!reports || reports->empty()) return {};
    const auto named = std::find_if(reports->begin(), reports->end(),
                                    [&](const FaceReport& report) { return HasName(report.info, faceName); });
    return CodePointsOf((named == reports->end() ? reports->front() : *named).info);
}

std::vector<char32_t> FileCodePoints(const DetailsSubject& subject) {
    const std::wstring& path = subject.source.path;
    const auto image = ReadFontFile(path.c_str());
    if (!image) return {};
    const auto reports =
        DescribeFontFile("", ChooseLoader(ToU16(path)), image->bytes(), subject.source.member, std::nullopt);
    if (!reports || reports->size() != 1 || ToWide(reports->front().info.fullName.value_or(u"")) != subject.faceName)
        return {};
    return CodePointsOf(reports->front().info);
}

}  // namespace

std::vector<char32_t> SubjectCodePoints(const DetailsSubject& subject) {
    if (!subject.listed) return {};
    return subject.source.installed ? InstalledCodePoints(subject.faceName) : FileCodePoints(subject);
}

}  // namespace tavrel
