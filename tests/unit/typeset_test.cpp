// The typesetting core: runs of a vertical line, the feature and variation
// syntax, the coverage of filled outlines, kept masks, and the SVG of an outline.
#include <gtest/gtest.h>

#include <numeric>
#include <tuple>

#include "file_bytes.h"
#include "glyph_masks.h"
#include "glyph_outline.h"
#include "glyph_raster.h"
#include "line_picture.h"
#include "shaper.h"

namespace tavrel {
namespace {

TEST(Typeset, ALineSetDownTurnsRunsOfRSidewaysAndKeepsSelectorsWithTheirBase) {
    const auto bytes = ReadFileBytes("/usr/share/fonts/opentype/ipafont-gothic/ipag.ttf");
    auto face = ShapingFace::Open(bytes.value(), 0);
    ASSERT_TRUE(face.ok());
    const std::u16string text = u"縦書きAB 12。漢\U000E0100x\u0301";
    auto runs = SetLine(face.value(), text, {}, true);
    ASSERT_TRUE(runs.ok());
    std::vector<std::pair<bool, std::uint32_t>> seen;  // sideways, first cluster
    for (const ShapedRun& run : runs.value()) seen.push_back({run.sideways, run.glyphs.front().cluster});
    // No run starts at the selector (10) or the accent (13): each stays with the character before it.
    EXPECT_EQ(seen, (std::vector<std::pair<bool, std::uint32_t>>{{false, 0}, {true, 3}, {false, 8}, {true, 12}}));
    EXPECT_FALSE(SetLine(face.value(), std::u16string(kMaxShapedText + 1, u'a'), {}, false).ok());
}

TEST(Typeset, FeatureAndVariationListsParseAsHarfBuzzWritesThem) {
    EXPECT_EQ(ParseFeatureList("palt,-liga,jp90=1,aalt=2")->size(), 4u);
    EXPECT_EQ(ParseFeatureList("-liga")->front().value, 0u);
    for (const char* bad : {"palt,,liga", "liga[3:5]", "=1"}) EXPECT_FALSE(ParseFeatureList(bad)) << bad;
    EXPECT_EQ(ParseVariationList("wght=700,wdth=80")->back().value, 80.0f);
    for (const char* bad : {"wght", "wght=", "wght=7,"}) EXPECT_FALSE(ParseVariationList(bad)) << bad;
}

std::vector<PathCommand> Square(float x0, float y0, float x1, float y1) {
    return {{PathVerb::MoveTo, {x0}, {y0}}, {PathVerb::LineTo, {x1}, {y0}}, {PathVerb::LineTo, {x1}, {y1}},
            {PathVerb::LineTo, {x0}, {y1}}, {PathVerb::Close}};
}

TEST(Typeset, FilledOutlinesCoverTheirAreaAndAHoleIsLeftOpen) {
    std::vector<PathCommand> ring = Square(0, 0, 10, 10);
    const std::vector<PathCommand> hole = Square(2, 8, 8, 2);  // turning the other way
    ring.insert(ring.end(), hole.begin(), hole.end());
    for (const auto& [outline, area] : {std::pair{Square(0, 0, 10, 10), 100.0}, std::pair{ring, 100.0 - 36}}) {
        CoverageMask mask(20, 20);
        mask.Fill(outline, {2.5, 15.5, 1, false});  // half-pixel offsets: partly covered edges
        const auto coverage = mask.Coverage();
        EXPECT_NEAR(std::accumulate(coverage.begin(), coverage.end(), 0.0) / 255, area, 0.5);
    }
    EXPECT_EQ(OutlineSvg(Square(0, 0, 10, 5)),
              "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<svg xmlns=\"http://www.w3.org/2000/svg\" "
              "viewBox=\"0 -5 10 5\" width=\"10\" height=\"5\">\n<path d=\"M0 0L10 0L10 -5L0 -5Z\"/>\n</svg>\n");
}

// Each kept mask holds the whole glyph at its phase, and a new instance gives new masks.
TEST(Typeset, KeptMasksHoldTheWholeGlyphUntilTheInstanceChanges) {
    const auto bytes = ReadFileBytes("/usr/share/fonts/truetype/inter-vf/Inter-roman.var.ttf");
    auto face = ShapingFace::Open(bytes.value(), 0);
    ASSERT_TRUE(face.ok());
    const std::uint32_t glyph = face->NominalGlyph(U'g').value();
    const double scale = 40.0 / face->UnitsPerEm();
    const auto ink = [](const std::vector<std::uint8_t>& coverage) {
        return std::accumulate(coverage.begin(), coverage.end(), 0.0);
    };
    for (const auto& [sideways, phaseX, phaseY] : {std::tuple{false, 0, 0}, {false, 3, 1}, {true, 2, 3}}) {
        const GlyphMask kept = *face->Glyphs().Mask(face.value(), glyph, scale, sideways, phaseX, phaseY);
        CoverageMask roomy(200, 200);
        roomy.Fill(DrawGlyphOutline(face.value(), glyph), {100 + phaseX / 4.0, 100 + phaseY / 4.0, scale, sideways});
        EXPECT_NEAR(ink(kept.coverage), ink(roomy.Coverage()), ink(kept.coverage) / 200) << sideways << phaseX;
        EXPECT_EQ(ink({kept.coverage.begin(), kept.coverage.begin() + kept.width}), 0) << "the top row is margin";
    }
    const double regular = ink(face->Glyphs().Mask(face.value(), glyph, scale, false, 0, 0)->coverage);
    face->SetVariations(std::vector<AxisSetting>{{Tag("wght"), 900}});
    EXPECT_GT(ink(face->Glyphs().Mask(face.value(), glyph, scale, false, 0, 0)->coverage), regular * 1.25);
}

// A row of the library window: each face's own outlines, on a baseline shared by every face.
TEST(Typeset, LinePicturesAreEachFacesOwnOutlinesOnOneBaseline) {
    const auto sans = ReadFileBytes("/usr/share/fonts/opentype/noto/NotoSansCJK-Regular.ttc");
    const auto serif = ReadFileBytes("/usr/share/fonts/opentype/noto/NotoSerifCJK-Regular.ttc");
    const auto emoji = ReadFileBytes("/usr/share/fonts/truetype/noto/NotoColorEmoji.ttf");
    auto face = ShapingFace::Open(sans.value(), 0), other = ShapingFace::Open(serif.value(), 0);
    const LineFrame frame = LineFrameFor(32, 300);
    const LinePicture a = DrawLinePicture(face.value(), u"AH", frame), b = DrawLinePicture(other.value(), u"AH", frame);
    EXPECT_EQ(std::tuple(a.height, a.baseline, b.height, b.baseline), std::tuple(45, 34, 45, 34));
    EXPECT_NE(a.coverage, b.coverage);
    const auto row = [&](int y) { return std::accumulate(&a.coverage[y * a.width], &a.coverage[(y + 1) * a.width], 0); };
    EXPECT_GT(row(a.baseline - 1), 255 * 10) << "A and H stand on the baseline";
    EXPECT_EQ(row(a.baseline), 0);
    // Beyond U+FFFF: the face's own glyph for the character, whole.
    CoverageMask alone(100, 100);
    alone.Fill(DrawGlyphOutline(face.value(), face->NominalGlyph(U'\U00020BB7').value()), {0, 80, 32.0 / 1000, false});
    const auto ink = [](const std::vector<std::uint8_t>& c) { return std::accumulate(c.begin(), c.end(), 0.0); };
    const double whole = ink(alone.Coverage());
    EXPECT_NEAR(ink(DrawLinePicture(face.value(), u"\U00020BB7", frame).coverage), whole, whole / 100);
    // Nothing to draw: no glyphs, a space, bitmap glyphs only; a long line stops at the frame's width.
    for (const auto& [picture, width] : {std::pair{DrawLinePicture(face.value(), u"", frame), 0},
                                         {DrawLinePicture(face.value(), u"   ", frame), 0},
                                         {DrawLinePicture(ShapingFace::Open(emoji.value(), 0).value(), u"\U0001F600", frame), 0},
                                         {DrawLinePicture(face.value(), std::u16string(40, u'永'), frame), 300}})
        EXPECT_EQ(std::pair(picture.width, picture.coverage.size()), std::pair(width, std::size_t(width) * 45));
}

}  // namespace
}  // namespace tavrel
