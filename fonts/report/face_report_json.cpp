// The JSON of `tavrel-cli info --json`: one object per face, every key always
// present, null for what could not be read.

#include "face_report.h"
#include "face_report_fields.h"
#include "json_writer.h"

namespace tavrel {

namespace {

void WriteNames(JsonWriter& json, const FaceInfo& info) {
    json.Key("fullName");
    json.Optional(info.fullName, [&](const std::u16string& name) { json.Text(name); });
    for (const NameField& field : kNameFields) {
        json.Key(field.key);
        const auto found = info.names.find(field.nameId);
        if (found == info.names.end()) json.Null();
        else json.Text(found->second);
    }
}

void WriteMetrics(JsonWriter& json, const FaceInfo& info) {
    json.Key("outlines");
    json.Optional(info.outlines, [&](Outlines o) { json.String(OutlinesText(o)); });
    json.Key("ros");
    json.Optional(info.ros, [&](const std::string& ros) { json.String(ros); });
    json.Key("unitsPerEm");
    json.OptionalCount(info.unitsPerEm);
    json.Key("glyphCount");
    json.OptionalCount(info.glyphCount);
    json.Key("codePoints");
    json.Optional(info.codePoints, [&](const std::vector<char32_t>& c) { json.Count(c.size()); });
    json.Key("weightClass");
    json.OptionalCount(info.weightClass);
    json.Key("widthClass");
    json.OptionalCount(info.widthClass);
    json.Key("fsType");
    json.OptionalCount(info.fsType);
    json.Key("embedding");
    json.Optional(info.fsType, [&](std::uint16_t fsType) { json.String(EmbeddingText(fsType)); });
    json.Key("vendorId");
    json.Optional(info.vendorId, [&](const std::string& id) { json.String(id); });
    json.Key("italicAngle");
    json.Optional(info.italicAngle, [&](double angle) { json.Number(angle); });
    json.Key("fixedPitch");
    json.Optional(info.fixedPitch, [&](bool fixed) { json.Bool(fixed); });
}

void WriteAxes(JsonWriter& json, const FaceInfo& info) {
    json.Key("axes");
    json.Open('[');
    for (const VariationAxis& axis : info.axes) {
        json.Item();
        json.Open('{');
        json.Key("tag");
        json.String(TagString(axis.tag));
        json.Key("min");
        json.Number(axis.minimum);
        json.Key("default");
        json.Number(axis.defaultValue);
        json.Key("max");
        json.Number(axis.maximum);
        json.Key("name");
        json.Optional(axis.name, [&](const std::u16string& name) { json.Text(name); });
        json.Close('}');
    }
    json.Close(']');
}

void WriteInstances(JsonWriter& json, const FaceInfo& info) {
    json.Key("instances");
    json.Open('[');
    for (const NamedInstance& instance : info.instances) {
        json.Item();
        json.Open('{');
        json.Key("name");
        json.Optional(instance.name, [&](const std::u16string& name) { json.Text(name); });
        json.Key("coordinates");
        json.Open('{');
        for (const auto& [tag, value] : instance.coordinates) {
            json.Key(TagString(tag));
            json.Number(value);
        }
        json.Close('}');
        json.Close('}');
    }
    json.Close(']');
}

std::vector<std::string> FeatureTags(const FaceInfo& info) {
    std::vector<std::string> tags;
    for (std::uint32_t tag : info.features) tags.push_back(TagString(tag));
    return tags;
}

void WriteLayout(JsonWriter& json, const FaceInfo& info) {
    json.Key("featureChanges");
    json.Open('{');
    for (const auto& [tag, count] : info.featureChanges) {
        json.Key(TagString(tag));
        json.Count(count);
    }
    json.Close('}');
    json.Key("variationSequences");
    json.Optional(info.variationSequences, [&](const VariationSequenceCounts& counts) {
        json.Open('{');
        json.Counts({{"total", counts.total}, {"standardized", counts.standardized}, {"ideographic", counts.ideographic}});
        json.Close('}');
    });
    json.Key("verticalMetrics");
    json.Bool(info.verticalMetrics);
    json.Key("verticalOrigins");
    json.Bool(info.verticalOrigins);
    json.Key("colorFormats");
    json.StringArray(info.colorFormats);
}

void WriteCoverage(JsonWriter& json, const FaceReport& report) {
    json.Key("coverage");
    json.Open('[');
    for (const SetCoverage& set : report.coverage) {
        json.Item();
        json.Open('{');
        json.Key("set");
        json.String(set.set);
        json.Counts({{"covered", set.covered}, {"total", set.total}});
        json.Close('}');
    }
    json.Close(']');
    json.Key("text");
    json.Optional(report.text, [&](const TextCoverage& text) {
        json.Open('{');
        json.Counts({{"covered", text.covered}, {"total", text.total}});
        std::vector<std::string> missing;
        for (char32_t c : text.missing) missing.push_back(CodePointText(c));
        json.Key("missing");
        json.StringArray(missing);
        json.Close('}');
    });
}

void WriteReport(JsonWriter& json, const FaceReport& report) {
    json.Open('{');
    json.Key("file");
    json.String(report.file);
    json.Key("format");
    json.Optional(FormatText(report), [&](std::string_view format) { json.String(format); });
    json.Key("member");
    json.OptionalCount(report.member);
    json.Key("members");
    json.OptionalCount(report.members);
    WriteNames(json, report.info);
    WriteMetrics(json, report.info);
    WriteAxes(json, report.info);
    WriteInstances(json, report.info);
    json.Key("features");
    json.StringArray(FeatureTags(report.info));
    WriteLayout(json, report.info);
    WriteCoverage(json, report);
    json.Key("problems");
    json.StringArray(report.info.problems);
    json.Close('}');
}

}  // namespace

std::string ReportJsonObject(const FaceReport& report) {
    JsonWriter json;
    WriteReport(json, report);
    return json.Take();
}

std::string ReportJson(std::span<const FaceReport> reports) {
    JsonWriter json;
    json.Open('[');
    for (const FaceReport& report : reports) {
        json.Item();
        WriteReport(json, report);
    }
    json.Close(']');
    return json.Take();
}

}  // namespace tavrel
