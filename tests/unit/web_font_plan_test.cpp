#include <gtest/gtest.h>

#include "font_builder.h"
#include "font_plan.h"
#include "woff_builder.h"

namespace tavrel {
namespace {

using test::ByteVector;
using Names = std::vector<std::u16string>;

TEST(PlanWebFont, WoffListsTheDecodedFontAndRegistersIt) {
    const ByteVector font = test::BuildFontNamed(u"Web Face");
    const ByteVector woff = test::WoffFromSfnt(font);
    auto plan = PlanFontFile(FontLoader::Woff, woff);
    ASSERT_TRUE(plan) << plan.reason();
    EXPECT_EQ(plan->faceNames, Names{u"Web Face"});
    const Bytes registered = RegisteredImage(plan.value(), woff);
    EXPECT_EQ(ByteVector(registered.begin(), registered.end()), font);
}

TEST(PlanWebFont, WoffWithoutUsableNameIsListedEmpty) {
    auto plan = PlanFontFile(FontLoader::Woff, test::BuildWoff({}));
    ASSERT_TRUE(plan) << plan.reason();
    EXPECT_EQ(plan->faceNames, Names{u""});
    EXPECT_EQ(RegisteredImage(plan.value(), {}).size(), 12u);
}

// What the woff2 library refuses adds nothing, instead of an empty-named
// face registered from zeros.
TEST(PlanWebFont, Woff2TheLibraryCannotDecodeAddsNothing) {
    const ByteVector font = test::BuildFontNamed(u"Not Woff2");
    ByteVector header(48);
    test::PutU32(header, 0, test::MakeTag("wOF2"));
    test::PutU32(header, 16, 1000);
    for (const ByteVector& file : {ByteVector{}, ByteVector(19, 0), font, header, test::WoffFromSfnt(font)}) {
        auto plan = PlanFontFile(FontLoader::Woff2, file);
        ASSERT_FALSE(plan) << file.size();
        EXPECT_EQ(plan.reason(), "the WOFF2 data cannot be decoded");
    }
}

}  // namespace
}  // namespace tavrel
