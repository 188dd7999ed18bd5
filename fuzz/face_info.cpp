// DescribeFace and coverage on the input as an sfnt image and at a collection's
// first ten members, held to their invariants and the info budget. Then the
// whole report path as tavrel-cli info takes it, through each loader (.otf
// reads as .ttf does): the JSON is well formed and the rows valid UTF-8.
#include <string>

#include "face_report.h"
#include "fuzz_check.h"
#include "json_check.h"
#include "unicode_text.h"

namespace {

using namespace tavrel;

void CheckReports(const std::vector<FaceReport>& reports) {
    const std::string json = ReportJson(reports);
    fuzz::Require(fuzz::JsonCheck(json).WellFormed(), "the report's JSON is well formed");
    for (const FaceReport& report : reports) {
        const std::vector<ReportRow> rows = ReportRows(report);
        fuzz::Require(rows.size() == ReportRows(report).size(), "the row count is stable");
        for (const ReportRow& row : rows)
            fuzz::Require(ValidUtf8(row.value) == row.value, "row '" + std::string(row.key) + "' is valid UTF-8");
    }
}

void DescribeAs(const char* fileName, FontLoader loader, Bytes input) {
    static constexpr char16_t kText[] = u"Aあ漢\U0001F600\xD800\n";
    auto reports = DescribeFontFile(fileName, loader, input, std::nullopt, kText);
    if (!reports) return;
    CheckReports(reports.value());
    // One member by index, as --member asks for it, sometimes one the file lacks.
    if (reports->front().members) {
        auto one = DescribeFontFile(fileName, loader, input, static_cast<std::uint32_t>(input.size() % 11), {});
        if (one) fuzz::Require(one->size() == 1, "--member describes one face");
        if (one) CheckReports(one.value());
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    tavrel::fuzz::RequireNoFault(tavrel::test::InfoFault({data, size}));
    const tavrel::Bytes input(data, size);
    DescribeAs("f.ttf", FontLoader::Sfnt, input);
    DescribeAs("f.ttc", FontLoader::Collection, input);
    DescribeAs("f.woff", FontLoader::Woff, input);
    DescribeAs("f.woff2", FontLoader::Woff2, input);
    return 0;
}
