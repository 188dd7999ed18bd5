// `tavrel-cli char`: who each character of a text is, and what one face
// gives it: its glyph, the glyph's CID and the character's variation sequences.

#include <cstdio>

#include "character_glyphs.h"
#include "character_text.h"
#include "commands.h"
#include "face_report_fields.h"
#include "json_writer.h"
#include "open_font.h"

namespace tavrel {

namespace {

bool IsSelector(char32_t c) {
    return (c >= 0xFE00 && c <= 0xFE0F) || (c >= 0xE0100 && c <= 0xE01EF) || (c >= 0x180B && c <= 0x180D) || c == 0x180F;
}

// One entry of the text: a character and the selector that follows it.
struct TextCharacter {
    char32_t base;
    std::optional<char32_t> selector;
};

std::vector<TextCharacter> SplitText(const std::string& text) {
    std::vector<TextCharacter> characters;
    for (std::size_t i = 0; i < text.size();) {
        const char32_t c = NextUtf8(text, i);
        if (IsSelector(c) && !characters.empty() && !characters.back().selector) characters.back().selector = c;
        else characters.push_back({c, std::nullopt});
    }
    return characters;
}

std::string CharacterText(const TextCharacter& c) {
    std::string text;
    AppendUtf8(text, c.base);
    if (c.selector) AppendUtf8(text, *c.selector);
    return text;
}

std::string SequencesText(const std::vector<VariationSequence>& sequences) {
    std::string text;
    for (const VariationSequence& s : sequences)
        text.append(text.empty() ? "" : ", ").append(CodePointText(s.selector)).append(" ").append(std::to_string(s.glyph));
    return text;
}

std::string Lines(const TextCharacter& c, const CharacterIdentity& id, const CharacterGlyphs& face) {
    std::string text = "Character: " + CharacterText(c) + "\nCode point: " + CodePointText(c.base) + "\n";
    if (c.selector) text += "Selector: " + CodePointText(*c.selector) + "\n";
    for (const CharacterRow& row : CharacterRows(id)) text.append(row.label).append(": ").append(row.value).append("\n");
    if (face.glyph) text += "Glyph: " + std::to_string(*face.glyph) + "\n";
    if (face.cid) text += "CID: " + std::to_string(*face.cid) + "\n";
    if (!face.sequences.empty()) text += "Variation sequences: " + SequencesText(face.sequences) + "\n";
    return text;
}

void WriteReadings(JsonWriter& json, std::string_view key, const std::vector<std::u16string>& readings) {
    json.Key(key);
    if (readings.empty()) return json.Null();
    json.Open('[');
    for (const std::u16string& reading : readings) json.Item(), json.Text(reading);
    json.Close(']');
}

void WriteJis(JsonWriter& json, const CharacterIdentity& id) {
    json.Key("jis");
    if (!id.jisX0213 && !id.jisX0208) return json.Null();
    json.Open('{');
    json.Key("x0213");
    json.Optional(id.jisX0213, [&](JisPosition p) { json.String(JisX0213Text(p)); });
    json.Key("x0208");
    json.Optional(id.jisX0208, [&](JisX0208Position p) { json.String(JisX0208Text(p)); });
    json.Key("x0208Level");
    json.Optional(id.jisX0208, [&](JisX0208Position p) { json.String(JisX0208KindText(p.kind)); });
    json.Close('}');
}

void WriteRadical(JsonWriter& json, const CharacterIdentity& id) {
    json.Key("radical");
    json.Optional(id.radical, [&](const RadicalStrokes& r) {
        json.Open('{');
        json.Key("number");
        json.Count(r.radical);
        json.Key("simplified");
        json.Bool(r.simplified);
        json.Key("character");
        std::string character;
        AppendUtf8(character, r.radicalCharacter);
        json.String(character);
        json.Key("residualStrokes");
        json.Number(r.residualStrokes);
        json.Close('}');
    });
    json.Key("strokes");
    json.OptionalCount(id.totalStrokes);
}

void WriteFace(JsonWriter& json, const CharacterGlyphs& face) {
    json.Key("glyph");
    json.OptionalCount(face.glyph);
    json.Key("cid");
    json.OptionalCount(face.cid);
    json.Key("variationSequences");
    if (face.sequences.empty()) return json.Null();
    json.Open('[');
    for (const VariationSequence& s : face.sequences) {
        json.Item();
        json.Open('{');
        json.Key("selector");
        json.String(CodePointText(s.selector));
        json.Key("glyph");
        json.Count(s.glyph);
        json.Close('}');
    }
    json.Close(']');
}

void WriteEntry(JsonWriter& json, const TextCharacter& c, const CharacterIdentity& id, const CharacterGlyphs& face) {
    const auto bytes = [&](std::optional<std::uint16_t> value) { json.Optional(value, [&](std::uint16_t b) { json.String(BytesText(b)); }); };
    json.Open('{');
    json.Key("character");
    json.String(CharacterText(c));
    json.Key("codePoint");
    json.String(CodePointText(c.base));
    json.Key("selector");
    json.Optional(c.selector, [&](char32_t s) { json.String(CodePointText(s)); });
    json.Key("name");
    id.name.empty() ? json.Null() : json.String(id.name);
    json.Key("block");
    id.block.empty() ? json.Null() : json.String(id.block);
    WriteJis(json, id);
    json.Key("shiftJis");
    bytes(id.shiftJis2004);
    json.Key("cp932");
    bytes(id.cp932);
    json.Key("aj1Cid");
    json.OptionalCount(id.cid);
    json.Key("aj1CidJis90");
    json.OptionalCount(id.cidJis90);
    WriteReadings(json, "on", id.on);
    WriteReadings(json, "kun", id.kun);
    WriteRadical(json, id);
    WriteFace(json, face);
    json.Close('}');
}

}  // namespace

int RunCharCommand(const CharCommandOptions& options) {
    auto font = OpenFont(options.file);
    if (!font) return ReportFile(options.file, font.reason()), 1;
    auto at = FindFace(font.value(), options.member);
    if (!at) return ReportFile(options.file, at.reason()), 1;
    const FaceCharacterGlyphs face = ReadFaceCharacterGlyphs(font->RegisteredBytes(), at->offsetTable);
    JsonWriter json;
    std::string text;
    json.Open('[');
    for (const TextCharacter& c : SplitText(options.text)) {
        const CharacterIdentity id = IdentifyCharacter(c.base);
        const CharacterGlyphs entry = GlyphsOfCharacter(face, c.base, c.selector);
        if (options.json) json.Item(), WriteEntry(json, c, id, entry);
        else text += (text.empty() ? "" : "\n") + Lines(c, id, entry);
    }
    json.Close(']');
    const std::string out = options.json ? json.Take() + "\n" : text;
    std::fwrite(out.data(), 1, out.size(), stdout);
    return std::fflush(stdout) == 0 ? 0 : 1;
}

}  // namespace tavrel
