#pragma once
// WOFF2 files, decoded by the woff2 library.

#include "byte_reader.h"
#include "decoded_image.h"
#include "result.h"

namespace tavrel {

// The sfnt image (or collection) a WOFF2 file wraps. The output starts at the
// size the header states (nothing for a file under 20 bytes), capped at
// 30 MiB and at 100 times the file, and may not grow past 30 MiB. Fails when the library cannot decode
// the file; nothing partly decoded is ever returned.
Result<DecodedImage> DecodeWoff2(Bytes woff2);

}  // namespace tavrel
