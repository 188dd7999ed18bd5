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
constexpr auto With = test::WithU32;

ByteVector Pattern(std::size_t length, std::uint8_t seed) {
    ByteVector bytes(length);
    for (std::size_t i = 0; i < length; ++i) bytes[i] = static_cast<std::uint8_t>(seed + i / 7);
    return bytes;
}

// Changes entry `index`'s origLength and keeps totalSfntSize in step, so only the table itself is wrong.
ByteVector WithOrigLength(ByteVector woff, std::size_t index, std::uint32_t length) {
    const std::size_t field = WoffEntryField(index, test::kWoffEntryOrigLength);
    const std::uint64_t total = test::GetU32(woff, test::kWoffTotalSfntSize) - PaddedLength(test::GetU32(woff, field)) +
                                PaddedLength(length);
    test::PutU32(woff, field, length);
    test::PutU32(woff, test::kWoffTotalSfntSize, static_cast<std::uint32_t>(total));
    return woff;
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

TEST(ConvertWoffToSfnt, RefusesWhatTheFileCannotHold) {
    const ByteVector pair = test::BuildWoff({{MakeTag("cmap"), Pattern(300, 0)}, {MakeTag("head"), Pattern(54, 1), 0, Storage::Stored}});
    const ByteVector named = test::WoffFromSfnt(test::BuildFontNamed(u"Total"));
    const std::size_t headAt = WoffEntryField(1, test::kWoffEntryOffset), total = test::kWoffTotalSfntSize;
    const std::size_t cmapAt = test::GetU32(pair, WoffEntryField(0, test::kWoffEntryOffset));
    const std::size_t cmapStored = WoffEntryField(0, test::kWoffEntryCompLength);
    // Entries that all name the same compressed bytes claim more data than the file holds.
    ByteVector shared = test::BuildWoff({{MakeTag("aaaa"), ByteVector(100000)}, {MakeTag("bbbb"), {1}},
                                         {MakeTag("cccc"), {2}}, {MakeTag("dddd"), {3}}});
    for (std::size_t i = 1; i < 4; ++i) {
        for (std::size_t field : {test::kWoffEntryOffset, test::kWoffEntryCompLength})
            test::PutU32(shared, WoffEntryField(i, field), test::GetU32(shared, WoffEntryField(0, field)));
        shared = WithOrigLength(shared, i, 100000);
    }
    // Two tables of 2 GiB whose sum wraps to a small totalSfntSize in 32 bits.
    ByteVector wrap = test::BuildWoff({{MakeTag("aaaa"), ByteVector(3000000, 1), 0, Storage::Stored},
                                       {MakeTag("bbbb"), ByteVector(3000000, 2), 0, Storage::Stored}});
    for (std::size_t i = 0; i < 2; ++i) test::PutU32(wrap, WoffEntryField(i, test::kWoffEntryOrigLength), 0x80000000);
    ByteVector scrambled = pair;
    for (std::size_t i = 2; i < 8; ++i) scrambled[cmapAt + i] ^= 0x5A;
    const std::string inflate = "table 'cmap' does not inflate to its ";
    const std::pair<ByteVector, std::string> cases[] = {
        {ByteVector(43), "the file is shorter than a WOFF header"},
        {With(test::BuildWoff({}), 12, 0x00010000), "the table directory extends past the end of the file"},
        {With(pair, headAt, static_cast<std::uint32_t>(pair.size() - 53)), "table 'head' extends past the end of the file"},
        {With(pair, headAt, static_cast<std::uint32_t>(pair.size() + 1)), "table 'head' extends past the end of the file"},
        {With(pair, headAt, 0xFFFFFFF0), "table 'head' extends past the end of the file"},
        {shared, "the tables' stored data adds up to more than the file holds"},
        {WithOrigLength(With(pair, cmapStored, 10), 0, 20000), "table 'cmap' claims more bytes than its compressed data can hold"},
        {With(wrap, total, 12 + 32), "the decoded font would be 4294967340 bytes, more than the 30 MiB limit"},
        {test::BuildWoff({{MakeTag("glyf"), ByteVector(kMaxDecodedImageSize - 12 - 16 + 1)}}),
         "the decoded font would be 31457284 bytes, more than the 30 MiB limit"},
        {With(named, total, test::GetU32(named, total) - 1), "totalSfntSize is 287 but the tables make 288 bytes"},
        {With(named, total, 0xFFFFFFFF), "totalSfntSize is 4294967295 but the tables make 288 bytes"},
        {scrambled, inflate + "300 bytes"},
        {WithOrigLength(pair, 0, 301), inflate + "301 bytes"},
        {WithOrigLength(pair, 0, 299), inflate + "299 bytes"},
        {WithOrigLength(pair, 0, 0), inflate + "0 bytes"},
        // A stream that ends early: its length no longer covers the whole stream.
        {With(pair, cmapStored, test::GetU32(pair, cmapStored) - 4), inflate + "300 bytes"},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        auto image = DecodeWoff(cases[i].first);
        EXPECT_EQ(image ? "decoded" : image.reason(), cases[i].second) << "case " << i;
    }
    // Every prefix of a valid file lacks part of its directory or its data.
    for (std::size_t length = 0; length < named.size(); ++length)
        EXPECT_FALSE(DecodeWoff(Bytes(named).first(length))) << "length " << length;
}

}  // namespace
}  // namespace tavrel
