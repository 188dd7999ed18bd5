#include <gtest/gtest.h>

#include <algorithm>

#include "font_builder.h"
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

ByteVector Decoded(const ByteVector& woff) {
    auto image = DecodeWoff(woff);
    EXPECT_TRUE(image) << image.reason();
    if (!image) return {};
    const Bytes bytes = ImageBytes(image.value());
    return ByteVector(bytes.begin(), bytes.end());
}

std::string Refusal(const ByteVector& woff) {
    auto image = DecodeWoff(woff);
    EXPECT_FALSE(image) << "decoded " << image->size() << " bytes";
    return image ? "" : image.reason();
}

std::uint32_t U32At(const ByteVector& bytes, std::size_t at) {
    std::uint32_t value = 0;
    EXPECT_TRUE(ReadU32BE(bytes, at, value));
    return value;
}

// Changes entry `index`'s origLength and keeps totalSfntSize in step, so only the table itself is wrong.
void SetOrigLength(ByteVector& woff, std::size_t index, std::uint32_t length) {
    const std::size_t field = WoffEntryField(index, test::kWoffEntryOrigLength);
    const std::uint64_t total = U32At(woff, test::kWoffTotalSfntSize) - PaddedLength(U32At(woff, field)) +
                                PaddedLength(length);
    test::PutU32(woff, field, length);
    test::PutU32(woff, test::kWoffTotalSfntSize, static_cast<std::uint32_t>(total));
}

TEST(ConvertWoffToSfnt, RebuildsTheSfntWithTablesInTagOrder) {
    // Listed out of order, mixing stored and compressed tables, odd lengths
    // (glyf's 5 bytes are followed by 3 zero bytes), an arbitrary checksum and
    // a tag whose first byte is above 0x7F, which sorts last.
    const std::vector<WoffTable> tables = {
        {MakeTag("glyf"), {1, 2, 3, 4, 5}, 0x11111111},
        {0x80616263, Pattern(40, 9), 0x22222222},
        {MakeTag("cmap"), Pattern(300, 0), 0x33333333},
        {MakeTag("OS/2"), Pattern(96, 50), 0x44444444, Storage::Stored},
        {MakeTag("head"), Pattern(54, 80), 0xDEADBEEF},
    };
    const ByteVector woff = test::BuildWoff(tables);
    ASSERT_LT(U32At(woff, WoffEntryField(2, test::kWoffEntryCompLength)), 300u) << "cmap should be compressed";

    const ByteVector expected = test::BuildSfnt({
        {MakeTag("OS/2"), Pattern(96, 50), 0x44444444},
        {MakeTag("cmap"), Pattern(300, 0), 0x33333333},
        {MakeTag("glyf"), {1, 2, 3, 4, 5}, 0x11111111},
        {MakeTag("head"), Pattern(54, 80), 0xDEADBEEF},
        {0x80616263, Pattern(40, 9), 0x22222222},
    });
    EXPECT_EQ(Decoded(woff), expected);
    EXPECT_EQ(ConvertWoffToSfnt(woff, WoffMode::SizeOnly, {}).value(), expected.size());
}

TEST(ConvertWoffToSfnt, NoTablesGiveABareOffsetTable) {
    test::WoffExtras cff;
    cff.flavor = MakeTag("OTTO");
    const ByteVector woff = test::BuildWoff({}, cff);
    EXPECT_EQ(Decoded(woff), (ByteVector{'O', 'T', 'T', 'O', 0, 0, 0, 0, 0, 0, 0, 0}));
}

TEST(ConvertWoffToSfnt, OffsetTableFieldsFollowTheTableCount) {
    struct Expected {
        std::uint16_t n, searchRange, entrySelector, rangeShift;
    };
    for (const Expected e : {Expected{1, 16, 0, 0}, {3, 32, 1, 16}, {10, 128, 3, 32}, {16, 256, 4, 0},
                             {4096, 0, 12, 0}}) {
        std::vector<WoffTable> tables;
        for (std::uint32_t i = 0; i < e.n; ++i) tables.push_back({MakeTag("T000") + i, {}});
        const ByteVector image = Decoded(test::BuildWoff(tables));
        ASSERT_EQ(image.size(), 12u + 16u * e.n);
        std::uint16_t fields[4] = {};
        for (int i = 0; i < 4; ++i) ReadU16BE(image, 4 + 2 * i, fields[i]);
        EXPECT_EQ(fields[0], e.n);
        EXPECT_EQ(fields[1], e.searchRange) << "n = " << e.n;
        EXPECT_EQ(fields[2], e.entrySelector) << "n = " << e.n;
        EXPECT_EQ(fields[3], e.rangeShift) << "n = " << e.n;
    }
}

