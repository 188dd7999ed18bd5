#pragma once
// The tables of one face, found through its offset table, and the short
// problem lines the face readers report.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "byte_reader.h"

namespace tavrel {

using Problems = std::vector<std::string>;

class FaceTables {
public:
    // Reads the directory at `offsetTableOffset` and keeps the first record of
    // each table the face readers use; a record that cannot be read, or such a
    // table leaving the image, is a problem, and the rest are kept.
    FaceTables(Bytes image, std::uint64_t offsetTableOffset, Problems& problems);

    // The table with this tag, empty when there is none or it leaves the image.
    Bytes Find(std::uint32_t tag) const;
    // True when the table is there and inside the image (it may be empty).
    bool Has(std::uint32_t tag) const;

private:
    struct Entry {
        std::uint32_t tag;
        Bytes data;
        bool inside;
    };
    const Entry* Lookup(std::uint32_t tag) const;
    bool Seen(std::uint32_t tag) const;

    std::vector<Entry> tables_;
};

// "table 'cmap': <what>".
std::string TableProblem(std::uint32_t tag, std::string_view what);

// A 16.16 fixed-point number.
inline double FixedToDouble(std::uint32_t value) { return static_cast<std::int32_t>(value) / 65536.0; }

}  // namespace tavrel
