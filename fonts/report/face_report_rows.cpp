// The rows of a face report, for the command line and the window's details page.

#include <cstdio>

#include "face_report.h"
#include "face_report_fields.h"
#include "unicode_text.h"

namespace tavrel {

namespace {

struct CoverageLabel {
    std::string_view set;
    std::string_view label;
    std::u16string_view labelJapanese;
};

constexpr CoverageLabel kCoverageLabels[] = {
    {"joyo", "Coverage joyo", u"収録 常用漢字"},
    {"jis-level-1", "Coverage jis-level-1", u"収録 JIS 第1水準漢字"},
    {"jis-level-2", "Coverage jis-level-2", u"収録 JIS 第2水準漢字"},
    {"gb2312", "Coverage gb2312", u"収録 GB 2312 漢字"},
    {"tongyong", "Coverage tongyong", u"収録 通用規範漢字"},
    {"big5", "Coverage big5", u"収録 Big5 漢字"},
    {"ksx1001-hanja", "Coverage ksx1001-hanja", u"収録 KS X 1001 漢字"},
    {"kana", "Coverage kana", u"収録 かな"},
    {"latin-1", "Coverage latin-1", u"収録 ラテン1"},
};

const CoverageLabel& LabelOf(std::string_view set) {
    for (const CoverageLabel& label : kCoverageLabels)
        if (label.set == set) return label;
    static constexpr CoverageLabel kOther{"", "Coverage", u"収録"};
    return kOther;
}

class RowList {
public:
    void Add(std::string_view key, std::string_view label, std::u16string_view labelJapanese, std::string value,
             std::u16string valueJapanese = {}) {
        rows_.push_back({key, label, labelJapanese, std::move(value), std::move(valueJapanese)});
    }
    void AddYesNo(std::string_view key, std::string_view label, std::u16string_view labelJapanese, bool yes) {
        Add(key, label, labelJapanese, yes ? "yes" : "no", yes ? u"はい" : u"いいえ");
    }
    template <class T>
    void AddNumber(std::string_view key, std::string_view label, std::u16string_view labelJapanese,
                   const std::optional<T>& value) {
        if (value) Add(key, label, labelJapanese, std::to_string(*value));
    }
    void AddText(std::string_view key, std::string_view label, std::u16string_view labelJapanese,
                 const std::optional<std::u16string>& value) {
        if (value) Add(key, label, labelJapanese, ToUtf8(*value));
    }
    std::vector<ReportRow> Take() { return std::move(rows_); }

private:
    std::vector<ReportRow> rows_;
};

std::string CoverageText(std::uint32_t covered, std::uint32_t total) {
    return std::to_string(covered) + " / " + std::to_string(total);
}

// Built by appending: GCC 12 warns falsely on `"literal" + std::string&&`.
std::string AxisText(const VariationAxis& axis) {
    std::string text = TagString(axis.tag);
    text.append(" ").append(NumberText(axis.minimum)).append(" to ").append(NumberText(axis.maximum));
    text.append(", default ").append(NumberText(axis.defaultValue));
    if (axis.name) text.append(" (").append(ToUtf8(*axis.name)).append(")");
    return text;
}

// Items of a list, each after a space but the first.
void AppendItem(std::string& text, const std::string& item) {
    if (!text.empty()) text += ' ';
    text += item;
}

std::string InstanceText(const NamedInstance& instance) {
    std::string text;
    if (instance.name) text.append(ToUtf8(*instance.name)).append(":");
    for (const auto& [tag, value] : instance.coordinates) {
        AppendItem(text, TagString(tag));
        text.append(" ").append(NumberText(value));
    }
    return text;
}

std::string FeaturesText(const std::vector<std::uint32_t>& features) {
    std::string text;
    for (std::uint32_t tag : features) AppendItem(text, TagString(tag));
    return text;
}

// "aalt 826, jp78 487": each feature with the characters it changes.
std::string FeatureChangesText(const std::vector<std::pair<std::uint32_t, std::size_t>>& changes) {
    std::string text;
    for (const auto& [tag, count] : changes) {
        if (!text.empty()) text += ", ";
        text.append(TagString(tag)).append(" ").append(std::to_string(count));
    }
    return text;
}

std::string VariationSequencesText(const VariationSequenceCounts& counts) {
    std::string text = std::to_string(counts.total);
    text.append(" (standardized ").append(std::to_string(counts.standardized));
    return text.append(", ideographic ").append(std::to_string(counts.ideographic)).append(")");
}

std::string TextCoverageText(const TextCoverage& text) {
    std::string value = CoverageText(text.covered, text.total);
    if (!text.missing.empty()) value += ", missing";
    for (char32_t c : text.missing) value.append(" ").append(CodePointText(c));
    return value;
}

std::u16string TextCoverageJapanese(const TextCoverage& text) {
    std::u16string value = Utf16FromUtf8(CoverageText(text.covered, text.total));
    if (!text.missing.empty()) value += u"、欠けている文字";
    for (char32_t c : text.missing) value.append(u" ").append(Utf16FromUtf8(CodePointText(c)));
    return value;
}

void AddIdentity(RowList& rows, const FaceReport& report) {
    rows.Add("file", "File", u"ファイル", report.file);
    if (auto format = FormatText(report)) rows.Add("format", "Format", u"形式", std::string(*format));
    rows.AddNumber("member", "Member", u"メンバー", report.member);
    rows.AddNumber("members", "Members", u"メンバー数", report.members);
}

void AddNames(RowList& rows, const FaceInfo& info) {
    rows.AddText("fullName", "Full name", u"フルネーム", info.fullName);
    for (const NameField& field : kNameFields) {
        const auto found = info.names.find(field.nameId);
        if (found != info.names.end()) rows.Add(field.key, field.label, field.labelJapanese, ToUtf8(found->second));
    }
}

void AddMetrics(RowList& rows, const FaceInfo& info) {
    if (info.outlines) rows.Add("outlines", "Outlines", u"アウトライン", std::string(OutlinesText(*info.outlines)));
    if (info.ros) rows.Add("ros", "ROS", u"ROS", ValidUtf8(*info.ros));
    rows.AddNumber("unitsPerEm", "Units per em", u"em あたりのユニット数", info.unitsPerEm);
    rows.AddNumber("glyphCount", "Glyphs", u"グリフ数", info.glyphCount);
    if (info.codePoints) rows.Add("codePoints", "Code points", u"コードポイント数", std::to_string(info.codePoints->size()));
    rows.AddNumber("weightClass", "Weight class", u"ウェイト", info.weightClass);
    rows.AddNumber("widthClass", "Width class", u"幅", info.widthClass);
    rows.AddNumber("fsType", "fsType", u"fsType", info.fsType);
    if (info.fsType)
        rows.Add("embedding", "Embedding", u"埋め込み", std::string(EmbeddingText(*info.fsType)),
                 std::u16string(EmbeddingTextJapanese(*info.fsType)));
    if (info.vendorId) rows.Add("vendorId", "Vendor ID", u"ベンダー ID", ValidUtf8(*info.vendorId));
    if (info.italicAngle) rows.Add("italicAngle", "Italic angle", u"イタリック角", NumberText(*info.italicAngle));
    if (info.fixedPitch) rows.AddYesNo("fixedPitch", "Fixed pitch", u"等幅", *info.fixedPitch);
}

}  // namespace

std::vector<ReportRow> ReportRows(const FaceReport& report) {
    RowList rows;
    const FaceInfo& info = report.info;
    AddIdentity(rows, report);
    AddNames(rows, info);
    AddMetrics(rows, info);
    for (const VariationAxis& axis : info.axes) rows.Add("axes", "Axis", u"軸", AxisText(axis));
    for (const NamedInstance& instance : info.instances)
        rows.Add("instances", "Instance", u"インスタンス", InstanceText(instance));
    if (!info.features.empty()) rows.Add("features", "Features", u"機能", FeaturesText(info.features));
    if (!info.featureChanges.empty())
        rows.Add("featureChanges", "Feature changes", u"機能の変化", FeatureChangesText(info.featureChanges));
    if (info.variationSequences)
        rows.Add("variationSequences", "Variation sequences", u"異体字シーケンス", VariationSequencesText(*info.variationSequences));
    rows.AddYesNo("verticalMetrics", "Vertical metrics", u"縦書きメトリクス", info.verticalMetrics);
    rows.AddYesNo("verticalOrigins", "Vertical origins", u"縦書き原点", info.verticalOrigins);
    if (!info.colorFormats.empty()) {
        std::string formats;
        for (std::string_view format : info.colorFormats) formats += (formats.empty() ? "" : ", ") + std::string(format);
        rows.Add("colorFormats", "Colour formats", u"カラー形式", formats);
    }
    for (const SetCoverage& set : report.coverage) {
        const CoverageLabel& label = LabelOf(set.set);
        rows.Add(label.set.empty() ? set.set : label.set, label.label, label.labelJapanese, CoverageText(set.covered, set.total));
    }
    if (report.text)
        rows.Add("text", "Text", u"テキストの収録", TextCoverageText(*report.text),
                 TextCoverageJapanese(*report.text));
    for (const std::string& problem : info.problems)
        rows.Add("problems", "Problem", u"問題", ValidUtf8(problem));
    return rows.Take();
}

}  // namespace tavrel
