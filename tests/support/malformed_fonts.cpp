#include "malformed_fonts.h"

#include <algorithm>
#include <cstdio>
#include <stdexcept>
#include <tuple>

#include "face_info.h"
#include "face_summary.h"
#include "font_plan.h"
#include "decoded_image.h"
#include "woff_builder.h"

namespace tavrel::test {

namespace {

struct Field { std::string name; std::size_t at; unsigned width; };  // a field of 1, 2 or 4 bytes at `at`
using Values = std::vector<std::uint64_t>;

std::string Hex(std::uint64_t value) {
    char text[24];
    std::snprintf(text, sizeof text, "0x%llX", static_cast<unsigned long long>(value));
    return text;
}

ByteVector With(ByteVector bytes, const Field& field, std::uint64_t value) {
    if (field.width == 1) bytes.at(field.at) = static_cast<std::uint8_t>(value);
    else if (field.width == 2) PutU16(bytes, field.at, static_cast<std::uint16_t>(value));
    else PutU32(bytes, field.at, static_cast<std::uint32_t>(value));
    return bytes;
}

// The values at the edges of a field's range, where sums and counts wrap.
Values EdgesOf(unsigned width) {
    if (width == 1) return {0, 0x7F, 0x80, 0xFF};
    if (width == 2) return {0, 1, 0x8000, 0xFFFE, 0xFFFF};
    return {0, 1, 0x8000, 0xFFFF, 0x80000000, 0xFFFFFFFE, 0xFFFFFFFF};
}

// The cases made from one valid file; with `details`, the face's details are
// compared with the undamaged file's too.
class Subject {
public:
    Subject(std::vector<MalformedFont>& cases, std::string name, FontLoader loader, ByteVector base, bool details = false)
        : cases_(cases), name_(std::move(name)), loader_(loader), base_(std::move(base)) {
        auto plan = PlanFontFile(loader_, base_);
        if (!plan) throw std::logic_error("a subject that does not load: " + name_);
        before_ = plan->faceNames;
        if (details) infoBefore_ = SummaryItems(DescribeFace(base_, 0));
    }

    const ByteVector& base() const { return base_; }

    void Add(const std::string& damage, ByteVector bytes) {
        cases_.push_back({name_ + ": " + damage, loader_, std::move(bytes), before_, infoBefore_});
    }

    // One case per value.
    void Set(const Field& field, const Values& values) {
        for (std::uint64_t value : values) Add(field.name + " = " + Hex(value), With(base_, field, value));
    }

    // The values given, then the edges of the field's range.
    void Edges(const Field& field, Values values = {}) {
        for (std::uint64_t edge : EdgesOf(field.width))
            if (std::find(values.begin(), values.end(), edge) == values.end()) values.push_back(edge);
        Set(field, values);
    }

