#include <cstdio>

#include "commands.h"
#include "face_report.h"
#include "open_font.h"
#include "unicode_text.h"

namespace tavrel {

namespace {

void PrintRows(std::span<const FaceReport> reports) {
    for (std::size_t i = 0; i < reports.size(); ++i) {
        if (i > 0) std::fputs("\n", stdout);
        for (const ReportRow& row : ReportRows(reports[i])) {
            const std::string line = std::string(row.label) + ": " + row.value + "\n";
            std::fwrite(line.data(), 1, line.size(), stdout);
        }
    }
}

}  // namespace

int RunInfoCommand(const InfoOptions& options) {
    auto font = MapFont(options.file);
    if (!font) {
        ReportFile(options.file, font.reason());
        return 1;
    }
    std::optional<std::u16string> text;
    if (options.text) text = Utf16FromUtf8(*options.text);
    auto reports = DescribeFontFile(options.file, font->loader, font->file.bytes(), options.member,
                                    text ? std::optional<std::u16string_view>(*text) : std::nullopt);
    if (!reports) {
        ReportFile(options.file, reports.reason());
        return 1;
    }
    if (options.json) std::fputs((ReportJson(reports.value()) + "\n").c_str(), stdout);
    else PrintRows(reports.value());
    return std::fflush(stdout) == 0 ? 0 : 1;
}

}  // namespace tavrel
