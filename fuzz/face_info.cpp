// DescribeFace and coverage on the input as an sfnt image and at a collection's
// first ten members, held to their invariants and the info budget. Then the
// whole report path as tavrel-cli info takes it, through each loader (.otf
// reads as .ttf does): the JSON is well formed and the rows valid UTF-8.
#include <algorithm>
#include <string>
#include <string_view>

#include "face_report.h"
#include "fuzz_check.h"
#include "unicode_text.h"

namespace {

using namespace tavrel;

// A strict JSON reader that only says whether a text is one well-formed value.
class JsonCheck {
public:
    explicit JsonCheck(std::string_view text) : text_(text) {}
    bool WellFormed() { return Value(0) && at_ == text_.size(); }

private:
    bool Value(int depth) {
        if (depth > 16 || at_ >= text_.size()) return false;
        if (text_[at_] == '{' || text_[at_] == '[') return Members(depth, text_[at_] == '{');
        if (text_[at_] == '"') return String();
        return Word("null") || Word("true") || Word("false") || Number();
    }
    bool Members(int depth, bool keyed) {
        const char close = text_[at_++] == '{' ? '}' : ']';
        if (Take(close)) return true;
        do {
            if ((keyed && !(String() && Take(':'))) || !Value(depth + 1)) return false;
        } while (Take(','));
        return Take(close);
    }
    bool String() {
        if (!Take('"')) return false;
        while (at_ < text_.size()) {
            const auto c = static_cast<unsigned char>(text_[at_++]);
            if (c == '"') return true;
            if (c < 0x20 || (c == '\\' && !Escape())) return false;
        }
        return false;
    }
    bool Escape() {
        if (at_ >= text_.size()) return false;
        const char c = text_[at_++];
        if (c != 'u') return std::string_view("\"\\/bfnrt").find(c) != std::string_view::npos;
        const auto hex = [](char digit) { return std::string_view("0123456789abcdefABCDEF").find(digit) != std::string_view::npos; };
        return text_.size() - at_ >= 4 && std::all_of(text_.begin() + at_, text_.begin() + at_ + 4, hex) && (at_ += 4);
    }
    bool Number() {
        Take('-');
        const std::size_t digits = Digits();
        if (digits == 0 || (digits > 1 && text_[at_ - digits] == '0')) return false;
        if (Take('.') && Digits() == 0) return false;
        return !((Take('e') || Take('E')) && (Take('+') || Take('-') || true) && Digits() == 0);
    }
    std::size_t Digits() {
        const std::size_t start = at_;
        while (at_ < text_.size() && text_[at_] >= '0' && text_[at_] <= '9') ++at_;
        return at_ - start;
    }
    bool Word(std::string_view word) {
        if (text_.substr(at_, word.size()) != word) return false;
        at_ += word.size();
        return true;
    }
    bool Take(char c) { return at_ < text_.size() && text_[at_] == c && ++at_; }

    std::string_view text_;
    std::size_t at_ = 0;
};

void CheckReports(const std::vector<FaceReport>& reports) {
    const std::string json = ReportJson(reports);
    fuzz::Require(JsonCheck(json).WellFormed(), "the report's JSON is well formed");
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