    // An offset or length field set so that offset + length ends one byte
    // before `end`, at `end`, and one byte past it; `other` is the field's partner.
    void EndsAround(const Field& field, std::uint64_t other, std::uint64_t end, const std::string& endName) {
        for (const int delta : {-1, 0, 1}) {
            const std::uint64_t value = end - other + static_cast<std::uint64_t>(std::int64_t{delta});
            const std::string where = delta < 0 ? endName + " - 1" : delta > 0 ? endName + " + 1" : endName;
            Add(field.name + " = " + Hex(value) + " (ends at " + where + ")", With(base_, field, value));
        }
    }

private:
    std::vector<MalformedFont>& cases_;
    std::string name_;
    FontLoader loader_;
    ByteVector base_;
    Listed before_;
    std::vector<std::string> infoBefore_;
};

// Finds a table record by tag in the directory at `directory`.
std::size_t RecordOf(const ByteVector& font, std::size_t directory, std::uint32_t tag) {
    const std::uint16_t numTables = GetU16(font, directory + 4);
    for (std::size_t i = 0; i < numTables; ++i)
        if (GetU32(font, directory + 12 + 16 * i) == tag) return directory + 12 + 16 * i;
    throw std::logic_error("a sample without the table it needs");
}

void Expect(bool holds, const char* layout) {
    if (!holds) throw std::logic_error(std::string("the builder's layout changed: ") + layout);
}

// OS/2 (78 bytes) at 92, cmap (22) at 172, head (54) at 196, name (36) at 252,
// post (5) at 288; 296 bytes. The name table holds one Windows English full
// name, "Sans Base", 18 bytes at string offset 18.
void AddSfntCases(std::vector<MalformedFont>& cases) {
    Subject s(cases, "sfnt", FontLoader::Sfnt, BuildNamedFont(NameTableBuilder().Windows(0x0409, u"Sans Base")));
    Expect(s.base().size() == 296 && GetU32(s.base(), 60) == MakeTag("name"), "sfnt");
    s.Edges({"sfntVersion", 0, 4}, {0x00010000, MakeTag("OTTO"), MakeTag("true"), MakeTag("ttcf"), MakeTag("TTCF")});
    s.Edges({"numTables", 4, 2}, {3, 4, 6});
    const Field nameOffset{"'name' record offset", 68, 4}, nameLength{"'name' record length", 72, 4};
    const Field postOffset{"'post' record offset", 84, 4}, postLength{"'post' record length", 88, 4};
    s.Edges(nameOffset, {196});
    s.EndsAround(nameOffset, 36, 296, "file size");
    s.Edges(nameLength, {6, 35});
    s.EndsAround(nameLength, 252, 296, "file size");
    s.Edges(postOffset, {252});
    s.EndsAround(postOffset, 5, 296, "file size");
    s.Edges(postLength);
    s.EndsAround(postLength, 288, 296, "file size");
    s.Set({"'post' record tag", 76, 4}, {MakeTag("name")});
    s.Set({"'OS/2' record tag", 12, 4}, {MakeTag("name")});
    s.Edges({"name count", 254, 2}, {2});
    s.Edges({"name stringOffset", 256, 2}, {17, 18, 19});
    s.Edges({"name record platformID", 258, 2}, {2, 4});
    s.Edges({"name record encodingID", 260, 2}, {2, 3, 10});
    s.Edges({"name record languageID", 262, 2}, {0x0411, 0x0407});
    s.Edges({"name record nameID", 264, 2});
    const Field recordLength{"name record length", 266, 2};
    s.Edges(recordLength, {2});
    s.EndsAround(recordLength, 0, 18, "string storage size");
    s.Edges({"name record offset", 268, 2});
}

// As above with the name table last: post (5) at 252, name (36) at 260.
void AddNameLastCases(std::vector<MalformedFont>& cases) {
    const ByteVector names = NameTableBuilder().Windows(0x0409, u"Sans Base").Build();
    Subject s(cases, "sfnt, name last", FontLoader::Sfnt,
              BuildSfnt({{MakeTag("OS/2"), ByteVector(78, 0x11)}, {MakeTag("cmap"), ByteVector(22, 0x22)},
                         {MakeTag("head"), ByteVector(54, 0x33)}, {MakeTag("post"), ByteVector(5, 0x55)},
                         {MakeTag("name"), names}}));
    Expect(s.base().size() == 296 && GetU32(s.base(), 76) == MakeTag("name"), "sfnt, name last");
    s.EndsAround({"'name' record offset", 84, 4}, 36, 296, "file size");
    s.EndsAround({"'name' record length", 88, 4}, 260, 296, "file size");
}

// Two members, "Member A" and "Member B": header and offsets 0 to 19, member
// directories at 20 and 112, member A's tables from 204, member B's from 408
// (its 'name' at 568, its 'post' of 5 bytes at 604); 612 bytes.
void AddCollectionCases(std::vector<MalformedFont>& cases) {
    Subject c(cases, "ttc", FontLoader::Collection,
              BuildCollection({NamedFontTables(u"Member A"), NamedFontTables(u"Member B")}));
    Expect(c.base().size() == 612 && GetU32(c.base(), 16) == 112 && GetU32(c.base(), 196) == 604, "ttc");
    c.Edges({"tag", 0, 4}, {MakeTag("TTCF"), MakeTag("ttcx"), 0x00010000});
    c.Edges({"numFonts", 8, 4}, {3});
    c.Edges({"offsetTable[0]", 12, 4}, {112});
    const Field second{"offsetTable[1]", 16, 4};
    c.Edges(second, {20});
    c.EndsAround(second, 12, 612, "file size");
    c.Edges({"member B numTables", 116, 2}, {3, 4, 6});
    c.Edges({"member B 'name' record offset", 180, 4}, {364});
    c.Edges({"member B 'name' record length", 184, 4});
    const Field postOffset{"member B 'post' record offset", 196, 4}, postLength{"member B 'post' record length", 200, 4};
    c.EndsAround(postOffset, 5, 612, "file size");
    c.EndsAround(postLength, 604, 612, "file size");
    c.Edges(postLength);
}

// Files whose tables claim more than the file holds or than may be decoded.
void AddWoffSizeCases(Subject& w) {
    // Four entries over one table's compressed data, each inflating to 100,000 bytes.
    ByteVector shared = BuildWoff({{MakeTag("aaaa"), ByteVector(100000)}, {MakeTag("bbbb"), {1}}, {MakeTag("cccc"), {2}}, {MakeTag("dddd"), {3}}});
    for (std::size_t i = 1; i < 4; ++i)
        for (std::size_t field : {kWoffEntryOffset, kWoffEntryCompLength, kWoffEntryOrigLength})
            PutU32(shared, WoffEntryField(i, field), GetU32(shared, WoffEntryField(0, field)));
    PutU32(shared, kWoffTotalSfntSize, 12 + 4 * 16 + 4 * 100000);
    w.Add("four entries over one table's compressed data", shared);
    // Two tables of 2 GiB whose sum wraps to a small totalSfntSize in 32 bits.
    ByteVector wrap = BuildWoff({{MakeTag("aaaa"), ByteVector(3000000, 1), 0, Storage::Stored},
                                 {MakeTag("bbbb"), ByteVector(3000000, 2), 0, Storage::Stored}});
    for (std::size_t i = 0; i < 2; ++i) PutU32(wrap, WoffEntryField(i, kWoffEntryOrigLength), 0x80000000);
    PutU32(wrap, kWoffTotalSfntSize, 12 + 32);
    w.Add("two tables of 2 GiB, totalSfntSize wrapped to 0x2C", wrap);
    w.Add("a table one byte past the 30 MiB limit", BuildWoff({{MakeTag("glyf"), ByteVector(kMaxDecodedImageSize - 12 - 16 + 1)}}));
}

// Header 0 to 43, directory 44 to 143: OS/2, cmap and head compressed, post
// (5 bytes) and name (36 bytes, "Woff Base") stored, in that order, the name
// table's data last and ending the file; totalSfntSize 296.
void AddWoffCases(std::vector<MalformedFont>& cases) {
    const ByteVector names = NameTableBuilder().Windows(0x0409, u"Woff Base").Build();
    Subject w(cases, "woff", FontLoader::Woff,
              BuildWoff({{MakeTag("OS/2"), ByteVector(78, 0x11)},
                         {MakeTag("cmap"), ByteVector(22, 0x22)},
                         {MakeTag("head"), ByteVector(54, 0x33)},
                         {MakeTag("post"), ByteVector(5, 0x55), 0, Storage::Stored},
                         {MakeTag("name"), names, 0, Storage::Stored}}));
    const ByteVector& base = w.base();
    const auto entry = [](std::size_t index, std::size_t field) { return WoffEntryField(index, field); };
    const std::size_t size = base.size(), nameAt = GetU32(base, entry(4, kWoffEntryOffset));
    const std::size_t os2At = GetU32(base, entry(0, kWoffEntryOffset)), os2Stored = GetU32(base, entry(0, kWoffEntryCompLength));
    Expect(GetU32(base, kWoffTotalSfntSize) == 296 && nameAt + 36 == size && os2Stored < 78 &&
               GetU32(base, entry(3, kWoffEntryCompLength)) == 5,
           "woff");
    w.Set({"signature", 0, 4}, {0, MakeTag("wOF2")});
    w.Edges({"flavor", 4, 4}, {MakeTag("OTTO"), MakeTag("true"), MakeTag("ttcf")});
    w.Set({"length", 8, 4}, {0, 0xFFFFFFFF});
    w.Edges({"numTables", 12, 2}, {4, 6});
    w.Set({"reserved", 14, 2}, {0xFFFF});
    w.Edges({"totalSfntSize", kWoffTotalSfntSize, 4}, {295, 297, 300});
    for (const auto& [name, at, value] : {std::tuple{"majorVersion", 20u, 0xFFFFu}, {"metaOffset", 24u, 0xFFFFFFFFu},
                                         {"metaLength", 28u, 0xFFFFFFFFu}, {"privOffset", 36u, 0xFFFFFFFFu}, {"privLength", 40u, 0xFFFFFFFFu}})
        w.Set({name, at, value > 0xFFFF ? 4u : 2u}, {value});
    const Field nameOffset{"name entry offset", entry(4, kWoffEntryOffset), 4};
    const Field nameStored{"name entry compLength", entry(4, kWoffEntryCompLength), 4};
    w.Edges(nameOffset);
    w.EndsAround(nameOffset, 36, size, "file size");
    w.Edges(nameStored);
    w.EndsAround(nameStored, nameAt, size, "file size");
    w.Edges({"name entry origLength", entry(4, kWoffEntryOrigLength), 4}, {35, 37});
    w.Set({"OS/2 entry offset", entry(0, kWoffEntryOffset), 4}, {0, os2At + 1, 0xFFFFFFFF});
    // compLength equal to origLength makes the stream and what follows it a stored table.
    w.Set({"OS/2 entry compLength", entry(0, kWoffEntryCompLength), 4}, {0, os2Stored - 1, 78, 0xFFFFFFFF});
    // Inflating to more or less than origLength; 77 and 79 keep the layout's size.
    w.Set({"OS/2 entry origLength", entry(0, kWoffEntryOrigLength), 4}, {77, 79, 0xFFFFFFFF});
    for (const auto& [at, flip, what] : {std::tuple{os2At + os2Stored / 2, 0xFF, "OS/2 stream corrupted in the middle"},
                                         {os2At + os2Stored - 1, 0x01, "OS/2 stream's checksum corrupted"}}) {
        ByteVector corrupt = base;
        corrupt[at] ^= static_cast<std::uint8_t>(flip);
        w.Add(what, corrupt);
    }

    // Two entries over the same compressed data, the layout kept consistent.
    ByteVector shared = base;
    for (std::size_t field : {kWoffEntryOffset, kWoffEntryCompLength, kWoffEntryOrigLength})
        PutU32(shared, entry(1, field), GetU32(base, entry(0, field)));
    PutU32(shared, kWoffTotalSfntSize, 296 - 24 + 80);
    w.Add("cmap entry over OS/2's data", shared);
    w.Set({"name entry offset over 'post'", nameOffset.at, 4}, {GetU32(base, entry(3, kWoffEntryOffset))});
    w.Set({"post entry tag", entry(3, 0), 4}, {MakeTag("name")});
    ByteVector bare = With(base, {"numTables", 12, 2}, 0);
    w.Add("numTables = 0x0 with totalSfntSize = 0xC", With(bare, {"totalSfntSize", kWoffTotalSfntSize, 4}, 12));
    w.Add("cut to 43 bytes", ByteVector(base.begin(), base.begin() + 43));
    AddWoffSizeCases(w);
}

const FontSample& Sample(const std::vector<FontSample>& samples, const std::string& fileName) {
    for (const FontSample& sample : samples)
        if (sample.path.filename() == fileName) return sample;
    throw std::logic_error("no font sample " + fileName);
}

// Where the Brotli stream of a single font's WOFF2 file starts: after the
// 48-byte header and the table directory, whose entries are a flags byte, an
// optional tag, origLength and, for a transformed table, transformLength.
std::size_t Woff2StreamStart(const ByteVector& woff2) {
    std::size_t at = 48;
    const auto skipBase128 = [&] {
        while (woff2.at(at++) & 0x80) {
        }
    };
    for (std::size_t i = 0, n = GetU16(woff2, 12); i < n; ++i) {
        const unsigned flags = woff2.at(at++), known = flags & 0x3F, version = flags >> 6;
        if (known == 0x3F) at += 4;
        skipBase128();
        const bool glyfOrLoca = known == 10 || known == 11;  // transformed unless version 3
        if (glyfOrLoca ? version != 3 : version != 0) skipBase128();
    }
    return at;
}

void AddSampleWoff2Cases(std::vector<MalformedFont>& cases, const FontSample& sample) {
    Subject w(cases, sample.path.filename().string(), sample.loader, ReadSample(sample));
    const std::uint32_t size = static_cast<std::uint32_t>(w.base().size());
    w.Set({"signature", 0, 4}, {MakeTag("wOFF")});
    w.Set({"length", 8, 4}, {0, size - 1, size + 1, 0xFFFFFFFF});
    w.Set({"numTables", 12, 2}, {0, 0xFFFF});
    w.Set({"reserved", 14, 2}, {0xFFFF});
    w.Set({"totalSfntSize", 16, 4}, {0, 1, 0xFFFFFFFF});
    w.Set({"totalCompressedSize", 20, 4}, {0, 0xFFFFFFFF});
    w.Set({"majorVersion", 24, 2}, {0xFFFF});
    w.Set({"metaOffset", 28, 4}, {size, 0xFFFFFFFF});
    w.Set({"privOffset", 40, 4}, {size, 0xFFFFFFFF});
    w.Add("cut by one byte", ByteVector(w.base().begin(), w.base().end() - 1));
    if (GetU32(w.base(), 4) == MakeTag("ttcf")) {
        w.Set({"flavor", 4, 4}, {0x00010000});
        return;
    }
    w.Set({"flavor", 4, 4}, {MakeTag("true")});
    const std::tuple<std::size_t, std::uint8_t, const char*> mangles[] = {
        {48, 0x3F, "first directory entry's flags = 0x3F"},  // an arbitrary tag follows, shifting the whole directory
        {49, 0x80, "first directory entry's origLength begins with 0x80"},  // a leading zero digit
        {Woff2StreamStart(w.base()), 0xFF, "Brotli stream's first byte = 0xFF"}};
    for (const auto& [at, value, what] : mangles) {
        ByteVector mangled = w.base();
        mangled.at(at) = value;
        w.Add(what, mangled);
    }
}

constexpr std::uint64_t kTableLength = std::uint64_t{1} << 32;  // stands for the length of the field's table

// A field of a table a variable or colour face is drawn from: `at` bytes into
// the table, or past the 32-bit offset `via` bytes into it when `via` is set.
struct DrawnField { const char* tag; const char* name; std::size_t via, at; unsigned width; std::vector<std::uint64_t> values; };

// The loader reads none of these tables, so the names stay; shaping and
// drawing at every axis's extremes must stay inside the file.
void AddSampleDrawnCases(std::vector<MalformedFont>& cases, const FontSample& sample, std::initializer_list<DrawnField> fields,
                         bool described = false) {
    Subject s(cases, sample.path.filename().string(), sample.loader, ReadSample(sample), described);
    for (const DrawnField& f : fields) {
        const std::size_t record = RecordOf(s.base(), 0, MakeTag(f.tag)), table = GetU32(s.base(), record + 8);
        const Field field{std::string(f.tag) + " " + f.name, table + (f.via ? GetU32(s.base(), table + f.via) : 0) + f.at, f.width};
        for (std::uint64_t value : f.values) s.Set(field, {value == kTableLength ? GetU32(s.base(), record + 12) : value});
    }
}

// The described font (DescribedFontTables) with fields of the tables its
// details come from at the edges of their range.
void AddDescribedCases(std::vector<MalformedFont>& cases) {
    Subject s(cases, "described", FontLoader::Sfnt, BuildSfnt(DescribedFontTables()), true);
    const auto record = [&s](const char* tag) { return RecordOf(s.base(), 0, MakeTag(tag)); };
    const auto at = [&](const char* tag) { return std::size_t{GetU32(s.base(), record(tag) + 8)}; };
    const std::size_t os2 = at("OS/2"), cmap = at("cmap"), fvar = at("fvar"), gsub = at("GSUB"), gpos = at("GPOS"), name = at("name");
    const std::tuple<const char*, std::size_t, unsigned, Values> fields[] = {
        {"OS/2 version", os2, 2, {0, 0xFFFF}},
        {"'OS/2' record length", record("OS/2") + 12, 4, {61}},
        {"OS/2 achVendID", os2 + 58, 4, {0x41420043}},
        {"'glyf' record tag", record("glyf"), 4, {MakeTag("CFF2")}},
        {"cmap numTables", cmap + 2, 2, {0, 0xFFFF}},
        {"cmap record 1 offset", cmap + 16, 4, {0, 0xFFFFFFFF}},
        {"cmap subtable 1 length", cmap + 56, 4, {39, 41}},
        {"cmap subtable 1 numGroups", cmap + 64, 4, {0, 3, 0xFFFFFFFF}},
        {"cmap subtable 1 first group's end", cmap + 72, 4, {0xFFFFFFFF}},
        {"fvar axesArrayOffset", fvar + 4, 2, {0}},
        {"fvar axisCount", fvar + 8, 2, {0, 2, 0xFFFF}},
        {"fvar axisSize", fvar + 10, 2, {24, 0xFFFF}},
        {"fvar instanceCount", fvar + 12, 2, {3, 0xFFFF}},
        {"fvar instanceSize", fvar + 14, 2, {12, 10}},
        {"GSUB featureListOffset", gsub + 6, 2, {27}},
        {"GSUB featureCount", gsub + 10, 2, {0xFFFF}},
        {"GSUB feature 1 offset", gsub + 22, 2, {0xFFFF}},
        {"GSUB lookupListOffset", gsub + 8, 2, {0xFFFF}},
        {"GSUB lookupIndexCount", gsub + 26, 2, {0xFFFF}},
        {"GSUB lookup index", gsub + 28, 2, {1}},
        {"GSUB subTableCount", gsub + 38, 2, {0xFFFF}},
        {"GSUB subtable offset", gsub + 40, 2, {0xFFFF}},
        {"GSUB deltaGlyphID", gsub + 46, 2, {0, 0xFFFF}},
        {"GSUB coverage glyphCount", gsub + 50, 2, {0, 0xFFFF}},
        {"GPOS valueFormat", gpos + 46, 2, {0x10, 0xFFFF}},
        {"GPOS XAdvance", gpos + 48, 2, {0}},
        {"name count", name + 2, 2, {0xFFFF}},
        {"name stringOffset", name + 4, 2, {0xFFFF}},
        {"name record 6 length", name + 6 + 12 * 6 + 8, 2, {0xFFFF}},
    };
    for (const auto& [field, offset, width, values] : fields) s.Set({field, offset, width}, values);
}

// The described font with a cmap of a format 12 and a format 14 subtable.
void AddVariationSequenceCases(std::vector<MalformedFont>& cases) {
    std::vector<Table> tables = DescribedFontTables();
    for (Table& table : tables)
        if (table.tag == MakeTag("cmap"))
            table.data = BuildCmap({{3, 10, CmapGroups(12, {{0x41, 0x43, 1}})}, {0, 5, CmapVariationSequences()}});
    Subject s(cases, "variation sequences", FontLoader::Sfnt, BuildSfnt(tables), true);
    const std::size_t uvs = GetU32(s.base(), RecordOf(s.base(), 0, MakeTag("cmap")) + 8) + 48;
    s.Set({"format", uvs, 2}, {4});
    s.Set({"length", uvs + 2, 4}, {50});
    s.Set({"numVarSelectorRecords", uvs + 6, 4}, {0, 4});
    s.Set({"U+FE00 defaultUVSOffset", uvs + 13, 4}, {0xFFFFFFFF});
    s.Set({"U+E0100 defaultUVSOffset", uvs + 24, 4}, {32});  // U+FE00's, shared
    s.Set({"numUnicodeValueRanges", uvs + 32, 4}, {4, 0xFFFFFFFF});
    s.Set({"numUVSMappings", uvs + 40, 4}, {2});
}

}  // namespace

std::vector<MalformedFont> MalformedBuilderFonts() {
    std::vector<MalformedFont> cases;
    AddSfntCases(cases);
    AddNameLastCases(cases);
    AddCollectionCases(cases);
    AddWoffCases(cases);
    AddDescribedCases(cases);
    AddVariationSequenceCases(cases);
    return cases;
}

std::vector<MalformedFont> MalformedSampleFonts(const std::vector<FontSample>& samples) {
    std::vector<MalformedFont> cases;
    for (const char* woff2 : {"dejavu-sans.woff2", "noto-sans-cjk-jp.woff2", "noto-sans-cjk.woff2"})
        AddSampleWoff2Cases(cases, Sample(samples, woff2));
    AddSampleDrawnCases(cases, Sample(samples, "inter-variable.ttf"),
                        {{"fvar", "axesArrayOffset", 0, 4, 2, {0, kTableLength, 0xFFFF}},
                         {"fvar", "axisCount", 0, 8, 2, {0, 0xFFFF}},
                         {"fvar", "instanceCount", 0, 12, 2, {0xFFFF}},
                         {"gvar", "sharedTuplesOffset", 0, 8, 4, {kTableLength, 0xFFFFFFFF}},
                         {"gvar", "flags", 0, 14, 2, {1, 0xFFFF}},  // 1: long offsets where short ones are
                         {"gvar", "glyphVariationDataArrayOffset", 0, 16, 4, {kTableLength, 0xFFFFFFFF}},
                         {"HVAR", "itemVariationStoreOffset", 0, 4, 4, {kTableLength, 0xFFFFFFFF}}});
    // fontTools writes this font's top DICT as FDArray 87, CharStrings 48 and
    // VariationStore 16, each a one-byte operand (the offset + 139).
    AddSampleDrawnCases(cases, Sample(samples, "variable-cff2.otf"),
                        {{"CFF2", "topDictLength", 0, 3, 2, {0, 0xFFFF}},
                         {"CFF2", "CharStrings offset", 0, 8, 1, {139, 246}},  // 0 and 107, past the table
                         {"CFF2", "CharStrings count", 0, 48, 4, {0xFFFFFFFF}},
                         {"CFF2", "last charstring's end", 0, 55, 1, {0xFF}},
                         {"avar", "axisCount", 0, 6, 2, {0xFFFF}},
                         {"avar", "positionMapCount", 0, 8, 2, {0, 1, 0xFFFF}}});
    // fontTools writes this subset's CFF header in 4 bytes, its name INDEX in 26, and its top DICT
    // from byte 35, with ROS first (registry and ordering as 2-byte operands) and the charset at 534.
    AddSampleDrawnCases(cases, Sample(samples, "noto-sans-cjk-jp.otf"),
                        {{"CFF ", "hdrSize", 0, 2, 1, {0, 0xFF}},
                         {"CFF ", "name INDEX count", 0, 4, 2, {0xFFFF}},
                         {"CFF ", "top DICT INDEX offSize", 0, 32, 1, {0, 5}},
                         {"CFF ", "ROS registry", 0, 36, 1, {0xFF}},  // a string past the string INDEX
                         {"CFF ", "ROS operator", 0, 41, 1, {0xFF}},  // an operator nobody defined
                         {"CFF ", "charset format", 0, 534, 1, {1, 2, 3, 0xFF}}},
                        true);
    AddSampleDrawnCases(cases, Sample(samples, "colr-layers.ttf"),
                        {{"COLR", "baseGlyphRecordsOffset", 0, 4, 4, {kTableLength, 0xFFFFFFFF}},
                         {"COLR", "layerRecordsOffset", 0, 8, 4, {kTableLength, 0xFFFFFFFF}},
                         {"COLR", "numLayerRecords", 0, 12, 2, {0xFFFF}},
                         {"COLR", "first base glyph's numLayers", 4, 4, 2, {3, 0xFFFF}},
                         {"COLR", "first layer's glyphID", 8, 0, 2, {0xFFFF}},
                         {"COLR", "first layer's paletteIndex", 8, 2, 2, {2, 0xFFFE}},  // the palette has 2
                         {"CPAL", "numPaletteEntries", 0, 2, 2, {0xFFFF}},
                         {"CPAL", "colorRecordsArrayOffset", 0, 8, 4, {kTableLength, 0xFFFFFFFF}}});
    AddSampleDrawnCases(cases, Sample(samples, "noto-color-emoji.ttf"),
                        {{"CBLC", "numSizes", 0, 4, 4, {0, 0xFFFFFFFF}},
                         {"CBLC", "indexSubTableArrayOffset", 0, 8, 4, {kTableLength, 0xFFFFFFFF}},
                         {"CBLC", "numberOfIndexSubTables", 0, 16, 4, {0xFFFFFFFF}},
                         // the one index subtable's offset into CBDT (of 7 KB), after its 8-byte array record
                         {"CBLC", "imageDataOffset", 8, 12, 4, {0x10000, 0xFFFFFFFF}}});
    return cases;
}

}  // namespace tavrel::test
