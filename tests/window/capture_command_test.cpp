// The capture command of the real main window: the picture on the clipboard
// is the sample control as it shows, at its size after every layout.

#include "app_state.h"
#include "clipboard_picture.h"
#include "resource_ids.h"
#include "window_harness.h"

namespace tavrel::test {
namespace {

SIZE SampleClientSize() {
    RECT client{};
    GetClientRect(appState.hwndSample, &client);
    return {client.right, client.bottom};
}

class CaptureCommandTest : public MainWindowTest {
protected:
    static void SetUpTestSuite() { WaitForClipboardManager(); }

    // The picture that the capture command leaves, at the sample's client size.
    Picture CaptureAndRead() {
        Command(IDM_CAPTURE);
        const auto picture = ClipboardPicture();
        if (!picture) {
            ADD_FAILURE() << "no bitmap on the clipboard; " << DescribeClipboard();
            return {};
        }
        EXPECT_EQ(picture->width, SampleClientSize().cx);
        EXPECT_EQ(picture->height, SampleClientSize().cy);
        return *picture;
    }
};

TEST_F(CaptureCommandTest, MenuCaptureReplacesTheClipboardWithTheSampleAtEachSize) {
    OpenWindow();
    PutTextOnClipboard(L"before");
    const Picture first = CaptureAndRead();
    EXPECT_FALSE(ClipboardText());
    EXPECT_GT(first.Count(RGB(0, 0, 0)), 100u) << "black text";
    EXPECT_EQ(first.At(first.width - 1, first.height - 1), RGB(255, 255, 255)) << "on white";

    SetWindowPos(hwnd_, nullptr, 0, 0, 500, 300, SWP_NOMOVE | SWP_NOZORDER);
    UpdateWindow(hwnd_);
    const Picture second = CaptureAndRead();
    EXPECT_NE(second.width, first.width);
    EXPECT_NE(second.height, first.height);
}

}  // namespace
}  // namespace tavrel::test
