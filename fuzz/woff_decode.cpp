// ConvertWoffToSfnt in both modes: the size alone and the decoding agree with
// each other and with DecodeWoff; a size is at most 30 MiB and one the file
// justifies; a buffer of any other size is refused; what is decoded is exactly
// the sfnt the file wraps, its table directory and every table inside it.
#include <vector>

#include "fuzz_check.h"
#include "woff.h"

namespace {

using tavrel::fuzz::Require;
using tavrel::fuzz::RequireNoFault;

void RequireRefused(tavrel::Bytes woff, std::size_t bufferSize, const std::string& what) {
    std::vector<std::uint8_t> out(bufferSize);
    Require(!tavrel::ConvertWoffToSfnt(woff, tavrel::WoffMode::Decode, out), what);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const tavrel::Bytes woff(data, size);
    const auto measured = tavrel::ConvertWoffToSfnt(woff, tavrel::WoffMode::SizeOnly, {});
    const auto decoded = tavrel::DecodeWoff(woff);
    if (!measured) {
        Require(!decoded, "DecodeWoff decoded what the size-only mode refused");
        RequireRefused(woff, 64, "decoded what the size-only mode refused");
        return 0;
    }
    const std::uint32_t imageSize = measured.value();
    Require(imageSize >= 12 && imageSize <= tavrel::test::kMaxDecodedImage, "size " + std::to_string(imageSize));
    Require(imageSize <= 1033 * std::uint64_t{size}, "a size the file cannot justify");
    RequireRefused(woff, imageSize - 1, "decoded into a buffer one byte short");
    RequireRefused(woff, imageSize + 1, "decoded into a buffer one byte long");
    std::vector<std::uint8_t> out(imageSize);
    const auto written = tavrel::ConvertWoffToSfnt(woff, tavrel::WoffMode::Decode, out);
    Require(written.ok() == decoded.ok(), "the two ways of decoding disagree");
    if (!written) return 0;
    Require(written.value() == imageSize, "decoding returned another size");
    Require(tavrel::ImageBytes(decoded.value()).size() == out.size() &&
                std::equal(out.begin(), out.end(), tavrel::ImageBytes(decoded.value()).begin()),
            "DecodeWoff gave other bytes");
    // Whether the image may be registered is the plan's decision (a 'ttcf'
    // flavor, say, makes a collection header of the offset table); here it
    // must be exactly the sfnt the file wraps.
    RequireNoFault(tavrel::test::DecodedWoffFault(woff, out));
    return 0;
}
