#include "woff_builder.h"

#include <zlib.h>

#include <stdexcept>

namespace tavrel::test {

ByteVector ZlibCompress(const ByteVector& data) {
    uLongf length = compressBound(static_cast<uLong>(data.size()));
    ByteVector out(length);
    if (compress(out.data(), &length, data.data(), static_cast<uLong>(data.size())) != Z_OK)
        throw std::runtime_error("zlib compress failed");
    out.resize(length);
    return out;
}

static void Pad4(ByteVector& bytes) {
    while (bytes.size() % 4) bytes.push_back(0);
}

static ByteVector StoredForm(const WoffTable& table) {
    if (table.storage == Storage::Stored) return table.data;
    ByteVector compressed = ZlibCompress(table.data);
    return compressed.size() < table.data.size() ? compressed : table.data;
}

static void PutHeader(ByteVector& out, std::size_t numTables, const WoffExtras& extras, std::uint32_t totalSfntSize) {
    PutU32(out, 0, MakeTag("wOFF"));
    PutU32(out, 4, extras.flavor);
    PutU32(out, 8, static_cast<std::uint32_t>(out.size()));
    PutU16(out, 12, static_cast<std::uint16_t>(numTables));
    PutU32(out, 16, totalSfntSize);
    PutU16(out, 20, 1);
}

static void AppendExtras(ByteVector& out, const WoffExtras& extras) {
    if (!extras.metadata.empty()) {
        Pad4(out);
        const ByteVector compressed = ZlibCompress(extras.metadata);
        PutU32(out, 24, static_cast<std::uint32_t>(out.size()));
        PutU32(out, 28, static_cast<std::uint32_t>(compressed.size()));
        PutU32(out, 32, static_cast<std::uint32_t>(extras.metadata.size()));
        out.insert(out.end(), compressed.begin(), compressed.end());
    }
    if (!extras.privateData.empty()) {
        Pad4(out);
        PutU32(out, 36, static_cast<std::uint32_t>(out.size()));
        PutU32(out, 40, static_cast<std::uint32_t>(extras.privateData.size()));
        out.insert(out.end(), extras.privateData.begin(), extras.privateData.end());
    }
}

ByteVector BuildWoff(const std::vector<WoffTable>& tables, const WoffExtras& extras) {
    ByteVector out(44 + 20 * tables.size());
    std::size_t totalSfntSize = 12 + 16 * tables.size();
    for (std::size_t i = 0; i < tables.size(); ++i) {
        const WoffTable& table = tables[i];
        const ByteVector stored = StoredForm(table);
        const std::size_t entry = 44 + 20 * i;
        PutU32(out, entry, table.tag);
        PutU32(out, entry + 4, static_cast<std::uint32_t>(out.size()));
        PutU32(out, entry + 8, static_cast<std::uint32_t>(stored.size()));
        PutU32(out, entry + 12, static_cast<std::uint32_t>(table.data.size()));
        PutU32(out, entry + 16, table.checksum);
        out.insert(out.end(), stored.begin(), stored.end());
        // No padding after the last table: the file ends where its data does.
        if (i + 1 < tables.size()) Pad4(out);
        totalSfntSize += (table.data.size() + 3) & ~std::size_t{3};
    }
    AppendExtras(out, extras);
    PutHeader(out, tables.size(), extras, static_cast<std::uint32_t>(totalSfntSize));
    return out;
}

ByteVector WoffFromSfnt(const ByteVector& sfnt) {
    const std::size_t numTables = GetU16(sfnt, 4);
    std::vector<WoffTable> tables;
    for (std::size_t i = 0; i < numTables; ++i) {
        const std::size_t record = 12 + 16 * i;
        const std::size_t offset = GetU32(sfnt, record + 8), length = GetU32(sfnt, record + 12);
        if (offset + length > sfnt.size()) throw std::out_of_range("table outside the sfnt image");
        const auto data = sfnt.begin() + static_cast<std::ptrdiff_t>(offset);
        tables.push_back({GetU32(sfnt, record), ByteVector(data, data + static_cast<std::ptrdiff_t>(length)),
                          GetU32(sfnt, record + 4)});
    }
    WoffExtras extras;
    extras.flavor = GetU32(sfnt, 0);
    return BuildWoff(tables, extras);
}

}  // namespace tavrel::test
