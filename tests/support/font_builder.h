#pragma once
// Builds small sfnt, collection and name-table images in memory, so tests,
// fuzz seeds and benchmarks can make exactly the font they need.

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

namespace tavrel::test {

using ByteVector = std::vector<std::uint8_t>;

struct Table { std::uint32_t tag; ByteVector data; std::uint32_t checksum = 0; };

constexpr std::uint32_t MakeTag(std::string_view text) {
    return std::uint32_t(std::uint8_t(text[0])) << 24 | std::uint32_t(std::uint8_t(text[1])) << 16 |
           std::uint32_t(std::uint8_t(text[2])) << 8 | std::uint32_t(std::uint8_t(text[3]));
}

void PutU16(ByteVector& bytes, std::size_t at, std::uint16_t value);
void PutU32(ByteVector& bytes, std::size_t at, std::uint32_t value);
std::uint16_t GetU16(const ByteVector& bytes, std::size_t at);  // throws past the end
ByteVector WithU32(ByteVector bytes, std::size_t at, std::uint32_t value);  // a copy with one field changed
std::uint32_t GetU32(const ByteVector& bytes, std::size_t at);
ByteVector Utf16BE(std::u16string_view text);
ByteVector Ascii(std::string_view text);

// Offset table with the usual searchRange fields, records in the order given,
// each table's data at a 4-byte boundary, zero-padded.
ByteVector BuildSfnt(const std::vector<Table>& tables, std::uint32_t sfntVersion = 0x00010000);

struct NameRecordSpec { std::uint16_t platformID, encodingID, languageID, nameID; ByteVector text; };

class NameTableBuilder {
public:
    NameTableBuilder& Windows(std::uint16_t language, std::u16string_view text, std::uint16_t nameID = 4, std::uint16_t encoding = 1) {
        return Record({3, encoding, language, nameID, Utf16BE(text)});
    }
    NameTableBuilder& Mac(std::uint16_t language, std::string_view text, std::uint16_t nameID = 4, std::uint16_t encoding = 0) {
        return Record({1, encoding, language, nameID, Ascii(text)});
    }
    NameTableBuilder& Record(NameRecordSpec record);
    ByteVector Build() const;

private:
    std::vector<NameRecordSpec> records_;
};

// A minimal font: a 'name' table with the given full names plus a few filler tables.
ByteVector BuildNamedFont(const NameTableBuilder& names, std::uint32_t sfntVersion = 0x00010000);
ByteVector BuildFontNamed(std::u16string_view windowsEnglishName);

// A "ttcf" collection whose members each get their own directory; table data
// is laid out after all directories.
ByteVector BuildCollection(const std::vector<std::vector<Table>>& members);
std::vector<Table> NamedFontTables(std::u16string_view windowsEnglishName);

// Big-endian fields laid one after another: Pack({F16(4), F32(0x10000)}).
struct Field16or32 { std::uint32_t value; unsigned width; };
constexpr Field16or32 F16(std::uint32_t value) { return {value, 2}; }
constexpr Field16or32 F32(std::uint32_t value) { return {value, 4}; }
ByteVector Pack(std::initializer_list<Field16or32> fields);

struct CmapSubtable { std::uint16_t platform, encoding; ByteVector bytes; };
ByteVector BuildCmap(const std::vector<CmapSubtable>& subtables);
struct CmapRun { std::uint32_t first, last, glyph; };  // code points and the glyph of the first
// Format 12 or 13 groups; format 4 segments mapped by idDelta, 0xFFFF added.
ByteVector CmapGroups(std::uint16_t format, const std::vector<CmapRun>& runs);
ByteVector CmapFormat4(std::vector<CmapRun> runs);

// A GSUB or GPOS table: features `a` and `b` both list lookups 0 to count - 1,
// every one of them the same lookup of `type` with the one `subtable`.
ByteVector LayoutTable(std::uint32_t a, std::uint32_t b, std::uint16_t type, const ByteVector& subtable, std::uint16_t count = 1);
// A cmap format 14 subtable: A and B by default with U+FE00, C as glyph 4 with U+E0100.
ByteVector CmapVariationSequences();

// A face with every table the face reader reads, each field set as the unit
// test of DescribeFace lists; its cmap has (3,1) format 4 and (3,10) format 12.
// GSUB's lookup turns A into B (glyph 1 into 2), GPOS's moves B.
std::vector<Table> DescribedFontTables();

}  // namespace tavrel::test
