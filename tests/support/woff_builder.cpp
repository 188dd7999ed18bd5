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

// Each field at `at` in `out`, as Pack lays them out.
static void Overwrite(ByteVector& out, std::size_t at, std::initializer_list<Field16or32> fields) {
    const ByteVector bytes = Pack(fields);
    std::copy(bytes.begin(), bytes.end(), out.begin() + static_cast<std::ptrdiff_t>(at));
}

static void AppendExtras(ByteVector& out, const WoffExtras& extras) {
    if (!extras.metadata.empty()) {
        Pad4(out);
        const ByteVector compressed = ZlibCompress(extras.metadata);
        Overwrite(out, 24, {F32(static_cast<std::uint32_t>(out.size())), F32(static_cast<std::uint32_t>(compressed.size())),
                            F32(static_cast<std::uint32_t>(extras.metadata.size()))});
        out.insert(out.end(), compressed.begin(), compressed.end());
    }
    if (!extras.privateData.empty()) {
        Pad4(out);
        Overwrite(out, 36, {F32(static_cast<std::uint32_t>(out.size())), F32(static_cast<std::uint32_t>(extras.privateData.size()))});
        out.insert(out.end(), extras.privateData.begin(), extras.privateData.end());
    }
}

ByteVector BuildWoff(const std::vector<WoffTable>& tables, const WoffExtras& extras) {
    ByteVector out(44 + 20 * tables.size());
    std::size_t totalSfntSize = 12 + 16 * tables.size();
    for (std::size_t i = 0; i < tables.size(); ++i) {
        const WoffTable& table = tables[i];
        ByteVector stored = table.storage == Storage::Stored ? table.data : ZlibCompress(table.data);
        if (stored.size() >= table.data.size()) stored = table.data;  // compressed only when that makes it smaller
        const auto size = [](const ByteVector& bytes) { return F32(static_cast<std::uint32_t>(bytes.size())); };
        Overwrite(out, 44 + 20 * i, {F32(table.tag), size(out), size(stored), size(table.data), F32(table.checksum)});
        out.insert(out.end(), stored.begin(), stored.end());
        // No padding after the last table: the file ends where its data does.
        if (i + 1 < tables.size()) Pad4(out);
        totalSfntSize += (table.data.size() + 3) & ~std::size_t{3};
    }
    AppendExtras(out, extras);
    Overwrite(out, 0, {F32(MakeTag("wOFF")), F32(extras.flavor), F32(static_cast<std::uint32_t>(out.size())),
                       F16(static_cast<std::uint32_t>(tables.size())), F16(0), F32(static_cast<std::uint32_t>(totalSfntSize)), F16(1)});
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
