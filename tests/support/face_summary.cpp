#include "face_summary.h"

#include <algorithm>

#include "face_report.h"

namespace tavrel::test {

std::vector<std::string> SummaryItems(const FaceInfo& info) {
    FaceReport report;
    report.info = info;
    std::vector<std::string> items;
    for (const ReportRow& row : ReportRows(report)) {
        items.push_back(std::string(row.key) + "=");
        for (char c : row.value) items.back() += c == '\n' ? std::string("\\n") : std::string(1, c);  // one line each
    }
    return items;
}

std::string Summary(const FaceInfo& info) {
    std::string line;
    for (const std::string& item : SummaryItems(info)) line += (line.empty() ? "" : " | ") + item;
    return line;
}

std::string Difference(const std::vector<std::string>& before, const std::vector<std::string>& after) {
    std::string changes;
    for (const auto& [from, in, sign] : {std::tie(before, after, "-"), std::tie(after, before, "+")})
        for (const std::string& item : from)
            if (std::find(in.begin(), in.end(), item) == in.end()) changes += (changes.empty() ? "" : " | ") + (sign + item);
    return changes;
}

}  // namespace tavrel::test
