#include <gtest/gtest.h>

#include <tuple>

#include "face_report.h"

namespace tavrel {
namespace {

std::string JsonOf(const FaceReport& report) { return ReportJson(std::span(&report, 1)); }

std::string RowValue(const FaceReport& report, std::string_view key) {
    for (const ReportRow& row : ReportRows(report))
        if (row.key == key) return row.value;
    return "(none)";
}

TEST(FaceReport, WhatCannotBeReadIsNullInJsonAndLeftOutOfTheRows) {
    FaceReport report;
    report.file = "a.ttf";
    EXPECT_EQ(JsonOf(report),
              R"([{"file":"a.ttf","format":null,"member":null,"members":null,"fullName":null,"family":null,)"
              R"("subfamily":null,"typographicFamily":null,"typographicSubfamily":null,"postScriptName":null,)"
              R"("version":null,"copyright":null,"trademark":null,"manufacturer":null,"designer":null,)"
              R"("description":null,"vendorUrl":null,"designerUrl":null,"license":null,"licenseUrl":null,)"
              R"("outlines":null,"ros":null,"unitsPerEm":null,"glyphCount":null,"codePoints":null,"weightClass":null,)"
              R"("widthClass":null,"fsType":null,"embedding":null,"vendorId":null,"italicAngle":null,)"
              R"("fixedPitch":null,"axes":[],"instances":[],"features":[],"featureChanges":{},"variationSequences":null,)"
              R"("verticalMetrics":false,"verticalOrigins":false,"colorFormats":[],"coverage":[],"text":null,"problems":[]}])");
    ASSERT_EQ(ReportRows(report).size(), 3u);  // the file, and the vertical tables it lacks
    EXPECT_EQ(ReportJson({}), "[]");
}

TEST(FaceReport, EveryYesOrNoRowIsWordedInJapaneseForTheWindow) {
    for (const bool yes : {false, true}) {
        FaceReport report;
        report.info.fixedPitch = report.info.verticalMetrics = report.info.verticalOrigins = yes;
        for (const ReportRow& row : ReportRows(report)) {
            if (row.value == "yes" || row.value == "no") {
                EXPECT_EQ(row.valueJapanese, yes ? u"はい" : u"いいえ") << row.key;
            }
        }
    }
}

TEST(FaceReport, StringsAreEscapedAndAlwaysWellFormed) {
    const std::tuple<std::u16string, std::string, std::string> cases[] = {  // the family name, in JSON, in the rows
        {u"a\"b\\c/", R"("a\"b\\c/")", "a\"b\\c/"},
        {u"line\r\nnext\t\x01\x7F", R"("line\u000d\u000anext\u0009\u0001\u007f")", "line\r\nnext\t\x01\x7F"},
        {u"ゴシック \U0001F600", "\"ゴシック \U0001F600\"", "ゴシック \U0001F600"},
        {u"\xD800x\xDC00", "\"\uFFFDx\uFFFD\"", "\uFFFDx\uFFFD"},
    };
    for (const auto& [name, json, row] : cases) {
        FaceReport report;
        report.info.names[1] = name;
        EXPECT_NE(JsonOf(report).find("\"family\":" + json + ","), std::string::npos) << json;
        EXPECT_EQ(RowValue(report, "family"), row);
    }
    FaceReport broken;
    broken.file = "\xFF\xC0\x80.ttf";  // bytes of a path that are no UTF-8
    broken.info.vendorId = "a\xE3\x81";
    EXPECT_NE(JsonOf(broken).find(R"("file":"���.ttf")"), std::string::npos);
    EXPECT_EQ(RowValue(broken, "vendorId"), "a��");
}

TEST(FaceReport, NumbersReadBackExactlyAndEmbeddingIsTheLeastRestrictivePermission) {
    const std::pair<std::uint16_t, std::string> levels[] = {{0, "installable"}, {2, "restricted"}, {4, "preview-print"},
        {6, "preview-print"}, {8, "editable"}, {0xE, "editable"}, {0x300, "installable"}};
    for (const auto& [fsType, embedding] : levels) {
        FaceReport report;
        report.info.fsType = fsType;
        EXPECT_EQ(RowValue(report, "embedding"), embedding);
        EXPECT_NE(JsonOf(report).find(",\"embedding\":\"" + embedding), std::string::npos);
    }
    FaceReport report;
    report.info.italicAngle = -786431 / 65536.0;  // 16.16 fixed -12 + 1/65536
    report.info.axes.push_back({0x77676874, 100, 400, 900.5, u"Weight"});
    report.info.instances.push_back({std::nullopt, {{0x77676874, 700}}});
    const std::string json = JsonOf(report);
    EXPECT_EQ(std::stod(RowValue(report, "italicAngle")), *report.info.italicAngle);
    EXPECT_NE(json.find(R"("axes":[{"tag":"wght","min":100,"default":400,"max":900.5,"name":"Weight"}])"), std::string::npos);
    EXPECT_NE(json.find(R"("instances":[{"name":null,"coordinates":{"wght":700}}])"), std::string::npos);
    EXPECT_EQ(RowValue(report, "axes"), "wght 100 to 900.5, default 400 (Weight)");
}

TEST(FaceReport, CoverageRowsCountAndTheTextListsWhatIsMissing) {
    FaceReport report;
    report.coverage = {{"joyo", 2000, 2136}};
    report.text = TextCoverage{1, 3, {0x3042, 0x20BB7}};
    EXPECT_EQ(RowValue(report, "joyo"), "2000 / 2136");
    EXPECT_EQ(RowValue(report, "text"), "1 / 3, missing U+3042 U+20BB7");
    EXPECT_NE(JsonOf(report).find(R"("coverage":[{"set":"joyo","covered":2000,"total":2136}],)"
                                  R"("text":{"covered":1,"total":3,"missing":["U+3042","U+20BB7"]})"),
              std::string::npos);
}

}  // namespace
}  // namespace tavrel
