// The library window's rows: each face read on the worker from its own file,
// the message that says its picture is ready, and the pictures' budget.
#include <gtest/gtest.h>

#include "row_pictures.h"
#include "window_harness.h"

namespace tavrel::test {
namespace {

constexpr UINT kDrawn = WM_APP + 7;

// What `pictures` draws of face `face` into a 300 by 40 bitmap, black on white.
std::vector<std::uint32_t> Row(RowPictures& pictures, std::size_t face, const FaceSource& source) {
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), 300, -40, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    const HDC dc = CreateCompatibleDC(nullptr);
    const HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    const HGDIOBJ previous = SelectObject(dc, bitmap);
    pictures.Draw(dc, {0, 0, 300, 40}, face, source, RGB(0, 0, 0), RGB(255, 255, 255));
    GdiFlush();
    std::vector<std::uint32_t> pixels(static_cast<std::uint32_t*>(bits), static_cast<std::uint32_t*>(bits) + 300 * 40);
    SelectObject(dc, previous);
    DeleteObject(bitmap);
    DeleteDC(dc);
    for (std::uint32_t& pixel : pixels) pixel &= 0xFFFFFF;
    return pixels;
}

// Whether the message naming `face` arrives within ten seconds.
bool Drawn(HWND hwnd, std::size_t face) {
    for (int wait = 0; wait < 1000; ++wait, Sleep(10))
        for (MSG message; PeekMessageW(&message, hwnd, kDrawn, kDrawn, PM_REMOVE);)
            if (message.wParam == face) return true;
    return false;
}

// The face's row once its picture is ready: asked for, drawn on the worker, then drawn.
std::vector<std::uint32_t> Ready(RowPictures& pictures, HWND hwnd, std::size_t face, const FaceSource& source) {
    Row(pictures, face, source);
    EXPECT_TRUE(Drawn(hwnd, face)) << face;
    return Row(pictures, face, source);
}

FaceSource File(std::wstring path) {
    FaceSource source;
    source.path = std::move(path);
    return source;
}

TEST(RowPicturesTest, EachFaceIsDrawnFromItsOwnFileAndTheLeastRecentlyDrawnGoFirst) {
    const HWND hwnd = CreateWindowW(L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    const FaceSource sans = File(DejaVu("DejaVuSans.ttf")), serif = File(DejaVu("DejaVuSerif.ttf"));
    const std::vector<std::uint32_t> blank(300 * 40, 0xFFFFFF);
    RowPictures roomy(hwnd, kDrawn, 1 << 20);
    roomy.SetLine(u"Ag", 24);
    EXPECT_EQ(Row(roomy, 0, sans), blank) << "not drawn yet: the background";
    const std::vector<std::uint32_t> first = Ready(roomy, hwnd, 0, sans);
    const std::size_t one = roomy.bytes();
    EXPECT_NE(first, blank);
    EXPECT_NE(Ready(roomy, hwnd, 1, serif), first);
    EXPECT_EQ(Ready(roomy, hwnd, 2, File(L"Z:\\gone.ttf")), blank) << "a file that is gone: still answered";
    roomy.SetLine(u"Ag", 30);
    EXPECT_EQ(std::pair(Row(roomy, 0, sans), roomy.bytes()), std::pair(blank, std::size_t(0))) << "a new line";
    RowPictures two(hwnd, kDrawn, 2 * one);  // room for two pictures of the same face
    two.SetLine(u"Ag", 24);
    Ready(two, hwnd, 10, sans);
    Ready(two, hwnd, 11, sans);
    Row(two, 10, sans);  // drawn again: 11 is now the least recently drawn
    Ready(two, hwnd, 12, sans);
    EXPECT_EQ(Row(two, 10, sans), first);
    EXPECT_EQ(std::pair(Row(two, 11, sans), two.bytes()), std::pair(blank, 2 * one));
    DestroyWindow(hwnd);
}

}  // namespace
}  // namespace tavrel::test
