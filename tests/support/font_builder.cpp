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

ByteVector WithU32(ByteVector bytes, std::size_t at, std::uint32_t value) {
    PutU32(bytes, at, value);
    return bytes;
}

std::uint16_t GetU16(const ByteVector& bytes, std::size_t at) {
    return static_cast<std::uint16_t>(bytes.at(at) << 8 | bytes.at(at + 1));
}

std::uint32_t GetU32(const ByteVector& bytes, std::size_t at) { return std::uint32_t{GetU16(bytes, at)} << 16 | GetU16(bytes, at + 2); }

ByteVector Pack(std::initializer_list<Field16or32> fields) {
    ByteVector bytes;
    for (const Field16or32& field : fields) {
        bytes.resize(bytes.size() + field.width);
        field.width == 2 ? PutU16(bytes, bytes.size() - 2, static_cast<std::uint16_t>(field.value))
                         : PutU32(bytes, bytes.size() - 4, field.value);
    }
    return bytes;
}

static void Append(ByteVector& to, const ByteVector& bytes) { to.insert(to.end(), bytes.begin(), bytes.end()); }

ByteVector Utf16BE(std::u16string_view text) {
    ByteVector bytes;
    for (char16_t unit : text) Append(bytes, Pack({F16(unit)}));
    return bytes;
}

ByteVector Ascii(std::string_view text) { return ByteVector(text.begin(), text.end()); }

// The offset table with the usual searchRange fields and the records of
// `tables`, whose data is laid out from `dataAt` on at 4-byte boundaries.
static ByteVector Directory(const std::vector<Table>& tables, std::uint32_t sfntVersion, std::size_t& dataAt) {
    const auto numTables = static_cast<std::uint16_t>(tables.size());
    std::uint16_t power = 1, log = 0;
    while (numTables && power * 2 <= numTables) power *= 2, ++log;
    const std::uint16_t searchRange = numTables ? static_cast<std::uint16_t>(power * 16) : 0;
    ByteVector out = Pack({F32(sfntVersion), F16(numTables), F16(searchRange), F16(numTables ? log : 0),
                           F16(static_cast<std::uint16_t>(numTables * 16 - searchRange))});
    for (const Table& table : tables) {
        Append(out, Pack({F32(table.tag), F32(table.checksum), F32(static_cast<std::uint32_t>(dataAt)),
                          F32(static_cast<std::uint32_t>(table.data.size()))}));
        dataAt += (table.data.size() + 3) & ~std::size_t{3};
    }
    return out;
}

static void AppendPadded(ByteVector& out, const ByteVector& data) {
    Append(out, data);
    while (out.size() % 4) out.push_back(0);
}

ByteVector BuildSfnt(const std::vector<Table>& tables, std::uint32_t sfntVersion) {
    std::size_t dataAt = 12 + 16 * tables.size();
    ByteVector out = Directory(tables, sfntVersion, dataAt);
    for (const Table& table : tables) AppendPadded(out, table.data);
    return out;
}

NameTableBuilder& NameTableBuilder::Record(NameRecordSpec record) {
    records_.push_back(std::move(record));
    return *this;
}

ByteVector NameTableBuilder::Build() const {
    const auto count = static_cast<std::uint32_t>(records_.size());
    ByteVector table = Pack({F16(0), F16(count), F16(6 + 12 * count)}), strings;
    for (const NameRecordSpec& r : records_) {
        Append(table, Pack({F16(r.platformID), F16(r.encodingID), F16(r.languageID), F16(r.nameID),
                            F16(static_cast<std::uint32_t>(r.text.size())), F16(static_cast<std::uint32_t>(strings.size()))}));
        Append(strings, r.text);
    }
    Append(table, strings);
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
    ByteVector out = Pack({F32(MakeTag("ttcf")), F32(0x00010000), F32(static_cast<std::uint32_t>(members.size()))});
    std::size_t directoryAt = 12 + 4 * members.size();
    for (const auto& tables : members) {
        Append(out, Pack({F32(static_cast<std::uint32_t>(directoryAt))}));
        directoryAt += 12 + 16 * tables.size();
    }
    std::size_t dataAt = (directoryAt + 3) & ~std::size_t{3};
    for (const auto& tables : members) Append(out, Directory(tables, 0x00010000, dataAt));
    while (out.size() % 4) out.push_back(0);
    for (const auto& tables : members)
        for (const Table& table : tables) AppendPadded(out, table.data);
    return out;
}

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

