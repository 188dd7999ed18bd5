#include "font_builder.h"

namespace tavrel::test {

void PutU16(ByteVector& bytes, std::size_t at, std::uint16_t value) {
    bytes[at] = static_cast<std::uint8_t>(value >> 8);
    bytes[at + 1] = static_cast<std::uint8_t>(value);
}

void PutU32(ByteVector& bytes, std::size_t at, std::uint32_t value) {
    PutU16(bytes, at, static_cast<std::uint16_t>(value >> 16));
    PutU16(bytes, at + 2, static_cast<std::uint16_t>(value));
}

void AppendU16(ByteVector& bytes, std::uint16_t value) {
    bytes.resize(bytes.size() + 2);
    PutU16(bytes, bytes.size() - 2, value);
}

void AppendU32(ByteVector& bytes, std::uint32_t value) {
    bytes.resize(bytes.size() + 4);
    PutU32(bytes, bytes.size() - 4, value);
}

ByteVector Utf16BE(std::u16string_view text) {
    ByteVector bytes;
    for (char16_t unit : text) AppendU16(bytes, unit);
    return bytes;
}

ByteVector Ascii(std::string_view text) { return ByteVector(text.begin(), text.end()); }

static void AppendOffsetTable(ByteVector& out, std::uint32_t sfntVersion, std::uint16_t numTables) {
    std::uint16_t power = 1, log = 0;
    while (numTables && power * 2 <= numTables) power *= 2, ++log;
    const std::uint16_t searchRange = numTables ? static_cast<std::uint16_t>(power * 16) : 0;
    AppendU32(out, sfntVersion);
    AppendU16(out, numTables);
    AppendU16(out, searchRange);
    AppendU16(out, numTables ? log : 0);
    AppendU16(out, static_cast<std::uint16_t>(numTables * 16 - searchRange));
}

static void AppendRecord(ByteVector& out, const Table& table, std::uint32_t offset) {
    AppendU32(out, table.tag);
    AppendU32(out, table.checksum);
    AppendU32(out, offset);
    AppendU32(out, static_cast<std::uint32_t>(table.data.size()));
}

static void AppendPadded(ByteVector& out, const ByteVector& data) {
    out.insert(out.end(), data.begin(), data.end());
    while (out.size() % 4) out.push_back(0);
}

ByteVector BuildSfnt(const std::vector<Table>& tables, std::uint32_t sfntVersion) {
    ByteVector out;
    AppendOffsetTable(out, sfntVersion, static_cast<std::uint16_t>(tables.size()));
    std::size_t offset = 12 + 16 * tables.size();
    for (const Table& table : tables) {
        AppendRecord(out, table, static_cast<std::uint32_t>(offset));
        offset += (table.data.size() + 3) & ~std::size_t{3};
    }
    for (const Table& table : tables) AppendPadded(out, table.data);
    return out;
}

NameTableBuilder& NameTableBuilder::Windows(std::uint16_t language, std::u16string_view text,
                                            std::uint16_t nameID, std::uint16_t encoding) {
    return Record({3, encoding, language, nameID, Utf16BE(text)});
}

NameTableBuilder& NameTableBuilder::Mac(std::uint16_t language, std::string_view text, std::uint16_t nameID,
                                        std::uint16_t encoding) {
    return Record({1, encoding, language, nameID, Ascii(text)});
}

NameTableBuilder& NameTableBuilder::Record(NameRecordSpec record) {
    records_.push_back(std::move(record));
    return *this;
}

ByteVector NameTableBuilder::Build() const {
    ByteVector table, strings;
    AppendU16(table, 0);
    AppendU16(table, static_cast<std::uint16_t>(records_.size()));
    AppendU16(table, static_cast<std::uint16_t>(6 + 12 * records_.size()));
    for (const NameRecordSpec& r : records_) {
        for (std::uint16_t field : {r.platformID, r.encodingID, r.languageID, r.nameID}) AppendU16(table, field);
        AppendU16(table, static_cast<std::uint16_t>(r.text.size()));
        AppendU16(table, static_cast<std::uint16_t>(strings.size()));
        strings.insert(strings.end(), r.text.begin(), r.text.end());
    }
    table.insert(table.end(), strings.begin(), strings.end());
    return table;
}

static std::vector<Table> TablesAround(ByteVector nameTable) {
    return {
        {MakeTag("OS/2"), ByteVector(78, 0x11)},
        {MakeTag("cmap"), ByteVector(22, 0x22)},
        {MakeTag("head"), ByteVector(54, 0x33)},
        {MakeTag("name"), std::move(nameTable)},
        {MakeTag("post"), ByteVector(5, 0x55)},
    };
}

ByteVector BuildNamedFont(const NameTableBuilder& names, std::uint32_t sfntVersion) {
    return BuildSfnt(TablesAround(names.Build()), sfntVersion);
}

std::vector<Table> NamedFontTables(std::u16string_view windowsEnglishName) {
    return TablesAround(NameTableBuilder().Windows(0x0409, windowsEnglishName).Build());
}

ByteVector BuildFontNamed(std::u16string_view windowsEnglishName) {
    return BuildSfnt(NamedFontTables(windowsEnglishName));
}

ByteVector BuildCollection(const std::vector<std::vector<Table>>& members) {
    ByteVector out = Ascii("ttcf");
    AppendU32(out, 0x00010000);
    AppendU32(out, static_cast<std::uint32_t>(members.size()));
    std::size_t directoryAt = 12 + 4 * members.size();
    for (const auto& tables : members) {
        AppendU32(out, static_cast<std::uint32_t>(directoryAt));
        directoryAt += 12 + 16 * tables.size();
    }
    std::size_t dataAt = (directoryAt + 3) & ~std::size_t{3};
    for (const auto& tables : members) {
        ByteVector directory;
        AppendOffsetTable(directory, 0x00010000, static_cast<std::uint16_t>(tables.size()));
        for (const Table& table : tables) {
            AppendRecord(directory, table, static_cast<std::uint32_t>(dataAt));
            dataAt += (table.data.size() + 3) & ~std::size_t{3};
        }
        out.insert(out.end(), directory.begin(), directory.end());
    }
    while (out.size() % 4) out.push_back(0);
    for (const auto& tables : members)
        for (const Table& table : tables) AppendPadded(out, table.data);
    return out;
}

ByteVector Pack(std::initializer_list<Field16or32> fields) {
    ByteVector bytes;
    for (const Field16or32& field : fields)
        field.width == 2 ? AppendU16(bytes, static_cast<std::uint16_t>(field.value)) : AppendU32(bytes, field.value);
    return bytes;
}

static void Append(ByteVector& to, const ByteVector& bytes) { to.insert(to.end(), bytes.begin(), bytes.end()); }

ByteVector BuildCmap(const std::vector<CmapSubtable>& subtables) {
    ByteVector cmap = Pack({F16(0), F16(static_cast<std::uint32_t>(subtables.size()))}), data;
    for (const CmapSubtable& subtable : subtables) {
        const auto offset = static_cast<std::uint32_t>(4 + 8 * subtables.size() + data.size());
        Append(cmap, Pack({F16(subtable.platform), F16(subtable.encoding), F32(offset)})), Append(data, subtable.bytes);
    }
    Append(cmap, data);
    return cmap;
}

ByteVector CmapGroups(std::uint16_t format, const std::vector<CmapRun>& runs) {
    const auto count = static_cast<std::uint32_t>(runs.size());
    ByteVector bytes = Pack({F16(format), F16(0), F32(16 + 12 * count), F32(0), F32(count)});
    for (const CmapRun& run : runs) Append(bytes, Pack({F32(run.first), F32(run.last), F32(run.glyph)}));
    return bytes;
}

ByteVector CmapFormat4(const std::vector<CmapRun>& runs) {
    std::vector<CmapRun> segments = runs;
    segments.push_back({0xFFFF, 0xFFFF, 0});
    const auto count = static_cast<std::uint16_t>(segments.size());
    ByteVector bytes = Pack({F16(4), F16(16 + 8u * count), F16(0), F16(2u * count), F16(0), F16(0), F16(0)});
    for (const CmapRun& s : segments) AppendU16(bytes, static_cast<std::uint16_t>(s.last));
    AppendU16(bytes, 0);
    for (const CmapRun& s : segments) AppendU16(bytes, static_cast<std::uint16_t>(s.first));
    for (const CmapRun& s : segments) AppendU16(bytes, static_cast<std::uint16_t>(s.glyph - s.first));
    for (std::uint16_t i = 0; i < count; ++i) AppendU16(bytes, 0);
    return bytes;
}

std::vector<Table> DescribedFontTables() {
    ByteVector head(54), hhea(36), os2(96), post(32);
    PutU32(head, 0, 0x00010000), PutU32(head, 12, 0x5F0F3CF5), PutU16(head, 18, 1000);
    PutU32(hhea, 0, 0x00010000), PutU16(hhea, 34, 3);
    PutU16(os2, 0, 4), PutU16(os2, 4, 700), PutU16(os2, 6, 3), PutU16(os2, 8, 8), PutU32(os2, 58, MakeTag("TEST"));
    PutU32(post, 0, 0x00030000), PutU32(post, 4, 0xFFF38000), PutU32(post, 12, 1);
    NameTableBuilder names;
    names.Windows(0x0409, u"Line one\nLine two", 0).Windows(0x0409, u"Described", 1).Windows(0x0409, u"Bold", 2);
    names.Windows(0x0409, u"Described Bold").Windows(0x0409, u"Weight", 256).Windows(0x0409, u"Light", 257);
    names.Windows(0x0409, u"Heavy", 258);
    const ByteVector fvar = Pack({F16(1), F16(0), F16(16), F16(2), F16(1), F16(20), F16(2), F16(8),
                                  F32(MakeTag("wght")), F32(100 << 16), F32(400 << 16), F32(900 << 16), F16(0), F16(256),
                                  F16(257), F16(0), F32(100 << 16), F16(258), F16(0), F32(900 << 16)});
    const auto layout = [](std::uint32_t first, std::uint32_t second) {
        return Pack({F32(0x00010000), F16(0), F16(10), F16(0), F16(2), F32(first), F16(14), F32(second), F16(14),
                     F16(0), F16(0)});
    };
    const ByteVector cmap = BuildCmap({{3, 1, CmapFormat4({{0x41, 0x43, 1}})},
                                       {3, 10, CmapGroups(12, {{0x41, 0x43, 1}, {0x1F600, 0x1F600, 4}})}});
    return {{MakeTag("GPOS"), layout(MakeTag("kern"), MakeTag("liga"))}, {MakeTag("GSUB"), layout(MakeTag("liga"), MakeTag("smcp"))},
            {MakeTag("OS/2"), os2}, {MakeTag("cmap"), cmap}, {MakeTag("fvar"), fvar}, {MakeTag("glyf"), ByteVector(4)},
            {MakeTag("head"), head}, {MakeTag("hhea"), hhea}, {MakeTag("maxp"), Pack({F32(0x00005000), F16(5)})},
            {MakeTag("name"), names.Build()}, {MakeTag("post"), post}};
}

}  // namespace tavrel::test
