#include <gtest/gtest.h>

#include <algorithm>

#include "font_builder.h"
#include "registration_invariants.h"
#include "sfnt_layout.h"
#include "woff.h"
#include "woff_builder.h"

namespace tavrel {
namespace {

using test::ByteVector;
using test::MakeTag;
using test::Storage;
using test::WoffEntryField;
using test::WoffTable;

ByteVector Pattern(std::size_t length, std::uint8_t seed) {
    ByteVector bytes(length);
    for (std::size_t i = 0; i < length; ++i) bytes[i] = static_cast<std::uint8_t>(seed + i / 7);
    return bytes;
}

// Each file decodes to exactly the sfnt it wraps (records and data in tag
// order, zero fill, stored tables copied, the others inflated), and the
// size-only mode gives that image's size.
TEST(ConvertWoffToSfnt, DecodesExactlyTheSfntEachFileWraps) {
    const test::WoffExtras extras{0x00010000, test::Ascii("<?xml version=\"1.0\"?><metadata/>"), Pattern(77, 4)};
    // Listed out of order, mixing stored and compressed tables, odd lengths, an
    // arbitrary checksum and a tag whose first byte is above 0x7F, which sorts last.
    std::vector<std::pair<std::string, ByteVector>> files = {
        {"mixed", test::BuildWoff({{MakeTag("glyf"), {1, 2, 3, 4, 5}, 0x11111111},
                                   {0x80616263, Pattern(40, 9), 0x22222222},
                                   {MakeTag("cmap"), Pattern(300, 0), 0x33333333},
                                   {MakeTag("OS/2"), Pattern(96, 50), 0x44444444, Storage::Stored},
                                   {MakeTag("head"), Pattern(54, 80), 0xDEADBEEF}})},
        {"no tables", test::BuildWoff({}, {MakeTag("OTTO"), {}, {}})},
        {"stored, looking compressed", test::BuildWoff({{MakeTag("DSIG"), test::ZlibCompress(Pattern(500, 3)), 0, Storage::Stored}})},
        {"metadata and private data", test::BuildWoff({{MakeTag("cmap"), Pattern(300, 1)}, {MakeTag("name"), Pattern(33, 2)}}, extras)},
        {"named font", test::WoffFromSfnt(test::BuildFontNamed(u"Web"))},
        {"30 MiB", test::BuildWoff({{MakeTag("glyf"), ByteVector(kMaxDecodedImageSize - 12 - 16)}})},
    };
    for (std::uint32_t n : {1, 3, 10, 16, 4096}) {  // searchRange no longer fits 16 bits from 4096 tables on
        std::vector<WoffTable> tables;
        for (std::uint32_t i = 0; i < n; ++i) tables.push_back({MakeTag("T000") + i, {}});
        files.emplace_back(std::to_string(n) + " tables", test::BuildWoff(tables));
    }
    ASSERT_LT(test::GetU32(files[0].second, WoffEntryField(2, test::kWoffEntryCompLength)), 300u) << "cmap should be compressed";
    for (const auto& [what, woff] : files) {
        SCOPED_TRACE(what);
        auto image = DecodeWoff(woff);
        ASSERT_TRUE(image) << image.reason();
        EXPECT_EQ(test::DecodedWoffFault(woff, ImageBytes(image.value())), "");
        EXPECT_EQ(ConvertWoffToSfnt(woff, WoffMode::SizeOnly, {}).value(), ImageBytes(image.value()).size());
    }
}

TEST(ConvertWoffToSfnt, SizeOnlyWritesNothingAndDecodeNeedsTheExactSize) {
    const ByteVector woff = test::WoffFromSfnt(test::BuildFontNamed(u"Sized"));
    const std::uint32_t total = test::GetU32(woff, test::kWoffTotalSfntSize);
    ByteVector out(total, 0xAA);
    EXPECT_EQ(ConvertWoffToSfnt(woff, WoffMode::SizeOnly, out).value(), total);
    EXPECT_TRUE(std::all_of(out.begin(), out.end(), [](std::uint8_t b) { return b == 0xAA; }));
    EXPECT_EQ(ConvertWoffToSfnt(woff, WoffMode::Decode, out).value(), total);
    EXPECT_EQ(out, test::BuildFontNamed(u"Sized"));
    out.push_back(0);
    EXPECT_FALSE(ConvertWoffToSfnt(woff, WoffMode::Decode, out));
}

// Why each damaged file is refused is recorded with the damaged-file corpus (tests/hostile).
TEST(ConvertWoffToSfnt, RefusesEveryPrefixOfAValidFile) {
    const ByteVector named = test::WoffFromSfnt(test::BuildFontNamed(u"Total"));
    // Every prefix of a valid file lacks part of its directory or its data.
    for (std::size_t length = 0; length < named.size(); ++length)
        EXPECT_FALSE(DecodeWoff(Bytes(named).first(length))) << "length " << length;
}

}  // namespace
}  // namespace tavrel
