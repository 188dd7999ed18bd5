#include "cff_table.h"

#include <array>
#include <vector>

namespace tavrel {

namespace {

constexpr std::uint32_t kCffTag = Tag("CFF ");
constexpr std::uint32_t kStandardStrings = 391;
constexpr std::size_t kMaxOperands = 48;
constexpr int kRosOperator = 0x0C1E, kCharsetOperator = 15, kCharStringsOperator = 17;

// An INDEX: where its items' data starts, and their offsets (count + 1 of them, from 1).
struct CffIndex {
    std::uint64_t dataStart = 0;
    std::vector<std::uint32_t> offsets;
    std::uint64_t End() const { return offsets.empty() ? dataStart : dataStart + offsets.back() - 1; }
    std::uint32_t Count() const { return offsets.empty() ? 0 : static_cast<std::uint32_t>(offsets.size() - 1); }
};

bool ReadOffset(Bytes cff, std::uint64_t at, std::uint8_t size, std::uint32_t& value) {
    if (!RangeInside(at, size, cff.size())) return false;
    value = 0;
    for (std::uint8_t i = 0; i < size; ++i) value = value << 8 | cff[at + i];
    return true;
}

// Checks every offset ascends from 1 and the data lies inside the table.
std::optional<CffIndex> ReadIndex(Bytes cff, std::uint64_t at) {
    std::uint16_t count = 0;
    if (!ReadU16BE(cff, at, count)) return std::nullopt;
    CffIndex index;
    index.dataStart = at + 2;
    if (count == 0) return index;
    const std::uint8_t size = RangeInside(at + 2, 1, cff.size()) ? cff[at + 2] : 0;
    if (size < 1 || size > 4 || !RangeInside(at + 3, std::uint64_t{size} * (count + 1u), cff.size())) return std::nullopt;
    index.offsets.resize(count + 1u);
    for (std::uint32_t i = 0; i <= count; ++i) {
        ReadOffset(cff, at + 3 + std::uint64_t{size} * i, size, index.offsets[i]);
        if (index.offsets[i] < (i == 0 ? 1u : index.offsets[i - 1]) || (i == 0 && index.offsets[0] != 1)) return std::nullopt;
    }
    index.dataStart = at + 3 + std::uint64_t{size} * (count + 1u);
    if (!RangeInside(index.dataStart, index.offsets.back() - 1, cff.size())) return std::nullopt;
    return index;
}

Bytes Item(Bytes cff, const CffIndex& index, std::uint32_t i) {
    return cff.subspan(index.dataStart + index.offsets[i] - 1, index.offsets[i + 1] - index.offsets[i]);
}

// The operators of the top DICT this reader needs, with their operands.
struct TopDict {
    std::optional<std::array<std::int32_t, 3>> ros;
    std::optional<std::int32_t> charset, charStrings;
};

// One operand at `at`, moving past it; a real number is skipped and counts as 0.
bool ReadOperand(Bytes dict, std::size_t& at, std::int32_t& value) {
    const std::uint8_t b0 = dict[at++];
    const auto need = [&](std::size_t n) { return RangeInside(at, n, dict.size()); };
    if (b0 >= 32 && b0 <= 246) value = b0 - 139;
    else if (b0 >= 247 && b0 <= 250 && need(1)) value = (b0 - 247) * 256 + dict[at++] + 108;
    else if (b0 >= 251 && b0 <= 254 && need(1)) value = -(b0 - 251) * 256 - dict[at++] - 108;
    else if (b0 == 28 && need(2)) value = static_cast<std::int16_t>(dict[at] << 8 | dict[at + 1]), at += 2;
    else if (b0 == 29 && need(4)) value = static_cast<std::int32_t>(std::uint32_t{dict[at]} << 24 | std::uint32_t{dict[at + 1]} << 16 |
                                                                    std::uint32_t{dict[at + 2]} << 8 | dict[at + 3]), at += 4;
    else if (b0 == 30) {
        value = 0;
        for (bool end = false; !end; ++at) {
            if (at >= dict.size()) return false;
            end = (dict[at] & 0x0F) == 0x0F || (dict[at] >> 4) == 0x0F;
        }
    } else return false;
    return true;
}

std::optional<TopDict> ReadTopDict(Bytes dict) {
    TopDict top;
    std::vector<std::int32_t> operands;
    for (std::size_t at = 0; at < dict.size();) {
        if (dict[at] > 21) {
            std::int32_t value = 0;
            if (operands.size() == kMaxOperands || !ReadOperand(dict, at, value)) return std::nullopt;
            operands.push_back(value);
            continue;
        }
        int op = dict[at++];
        if (op == 12) {
            if (at >= dict.size()) return std::nullopt;
            op = 0x0C00 | dict[at++];
        }
        if (op == kRosOperator && operands.size() == 3) top.ros = {operands[0], operands[1], operands[2]};
        if (op == kCharsetOperator && operands.size() == 1) top.charset = operands[0];
        if (op == kCharStringsOperator && operands.size() == 1) top.charStrings = operands[0];
        operands.clear();
    }
    return top;
}

struct CffHeader {
    TopDict top;
    CffIndex strings;
};

// The header, the name INDEX passed over, the first top DICT and the string INDEX.
std::optional<CffHeader> ReadHeader(Bytes cff, std::string& why) {
    const std::uint8_t headerSize = cff.size() >= 4 ? cff[2] : 0;
    const auto names = headerSize >= 4 ? ReadIndex(cff, headerSize) : std::nullopt;
    const auto tops = names ? ReadIndex(cff, names->End()) : std::nullopt;
    if (!tops || tops->Count() == 0) return why = "its header or top DICT INDEX cannot be read", std::nullopt;
    const auto top = ReadTopDict(Item(cff, *tops, 0));
    if (!top) return why = "its top DICT cannot be read", std::nullopt;
    const auto strings = ReadIndex(cff, tops->End());
    if (!strings) return why = "its string INDEX cannot be read", std::nullopt;
    return CffHeader{*top, *strings};
}

// A string the DICT names: printable ASCII, anything else as '?'.
std::optional<std::string> StringOf(Bytes cff, const CffIndex& strings, std::int32_t sid) {
    if (sid < static_cast<std::int32_t>(kStandardStrings) || std::uint32_t(sid) - kStandardStrings >= strings.Count())
        return std::nullopt;
    std::string text;
    for (std::uint8_t c : Item(cff, strings, std::uint32_t(sid) - kStandardStrings))
        text += c >= 0x20 && c < 0x7F ? static_cast<char>(c) : '?';
    return text;
}

// The CIDs of `glyphs` glyphs in a format 0, 1 or 2 charset at `at`; glyph 0 is CID 0.
std::optional<std::vector<std::uint16_t>> CharsetCids(Bytes cff, std::uint64_t at, std::uint32_t glyphs) {
    if (!RangeInside(at, 1, cff.size()) || glyphs == 0) return std::nullopt;
    const std::uint8_t format = cff[at];
    if (format > 2) return std::nullopt;
    std::vector<std::uint16_t> cids(glyphs);
    const std::uint64_t rangeSize = format == 1 ? 3 : 4;
    // Each record or range names at least one glyph, so the walk ends by `glyphs` steps.
    for (std::uint64_t glyph = 1, record = at + 1; glyph < glyphs; record += format == 0 ? 2 : rangeSize) {
        std::uint16_t first = 0, left = 0;
        if (!ReadU16BE(cff, record, first)) return std::nullopt;
        if (format == 1 && RangeInside(record + 2, 1, cff.size())) left = cff[record + 2];
        else if (format == 2 && !ReadU16BE(cff, record + 2, left)) return std::nullopt;
        else if (format == 1) return std::nullopt;
        for (std::uint32_t i = 0; i <= left && glyph < glyphs; ++i) cids[glyph++] = static_cast<std::uint16_t>(first + i);
    }
    return cids;
}

}  // namespace

std::optional<std::string> ReadCffRos(Bytes cff, Problems& problems) {
    std::string why;
    const auto header = ReadHeader(cff, why);
    if (!header) {
        problems.push_back(TableProblem(kCffTag, why));
        return std::nullopt;
    }
    if (!header->top.ros) return std::nullopt;
    const auto& [registry, ordering, supplement] = *header->top.ros;
    const auto r = StringOf(cff, header->strings, registry), o = StringOf(cff, header->strings, ordering);
    if (!r || !o) {
        problems.push_back(TableProblem(kCffTag, "its ROS names a string it does not hold"));
        return std::nullopt;
    }
    return *r + "-" + *o + "-" + std::to_string(supplement);
}

std::optional<std::vector<std::uint16_t>> ReadCffCids(Bytes cff) {
    std::string why;
    const auto header = ReadHeader(cff, why);
    if (!header || !header->top.ros || !header->top.charset || !header->top.charStrings) return std::nullopt;
    const std::int32_t charset = *header->top.charset, charStrings = *header->top.charStrings;
    if (charset <= 2 || charStrings <= 0) return std::nullopt;  // 0 to 2 name the predefined charsets of name-keyed fonts
    const auto glyphs = ReadIndex(cff, static_cast<std::uint64_t>(charStrings));
    if (!glyphs) return std::nullopt;
    return CharsetCids(cff, static_cast<std::uint64_t>(charset), glyphs->Count());
}

}  // namespace tavrel