TEST(ConvertWoffToSfnt, StoredTablesAreCopiedEvenWhenTheyLookCompressed) {
    const ByteVector stream = test::ZlibCompress(Pattern(500, 3));
    const ByteVector woff = test::BuildWoff({{MakeTag("DSIG"), stream, 0, Storage::Stored}});
    EXPECT_EQ(Decoded(woff), test::BuildSfnt({{MakeTag("DSIG"), stream}}));
}

TEST(ConvertWoffToSfnt, MetadataAndPrivateDataLeaveTheImageAlone) {
    const std::vector<WoffTable> tables = {{MakeTag("cmap"), Pattern(300, 1)}, {MakeTag("name"), Pattern(33, 2)}};
    const ByteVector plain = test::BuildWoff(tables);
    test::WoffExtras extras;
    extras.metadata = test::Ascii("<?xml version=\"1.0\"?><metadata/>");
    extras.privateData = Pattern(77, 4);
    const ByteVector withExtras = test::BuildWoff(tables, extras);
    ASSERT_GT(withExtras.size(), plain.size());
    EXPECT_EQ(Decoded(withExtras), Decoded(plain));
}

TEST(ConvertWoffToSfnt, SizeOnlyWritesNothingAndDecodeNeedsTheExactSize) {
    const ByteVector woff = test::WoffFromSfnt(test::BuildFontNamed(u"Sized"));
    const std::uint32_t total = U32At(woff, test::kWoffTotalSfntSize);
    ByteVector out(total, 0xAA);
    EXPECT_EQ(ConvertWoffToSfnt(woff, WoffMode::SizeOnly, out).value(), total);
    EXPECT_TRUE(std::all_of(out.begin(), out.end(), [](std::uint8_t b) { return b == 0xAA; }));

    EXPECT_EQ(ConvertWoffToSfnt(woff, WoffMode::Decode, out).value(), total);
    EXPECT_EQ(out, test::BuildFontNamed(u"Sized"));
    out.push_back(0);
    EXPECT_FALSE(ConvertWoffToSfnt(woff, WoffMode::Decode, out));
}

TEST(ConvertWoffToSfnt, RefusesFilesCutShort) {
    EXPECT_EQ(Refusal(ByteVector(43)), "the file is shorter than a WOFF header");
    ByteVector directory = test::BuildWoff({});
    test::PutU16(directory, 12, 1);
    EXPECT_EQ(Refusal(directory), "the table directory extends past the end of the file");

    // Every prefix of a valid file lacks part of its directory or its data.
    const ByteVector woff = test::WoffFromSfnt(test::BuildFontNamed(u"Cut"));
    for (std::size_t length = 0; length < woff.size(); ++length)
        EXPECT_FALSE(DecodeWoff(Bytes(woff).first(length))) << "length " << length;
}

TEST(ConvertWoffToSfnt, RefusesTableDataOutsideTheFile) {
    const ByteVector woff = test::BuildWoff(
        {{MakeTag("cmap"), Pattern(300, 0)}, {MakeTag("head"), Pattern(54, 1), 0, Storage::Stored}});
    const std::size_t size = woff.size();
    const std::size_t offset = WoffEntryField(1, test::kWoffEntryOffset);
    for (std::uint32_t bad : {std::uint32_t(size - 53), std::uint32_t(size + 1), 0xFFFFFFF0u}) {
        ByteVector broken = woff;
        test::PutU32(broken, offset, bad);
        EXPECT_EQ(Refusal(broken), "table 'head' extends past the end of the file") << bad;
    }
    // Entries that all name the same compressed bytes claim more data than the file holds.
    ByteVector shared = test::BuildWoff({{MakeTag("aaaa"), ByteVector(100000)}, {MakeTag("bbbb"), {1}},
                                         {MakeTag("cccc"), {2}}, {MakeTag("dddd"), {3}}});
    for (std::size_t i = 1; i < 4; ++i) {
        for (std::size_t field : {test::kWoffEntryOffset, test::kWoffEntryCompLength})
            test::PutU32(shared, WoffEntryField(i, field), U32At(shared, WoffEntryField(0, field)));
        SetOrigLength(shared, i, 100000);
    }
    EXPECT_EQ(Refusal(shared), "the tables' stored data adds up to more than the file holds");
}

