// The library window's rows: each face read on the worker from its own file,
// the message that says its picture is ready, and the pictures' budget.
#include <gtest/gtest.h>

#include <algorithm>

#include "row_pictures.h"
#include "scoped_handles.h"
#include "window_harness.h"

namespace tavrel::test {
namespace {

constexpr UINT kDrawn = WM_APP + 7;

// What `pictures` draws of face `face` into a 300 by 40 bitmap, black on white.
std::vector<std::uint32_t> Row(RowPictures& pictures, std::size_t face, const FaceSource& source) {
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), 300, -40, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    const AutoDeleteDC dc(CreateCompatibleDC(nullptr));
    const AutoDeleteBitmap bitmap(CreateDIBSection(dc.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    const ScopedSelectObject selected(dc.get(), bitmap.get());
    pictures.Draw(dc.get(), {0, 0, 300, 40}, face, source, RGB(0, 0, 0), RGB(255, 255, 255));
    GdiFlush();
    return {static_cast<std::uint32_t*>(bits), static_cast<std::uint32_t*>(bits) + 300 * 40};
}

// The row once its picture is ready: asked for, drawn on the worker (ten seconds at most), drawn again.
std::vector<std::uint32_t> Ready(RowPictures& pictures, HWND hwnd, std::size_t face, const FaceSource& source) {
    Row(pictures, face, source);
    for (int wait = 0; wait < 1000; ++wait, Sleep(10))
        for (MSG message; PeekMessageW(&message, hwnd, kDrawn, kDrawn, PM_REMOVE);)
            if (message.wParam == face) return Row(pictures, face, source);
    ADD_FAILURE() << "no message for face " << face;
    return {};
}

TEST(RowPicturesTest, EachFaceIsDrawnFromItsOwnFileAndTheLeastRecentlyDrawnGoFirst) {
    const HWND hwnd = CreateWindowW(L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    const auto file = [](std::wstring path) { FaceSource source; source.path = std::move(path); return source; };
    const FaceSource sans = file(DejaVu("DejaVuSans.ttf")), serif = file(DejaVu("DejaVuSerif.ttf"));
    const std::vector<std::uint32_t> blank(300 * 40, 0xFFFFFF);
    RowPictures roomy(hwnd, kDrawn, 1 << 20);
    roomy.SetLine(u"Ag", 24);
    EXPECT_EQ(Row(roomy, 0, sans), blank) << "not drawn yet: the background";
    const std::vector<std::uint32_t> first = Ready(roomy, hwnd, 0, sans);
    const std::size_t one = roomy.bytes();
    EXPECT_NE(std::find(first.begin(), first.end(), 0u), first.end()) << "full coverage is the text's own colour";
    EXPECT_NE(Ready(roomy, hwnd, 1, serif), first);
    EXPECT_EQ(Ready(roomy, hwnd, 2, file(L"Z:\\gone.ttf")), blank) << "a file that is gone: still answered";
    roomy.SetLine(u"Ag", 30);
    EXPECT_EQ(roomy.bytes(), 0u) << "a new line forgets every picture";
    RowPictures two(hwnd, kDrawn, 2 * one);  // room for two pictures of the same face
    two.SetLine(u"Ag", 24);
    Ready(two, hwnd, 10, sans);
    Ready(two, hwnd, 11, sans);
    Row(two, 10, sans);  // drawn again: 11 is now the least recently drawn
    Ready(two, hwnd, 12, sans);
    EXPECT_EQ(two.bytes(), 2 * one);
    EXPECT_EQ(Row(two, 10, sans), first);
    EXPECT_EQ(Row(two, 11, sans), blank);
    DestroyWindow(hwnd);
}

}  // namespace
}  // namespace tavrel::test
