// In-process tests of the capture: a real RichEdit control with the sample's
// styles in a window of its own, the real clipboard.
#include <gtest/gtest.h>
#include <richedit.h>

#include <chrono>
#include <future>
#include <thread>

#include "capture_sample.h"
#include "clipboard_picture.h"
#include "gdi_object_count.h"

namespace tavrel {
namespace {

using namespace test;

constexpr COLORREF kTextColour = RGB(200, 0, 0);
constexpr COLORREF kBackground = RGB(255, 255, 0);
constexpr wchar_t kMarker[] = L"left by someone else";
// The sample's own styles: WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_HSCROLL |
// ES_NOHIDESEL | ES_AUTOHSCROLL | ES_MULTILINE, with a sunken edge.
constexpr DWORD kSampleStyle = 0x50300184;

HWND MessageOnlyWindow() {
    return CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
}

class CaptureTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        WaitForClipboardManager();
        LoadLibraryW(L"Riched20.dll");
        WNDCLASSEXW windowClass{};
        windowClass.cbSize = sizeof windowClass;
        windowClass.lpfnWndProc = DefWindowProcW;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        windowClass.lpszClassName = L"tavrel-capture-test";
        RegisterClassExW(&windowClass);
    }

    CaptureTest()
        : main_(CreateWindowExW(0, L"tavrel-capture-test", L"capture test", WS_POPUP | WS_VISIBLE, 0, 0, 800, 600,
                                nullptr, nullptr, GetModuleHandleW(nullptr), nullptr)),
          sample_(CreateWindowExW(WS_EX_CLIENTEDGE, L"RichEdit20W", L"WWW sample\r\nsecond line", kSampleStyle, 0,
                                  0, 10, 10, main_, reinterpret_cast<HMENU>(100), GetModuleHandleW(nullptr), nullptr)) {
        CHARFORMAT2W format{};
        format.dwMask = CFM_SIZE | CFM_FACE | CFM_BOLD;
        format.dwEffects = CFE_BOLD;
        format.yHeight = 36 * 20;
        lstrcpynW(format.szFaceName, L"DejaVu Sans", LF_FACESIZE);
        SetFormat(format);
        SetColours(kTextColour, kBackground);
        Resize(400, 150);
        SetForegroundWindow(main_);
        Paint();
    }
    ~CaptureTest() override { DestroyWindow(main_); }

    void SetUp() override { ASSERT_NE(sample_, nullptr) << "no RichEdit control: is DISPLAY set?"; }

    void SetFormat(CHARFORMAT2W format) {
        format.cbSize = sizeof format;
        SendMessageW(sample_, EM_SETCHARFORMAT, SCF_ALL, reinterpret_cast<LPARAM>(&format));
    }

    void SetColours(COLORREF text, COLORREF background) {
        CHARFORMAT2W format{};
        format.dwMask = CFM_COLOR | CFM_BACKCOLOR;
        format.crTextColor = text;
        format.crBackColor = background;
        SetFormat(format);
        SendMessageW(sample_, EM_SETBKGNDCOLOR, 0, static_cast<LPARAM>(background));
        Paint();
    }

    // Gives the control's client area this size, inside its border.
    void Resize(int width, int height) {
        RECT rect{0, 0, width, height};
        AdjustWindowRectEx(&rect, kSampleStyle & ~(WS_VSCROLL | WS_HSCROLL), FALSE, WS_EX_CLIENTEDGE);
        SetWindowSize(rect.right - rect.left, rect.bottom - rect.top);
    }

    // Gives the control's whole window this size, border included.
    void SetWindowSize(int width, int height) {
        SetWindowPos(sample_, nullptr, 0, 0, width, height, SWP_NOZORDER | SWP_NOMOVE);
        Paint();
    }

