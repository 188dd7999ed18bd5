#include <cstdio>

#include "commands.h"
#include "face_report.h"
#include "files_in_order.h"
#include "open_font.h"
#include "unicode_text.h"

namespace tavrel {

namespace {

void Print(const std::string& text) { std::fwrite(text.data(), 1, text.size(), stdout); }

std::string RowsText(const FaceReport& report) {
    std::string text;
    for (const ReportRow& row : ReportRows(report)) text += std::string(row.label) + ": " + row.value + "\n";
    return text;
}

// Prints each face: JSON objects in one array, or blocks of "Label: value"
// lines with an empty line between them, across files too.
class FacePrinter {
public:
    explicit FacePrinter(bool json) : json_(json) {}
    void operator()(const FileToRead&, FileOutcome& outcome) {
        for (const std::string& face : outcome.items) {
            Print(faces_++ == 0 ? (json_ ? "[" : "") : (json_ ? "," : "\n"));
            Print(face);
        }
    }
    // Every file read lists a face, so without any nothing was read and nothing is printed.
    void Finish() {
        if (json_ && faces_ > 0) Print("]\n");
    }

private:
    bool json_;
    int faces_ = 0;
};

}  // namespace

int RunInfoCommand(const InfoOptions& options) {
    std::optional<std::u16string> text;
    if (options.text) text = Utf16FromUtf8(*options.text);
    const auto read = [&](const FileToRead& file) {
        auto font = MapFont(file.path);
        if (!font) return Refused(font.reason());
        FileOutcome outcome;
        auto described = DescribeEachFace(file.text, font->loader, font->file.bytes(), options.member,
                                          text ? std::optional<std::u16string_view>(*text) : std::nullopt,
                                          [&](FaceReport report) {
                                              outcome.items.push_back(options.json ? ReportJsonObject(report)
                                                                                   : RowsText(report));
                                              font->file.ReleaseReadPages();
                                          });
        if (!described) return Refused(described.reason());
        return outcome;
    };
    FacePrinter printer(options.json);
    const int status = ReadInPathOrder(ListFilesToRead({options.file}), read, std::ref(printer));
    printer.Finish();
    return std::fflush(stdout) == 0 ? status : 1;
}

}  // namespace tavrel