ByteVector CmapFormat4(std::vector<CmapRun> runs) {
    runs.push_back({0xFFFF, 0xFFFF, 0});
    const auto n = static_cast<std::uint32_t>(runs.size());
    ByteVector bytes = Pack({F16(4), F16(16 + 8 * n), F16(0), F16(2 * n), F16(0), F16(0), F16(0)});
    const auto column = [&](auto field) { for (const CmapRun& r : runs) Append(bytes, Pack({F16(field(r))})); };
    column([](const CmapRun& r) { return r.last; });
    Append(bytes, Pack({F16(0)}));  // reservedPad
    column([](const CmapRun& r) { return r.first; });
    column([](const CmapRun& r) { return r.glyph - r.first; });  // idDelta
    column([](const CmapRun&) { return 0u; });                   // idRangeOffset
    return bytes;
}

ByteVector LayoutTable(std::uint32_t a, std::uint32_t b, std::uint16_t type, const ByteVector& subtable, std::uint16_t count) {
    const auto list = static_cast<std::uint16_t>(28 + 2 * count), lookup = static_cast<std::uint16_t>(2 + 2 * count);
    ByteVector table = Pack({F32(0x00010000), F16(0), F16(10), F16(list), F16(2), F32(a), F16(14), F32(b), F16(14), F16(0), F16(count)});
    for (std::uint16_t i = 0; i < count; ++i) Append(table, Pack({F16(i)}));
    Append(table, Pack({F16(count)}));
    for (std::uint16_t i = 0; i < count; ++i) Append(table, Pack({F16(lookup)}));
    Append(table, Pack({F16(type), F16(0), F16(1), F16(8)}));
    Append(table, subtable);
    return table;
}

ByteVector CmapVariationSequences() {
    return {0, 14, 0, 0, 0, 49, 0, 0, 0, 2,
            0x00, 0xFE, 0x00, 0, 0, 0, 32, 0, 0, 0, 0,  // U+FE00: its default table
            0x0E, 0x01, 0x00, 0, 0, 0, 0, 0, 0, 0, 40,  // U+E0100: its other table
            0, 0, 0, 1, 0x00, 0x00, 0x41, 1,            // A and B
            0, 0, 0, 1, 0x00, 0x00, 0x43, 0, 4};        // C as glyph 4
}

std::vector<Table> DescribedFontTables() {
    ByteVector head(54), hhea(36), os2(96), post(32);
    PutU32(head, 0, 0x00010000), PutU32(head, 12, 0x5F0F3CF5), PutU16(head, 18, 1000);
    PutU32(hhea, 0, 0x00010000), PutU16(hhea, 34, 3);
    PutU16(os2, 0, 4), PutU16(os2, 4, 700), PutU16(os2, 6, 3), PutU16(os2, 8, 8), PutU32(os2, 58, MakeTag("TEST"));
    PutU32(post, 0, 0x00030000), PutU32(post, 4, 0xFFF38000), PutU32(post, 12, 1);
    NameTableBuilder names;
    for (const auto& [id, text] : {std::pair<std::uint16_t, std::u16string_view>{0, u"Line one\nLine two"}, {1, u"Described"},
                                   {2, u"Bold"}, {4, u"Described Bold"}, {256, u"Weight"}, {257, u"Light"}, {258, u"Heavy"}})
        names.Windows(0x0409, text, id);
    const ByteVector fvar = Pack({F16(1), F16(0), F16(16), F16(2), F16(1), F16(20), F16(2), F16(8),
                                  F32(MakeTag("wght")), F32(100 << 16), F32(400 << 16), F32(900 << 16), F16(0), F16(256),
                                  F16(257), F16(0), F32(100 << 16), F16(258), F16(0), F32(900 << 16)});
    const ByteVector substitution = Pack({F16(1), F16(6), F16(1), F16(1), F16(1), F16(1)});  // glyph 1 to 1 + 1
    const ByteVector adjustment = Pack({F16(1), F16(8), F16(4), F16(50), F16(1), F16(1), F16(2)});  // XAdvance 50 for glyph 2
    const ByteVector cmap = BuildCmap({{3, 1, CmapFormat4({{0x41, 0x43, 1}})},
                                       {3, 10, CmapGroups(12, {{0x41, 0x43, 1}, {0x1F600, 0x1F600, 4}})}});
    return {{MakeTag("GPOS"), LayoutTable(MakeTag("kern"), MakeTag("liga"), 1, adjustment)},
            {MakeTag("GSUB"), LayoutTable(MakeTag("liga"), MakeTag("smcp"), 1, substitution)},
            {MakeTag("OS/2"), os2}, {MakeTag("cmap"), cmap}, {MakeTag("fvar"), fvar}, {MakeTag("glyf"), ByteVector(4)},
            {MakeTag("head"), head}, {MakeTag("hhea"), hhea}, {MakeTag("maxp"), Pack({F32(0x00005000), F16(5)})},
            {MakeTag("name"), names.Build()}, {MakeTag("post"), post}};
}

}  // namespace tavrel::test