    // Paints whatever is pending, so a capture sees the current state.
    void Paint() const {
        RedrawWindow(main_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    }

    void Capture() { CaptureSampleToClipboard(main_, sample_); }

    // The clipboard's picture, which must be as large as the client area; an
    // empty one, and a failure, when there is none.
    Picture Captured() {
        const auto found = ClipboardPicture();
        if (!found) ADD_FAILURE() << "no bitmap on the clipboard; " << DescribeClipboard();
        const Picture picture = found.value_or(Picture{});
        RECT client{};
        GetClientRect(sample_, &client);
        EXPECT_EQ(picture.width, client.right);
        EXPECT_EQ(picture.height, client.bottom);
        return picture;
    }

    static void ExpectMarkerUntouched() {
        EXPECT_EQ(ClipboardText(), std::wstring(kMarker));
        EXPECT_FALSE(ClipboardPicture());
    }

    HWND main_;
    HWND sample_;
};

// Each capture replaces the clipboard's contents, text included, with the
// control as it is now: at its size right after a resize, in its colours. It
// gives back every GDI object it took.
TEST_F(CaptureTest, EachCaptureShowsTheControlAsItIsNow) {
    PutTextOnClipboard(kMarker);
    Capture();
    EXPECT_FALSE(ClipboardText());
    const Picture first = Captured();
    ASSERT_EQ(first.width, 400);
    ASSERT_EQ(first.height, 150);
    EXPECT_GT(first.Count(kTextColour), 500u);
    // Below the last line and at the right edge there is only background.
    for (const POINT at : {POINT{399, 149}, POINT{399, 0}, POINT{0, 149}}) EXPECT_EQ(first.At(at.x, at.y), kBackground);
    const long objects = CountGdiObjects();
    ASSERT_GT(objects, 0);
    COLORREF previous = kBackground;
    for (const auto& [size, background] : {std::pair{SIZE{250, 90}, RGB(0, 255, 255)},
                                           std::pair{SIZE{520, 230}, RGB(255, 0, 255)}, std::pair{SIZE{1, 1}, kBackground}}) {
        SCOPED_TRACE(testing::Message() << size.cx << "x" << size.cy);
        SetColours(kTextColour, background);
        Resize(size.cx, size.cy);
        Capture();
        const Picture picture = Captured();
        EXPECT_EQ(picture.Count(previous), 0u);
        EXPECT_GT(picture.Count(background), 0u);
        previous = background;
    }
    for (int i = 0; i < 20; ++i) Capture();
    EXPECT_EQ(CountGdiObjects(), objects);
}

// Wine draws a kept selection in the highlight colour whether or not the
// control has the focus.
TEST_F(CaptureTest, ShowsTheSelectionWithAndWithoutTheFocus) {
    const COLORREF highlight = GetSysColor(COLOR_HIGHLIGHT);
    Capture();
    ASSERT_EQ(Captured().Count(highlight), 0u);
    CHARRANGE range{0, 3};
    SendMessageW(sample_, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&range));
    for (HWND focus : {main_, sample_}) {
        SetFocus(focus);
        Paint();
        ASSERT_EQ(GetFocus() == sample_, focus == sample_);
        Capture();
        EXPECT_GT(Captured().Count(highlight), 1000u);
    }
}

// Whatever keeps a capture from happening, the clipboard keeps what it had
// and no GDI object is left behind.
TEST_F(CaptureTest, LeavesTheClipboardAloneWhenItCannotCapture) {
    Capture();
    PutTextOnClipboard(kMarker);
    const long objects = CountGdiObjects();
    std::promise<void> opened, release;
    std::thread holder([&] {  // another thread's window holds the clipboard open
        HWND window = MessageOnlyWindow();
        const bool open = OpenClipboard(window);
        opened.set_value();
        release.get_future().wait();
        if (open) CloseClipboard();
        DestroyWindow(window);
    });
    EXPECT_EQ(opened.get_future().wait_for(std::chrono::seconds(10)), std::future_status::ready);
    Capture();
    release.set_value();
    holder.join();
    ExpectMarkerUntouched();

    // Another window of this thread holds it open: not to be emptied or closed under it.
    HWND other = MessageOnlyWindow();
    ASSERT_TRUE(OpenClipboard(other));
    Capture();
    EXPECT_EQ(GetOpenClipboardWindow(), other);
    CloseClipboard();
    DestroyWindow(other);
    ExpectMarkerUntouched();

    // A border with nothing inside leaves an empty client area.
    for (const SIZE size : {SIZE{400, 0}, SIZE{0, 150}}) {
        SetWindowSize(size.cx, size.cy);
        Capture();
        ExpectMarkerUntouched();
    }
    HWND gone = CreateWindowExW(0, L"STATIC", L"", WS_CHILD, 0, 0, 50, 50, main_, nullptr, nullptr, nullptr);
    DestroyWindow(gone);
    CaptureSampleToClipboard(main_, gone);
    ExpectMarkerUntouched();
    EXPECT_EQ(CountGdiObjects(), objects);
    Resize(200, 80);
    Capture();
    Captured();
}

}  // namespace
}  // namespace tavrel
