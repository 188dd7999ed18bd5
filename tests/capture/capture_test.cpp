#include <gtest/gtest.h>

#include <chrono>
#include <future>
#include <thread>

#include "capture_sample.h"
#include "clipboard_picture.h"
#include "gdi_object_count.h"
#include "sample_window.h"

namespace tavrel {
namespace {

using test::ClipboardPicture;
using test::ClipboardText;
using test::PutTextOnClipboard;

constexpr COLORREF kTextColour = RGB(200, 0, 0);
constexpr COLORREF kBackground = RGB(255, 255, 0);
constexpr wchar_t kMarker[] = L"left by someone else";

class CaptureTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { test::WaitForClipboardManager(); }

    CaptureTest() : window_(400, 150) {
        window_.SetText(L"WWW sample\r\nsecond line", 36);
        window_.SetColours(kTextColour, kBackground);
    }

    void SetUp() override {
        ASSERT_NE(window_.sample(), nullptr) << "no RichEdit control: is DISPLAY set?";
    }

    void Capture() { CaptureSampleToClipboard(window_.main(), window_.sample()); }

    // The clipboard's picture; an empty one, and a failure, when it has none.
    static test::Picture Captured() {
        auto picture = ClipboardPicture();
        if (!picture) ADD_FAILURE() << "no bitmap on the clipboard; " << test::DescribeClipboard();
        return picture ? *picture : test::Picture{};
    }

    void ExpectPictureOfClientSize() {
        const test::Picture picture = Captured();
        EXPECT_EQ(picture.width, window_.ClientSize().cx);
        EXPECT_EQ(picture.height, window_.ClientSize().cy);
    }

    void ExpectMarkerUntouched() {
        EXPECT_EQ(ClipboardText(), std::wstring(kMarker));
        EXPECT_FALSE(ClipboardPicture());
    }

    test::SampleWindow window_;
};

TEST_F(CaptureTest, ReplacesTheClipboardWithAPictureOfTheClientArea) {
    PutTextOnClipboard(kMarker);
    Capture();
    EXPECT_FALSE(ClipboardText());
    ASSERT_EQ(window_.ClientSize().cx, 400);
    ASSERT_EQ(window_.ClientSize().cy, 150);
    const test::Picture picture = Captured();
    ASSERT_EQ(picture.width, 400);
    ASSERT_EQ(picture.height, 150);
    EXPECT_GT(picture.Count(kTextColour), 500u);
    // Below the last line and at the right edge there is only background.
    EXPECT_EQ(picture.At(399, 149), kBackground);
    EXPECT_EQ(picture.At(399, 0), kBackground);
    EXPECT_EQ(picture.At(0, 149), kBackground);
}

TEST_F(CaptureTest, TakesTheControlsSizeRightAfterAResize) {
    for (const SIZE size : {SIZE{250, 90}, SIZE{520, 230}, SIZE{1, 1}}) {
        window_.Resize(size.cx, size.cy);
        Capture();
        ExpectPictureOfClientSize();
    }
}

// Wine draws a kept selection in the highlight colour whether or not the
// control has the focus.
TEST_F(CaptureTest, ShowsTheSelectionWithAndWithoutTheFocus) {
    const COLORREF highlight = GetSysColor(COLOR_HIGHLIGHT);
    Capture();
    ASSERT_EQ(Captured().Count(highlight), 0u);

    window_.Select(0, 3);
    SetFocus(window_.main());
    window_.Paint();
    ASSERT_NE(GetFocus(), window_.sample());
    Capture();
    EXPECT_GT(Captured().Count(highlight), 1000u);

    SetFocus(window_.sample());
    window_.Paint();
    ASSERT_EQ(GetFocus(), window_.sample());
    Capture();
    EXPECT_GT(Captured().Count(highlight), 1000u);
}

TEST_F(CaptureTest, SecondCaptureReplacesTheFirst) {
    constexpr COLORREF kSecondBackground = RGB(0, 255, 255);
    Capture();
    window_.SetColours(kTextColour, kSecondBackground);
    window_.Resize(300, 100);
    Capture();
    ExpectPictureOfClientSize();
    const test::Picture picture = Captured();
    EXPECT_EQ(picture.Count(kBackground), 0u);
    EXPECT_GT(picture.Count(kSecondBackground), 0u);
}

// Another thread's window holds the clipboard open until the holder is destroyed.
class ClipboardHeldByAnotherThread {
public:
    ClipboardHeldByAnotherThread() : thread_([this] { Hold(); }) {
        if (opened_.get_future().wait_for(std::chrono::seconds(10)) != std::future_status::ready) ADD_FAILURE();
    }
    ~ClipboardHeldByAnotherThread() {
        release_.set_value();
        thread_.join();
    }

private:
    void Hold() {
        HWND holder = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
        const bool open = OpenClipboard(holder);
        opened_.set_value();
        release_.get_future().wait();
        if (open) CloseClipboard();
        DestroyWindow(holder);
    }

    std::promise<void> opened_;
    std::promise<void> release_;
    std::thread thread_;
};

TEST_F(CaptureTest, LeavesAClipboardThatAnotherThreadHoldsOpenAlone) {
    Capture();
    PutTextOnClipboard(kMarker);
    const long objects = test::CountGdiObjects();
    {
        ClipboardHeldByAnotherThread holder;
        Capture();
    }
    ExpectMarkerUntouched();
    EXPECT_EQ(test::CountGdiObjects(), objects);
    window_.Resize(200, 80);
    Capture();
    ExpectPictureOfClientSize();
}

// A window of the same thread holding the clipboard open must not have its
// clipboard emptied or closed under it.
TEST_F(CaptureTest, LeavesAClipboardThatAnotherWindowOfTheThreadHoldsOpenAlone) {
    PutTextOnClipboard(kMarker);
    HWND other = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    ASSERT_TRUE(OpenClipboard(other));
    Capture();
    EXPECT_EQ(GetOpenClipboardWindow(), other);
    CloseClipboard();
    DestroyWindow(other);
    ExpectMarkerUntouched();
    Capture();
    ExpectPictureOfClientSize();
}

TEST_F(CaptureTest, LeavesTheClipboardAloneWhenThereIsNothingToCopy) {
    Capture();
    PutTextOnClipboard(kMarker);
    const long objects = test::CountGdiObjects();
    window_.SetWindowSize(400, 0);
    ASSERT_EQ(window_.ClientSize().cy, 0);
    Capture();
    ExpectMarkerUntouched();
    window_.SetWindowSize(0, 150);
    ASSERT_EQ(window_.ClientSize().cx, 0);
    Capture();
    ExpectMarkerUntouched();
    HWND gone = CreateWindowExW(0, L"STATIC", L"", WS_CHILD, 0, 0, 50, 50, window_.main(), nullptr, nullptr, nullptr);
    DestroyWindow(gone);
    CaptureSampleToClipboard(window_.main(), gone);
    ExpectMarkerUntouched();
    EXPECT_EQ(test::CountGdiObjects(), objects);
}

TEST_F(CaptureTest, HoldsNoGdiObjectsAfterAHundredCaptures) {
    Capture();
    const long objects = test::CountGdiObjects();
    ASSERT_GT(objects, 0);
    for (int i = 0; i < 100; ++i) Capture();
    EXPECT_EQ(test::CountGdiObjects(), objects);
    ExpectPictureOfClientSize();
}

}  // namespace
}  // namespace tavrel
