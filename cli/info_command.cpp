#include <cstdio>

#include "commands.h"
#include "face_report.h"
#include "open_font.h"
#include "unicode_text.h"

namespace tavrel {

namespace {

void Print(const std::string& text) { std::fwrite(text.data(), 1, text.size(), stdout); }

// Prints each face as it is described: JSON objects in an array, or blocks of
// "Label: value" lines with an empty line between them.
class FacePrinter {
public:
    explicit FacePrinter(bool json) : json_(json) {}
    void operator()(const FaceReport& report) {
        if (json_) {
            Print(faces_++ == 0 ? "[" : ",");
            Print(ReportJsonObject(report));
            return;
        }
        if (faces_++ > 0) Print("\n");
        for (const ReportRow& row : ReportRows(report)) Print(std::string(row.label) + ": " + row.value + "\n");
    }
    void Finish() {
        if (json_) Print(faces_ == 0 ? "[]\n" : "]\n");
    }

private:
    bool json_;
    int faces_ = 0;
};

}  // namespace

int RunInfoCommand(const InfoOptions& options) {
    auto font = MapFont(options.file);
    if (!font) {
        ReportFile(options.file, font.reason());
        return 1;
    }
    std::optional<std::u16string> text;
    if (options.text) text = Utf16FromUtf8(*options.text);
    FacePrinter printer(options.json);
    auto described = DescribeEachFace(options.file, font->loader, font->file.bytes(), options.member,
                                      text ? std::optional<std::u16string_view>(*text) : std::nullopt,
                                      [&](FaceReport report) {
                                          printer(report);
                                          font->file.ReleaseReadPages();
                                      });
    if (!described) {
        ReportFile(options.file, described.reason());
        return 1;
    }
    printer.Finish();
    return std::fflush(stdout) == 0 ? 0 : 1;
}

}  // namespace tavrel