TEST(ConvertWoffToSfnt, RefusesATotalSfntSizeTheTablesDoNotMake) {
    const ByteVector woff = test::WoffFromSfnt(test::BuildFontNamed(u"Total"));
    const std::uint32_t total = U32At(woff, test::kWoffTotalSfntSize);
    for (std::uint32_t bad : {total - 4, total - 1, total + 4, 0u, 0xFFFFFFFFu}) {
        ByteVector broken = woff;
        test::PutU32(broken, test::kWoffTotalSfntSize, bad);
        EXPECT_FALSE(ConvertWoffToSfnt(broken, WoffMode::SizeOnly, {})) << bad;
        EXPECT_FALSE(DecodeWoff(broken)) << bad;
    }
}

TEST(ConvertWoffToSfnt, RefusesSizesNoFileCouldJustify) {
    // 10 compressed bytes cannot inflate to 20000.
    ByteVector claim = test::BuildWoff({{MakeTag("cmap"), Pattern(300, 0)}});
    test::PutU32(claim, WoffEntryField(0, test::kWoffEntryCompLength), 10);
    SetOrigLength(claim, 0, 20000);
    EXPECT_EQ(Refusal(claim), "table 'cmap' claims more bytes than its compressed data can hold");

    // Two tables of 2 GiB whose sum wraps to a small totalSfntSize in 32 bits.
    ByteVector wrap = test::BuildWoff({{MakeTag("aaaa"), ByteVector(3000000, 1), 0, Storage::Stored},
                                       {MakeTag("bbbb"), ByteVector(3000000, 2), 0, Storage::Stored}});
    for (std::size_t i = 0; i < 2; ++i) test::PutU32(wrap, WoffEntryField(i, test::kWoffEntryOrigLength), 0x80000000);
    test::PutU32(wrap, test::kWoffTotalSfntSize, 12 + 32);
    EXPECT_FALSE(DecodeWoff(wrap));
    EXPECT_FALSE(ConvertWoffToSfnt(wrap, WoffMode::SizeOnly, {}));
}

TEST(ConvertWoffToSfnt, DecodesUpToThirtyMebibytes) {
    const std::size_t largest = kMaxDecodedImageSize - 12 - 16;
    const ByteVector zeros(largest);
    EXPECT_EQ(Decoded(test::BuildWoff({{MakeTag("glyf"), zeros}})).size(), kMaxDecodedImageSize);
    const ByteVector over(largest + 1);
    EXPECT_EQ(Refusal(test::BuildWoff({{MakeTag("glyf"), over}})),
              "the decoded font would be 31457284 bytes, more than the 30 MiB limit");
}

TEST(ConvertWoffToSfnt, RefusesTablesThatDoNotInflateToTheirLength) {
    const ByteVector woff = test::BuildWoff({{MakeTag("cmap"), Pattern(300, 0)}, {MakeTag("head"), Pattern(54, 1)}});
    const std::string refusal = "table 'cmap' does not inflate to its ";

    ByteVector damaged = woff;
    const std::size_t data = U32At(woff, WoffEntryField(0, test::kWoffEntryOffset));
    for (std::size_t i = 2; i < 8; ++i) damaged[data + i] ^= 0x5A;
    EXPECT_EQ(Refusal(damaged), refusal + "300 bytes");

    ByteVector shortStream = woff;
    SetOrigLength(shortStream, 0, 301);
    EXPECT_EQ(Refusal(shortStream), refusal + "301 bytes");

    ByteVector longStream = woff;
    SetOrigLength(longStream, 0, 299);
    EXPECT_EQ(Refusal(longStream), refusal + "299 bytes");

    ByteVector emptySlot = woff;
    SetOrigLength(emptySlot, 0, 0);
    EXPECT_EQ(Refusal(emptySlot), refusal + "0 bytes");

    // A stream that ends early: its length no longer covers the whole stream.
    ByteVector truncated = woff;
    test::PutU32(truncated, WoffEntryField(0, test::kWoffEntryCompLength),
                 U32At(woff, WoffEntryField(0, test::kWoffEntryCompLength)) - 4);
    EXPECT_EQ(Refusal(truncated), refusal + "300 bytes");
}

}  // namespace
}  // namespace tavrel
