#pragma once
// One face of a file described for a person: the rows the window's details
// page and `tavrel-cli info` show, and the JSON the command writes. One
// formatter serves both, so the two never disagree.

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "byte_reader.h"
#include "coverage.h"
#include "face_info.h"
#include "loader_choice.h"
#include "result.h"

namespace tavrel {

struct FaceReport {
    std::string file;                      // as given, UTF-8
    FontLoader loader = FontLoader::None;  // chosen by extension; None for an installed face
    std::optional<std::uint32_t> member;   // index in its collection
    std::optional<std::uint32_t> members;  // the collection's member count
    FaceInfo info;
    std::vector<SetCoverage> coverage;
    std::optional<TextCoverage> text;
};

// Every face the viewer would list for `file`, in list order (up to ten
// members of a collection, a WOFF2 collection too), or only `member` when
// given. `text`, when given, is measured against each face. Quick reports
// leave out what takes long (DescribeFace's, and coverage). Fails as
// PlanFontFile fails, or when `member` is not in the file.
Result<std::vector<FaceReport>> DescribeFontFile(std::string_view fileName, FontLoader loader, Bytes file,
                                                 std::optional<std::uint32_t> member,
                                                 std::optional<std::u16string_view> text,
                                                 ReportDepth depth = ReportDepth::Whole);

// As DescribeFontFile, but hands each face's report to `take` as soon as it is
// made, so that only one is held at a time. Fails before handing any.
Check DescribeEachFace(std::string_view fileName, FontLoader loader, Bytes file, std::optional<std::uint32_t> member,
                       std::optional<std::u16string_view> text, const std::function<void(FaceReport)>& take,
                       ReportDepth depth = ReportDepth::Whole);

struct ReportRow {
    std::string_view key;           // the JSON key, or the coverage set's id
    std::string_view label;         // English, for the command line
    std::u16string_view labelJapanese;  // for the window
    std::string value;              // UTF-8
    std::u16string valueJapanese;   // the window's wording, where the value is words; empty otherwise
};

// The rows of one face, in order: identity, names, metrics, axes, instances,
// features, coverage per set, then the text's coverage when measured.
std::vector<ReportRow> ReportRows(const FaceReport& report);

// An array with one object per report, keys as `tavrel-cli --help` lists them.
std::string ReportJson(std::span<const FaceReport> reports);
// One report's object, as ReportJson writes it in its array.
std::string ReportJsonObject(const FaceReport& report);

}  // namespace tavrel
