#pragma once
// WOFF 1.0 files: the sfnt tables of a font, each stored as is or compressed
// with zlib, behind a 44-byte header and a directory of 20-byte entries.

#include <cstddef>
#include <cstdint>
#include <span>

#include "byte_reader.h"
#include "decoded_image.h"
#include "result.h"

namespace tavrel {

constexpr std::size_t kWoffHeaderSize = 44;
constexpr std::size_t kWoffEntrySize = 20;

enum class WoffMode : std::uint32_t { Decode = 0, SizeOnly = 1 };

// Both modes read the header and the table directory and check them against
// the file, so the totalSfntSize returned is one the file justifies: it is
// exactly the size of the sfnt image the tables make, at most 30 MiB.
// SizeOnly writes nothing. Decode writes that image into `out`, which must be
// totalSfntSize bytes: records and data in ascending tag order, each table at
// a 4-byte boundary followed by zero padding, tables whose compLength equals
// their origLength copied as they are and all others inflated.
// Fails, saying why, on a file that is cut short, lists data outside itself,
// states a size its tables do not fill, or holds a table that does not
// inflate to exactly its origLength; `out` then holds nothing to register.
Result<std::uint32_t> ConvertWoffToSfnt(Bytes woff, WoffMode mode, std::span<std::uint8_t> out);

// The sfnt image a WOFF file wraps, in a buffer sized once from the checked directory.
Result<DecodedImage> DecodeWoff(Bytes woff);

}  // namespace tavrel
