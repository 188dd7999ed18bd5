#include "sample_window.h"

#include <richedit.h>

namespace tavrel::test {
namespace {

constexpr wchar_t kClassName[] = L"tavrel-capture-test";
// The sample's own styles: WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_HSCROLL |
// ES_NOHIDESEL | ES_AUTOHSCROLL | ES_MULTILINE, with a sunken edge.
constexpr DWORD kSampleStyle = 0x50300184;

void RegisterTestClass() {
    static const bool registered = [] {
        LoadLibraryW(L"Riched20.dll");
        WNDCLASSEXW windowClass{};
        windowClass.cbSize = sizeof windowClass;
        windowClass.lpfnWndProc = DefWindowProcW;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        windowClass.lpszClassName = kClassName;
        return RegisterClassExW(&windowClass) != 0;
    }();
    (void)registered;
}

// Window size that gives `client` pixels inside the sample's border.
SIZE OuterSize(int width, int height) {
    RECT rect{0, 0, width, height};
    AdjustWindowRectEx(&rect, kSampleStyle & ~(WS_VSCROLL | WS_HSCROLL), FALSE, WS_EX_CLIENTEDGE);
    return {rect.right - rect.left, rect.bottom - rect.top};
}

}  // namespace

SampleWindow::SampleWindow(int width, int height) {
    RegisterTestClass();
    main_ = CreateWindowExW(0, kClassName, L"capture test", WS_POPUP | WS_VISIBLE, 0, 0, 800, 600,
                            nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    sample_ = CreateWindowExW(WS_EX_CLIENTEDGE, L"RichEdit20W", L"", kSampleStyle, 0, 0, 10, 10, main_,
                              reinterpret_cast<HMENU>(100), GetModuleHandleW(nullptr), nullptr);
    Resize(width, height);
    SetForegroundWindow(main_);
    Paint();
}

SampleWindow::~SampleWindow() { DestroyWindow(main_); }

void SampleWindow::SetText(const wchar_t* text, int points) {
    SetWindowTextW(sample_, text);
    CHARFORMAT2W format{};
    format.cbSize = sizeof format;
    format.dwMask = CFM_SIZE | CFM_FACE | CFM_BOLD;
    format.dwEffects = CFE_BOLD;
    format.yHeight = points * 20;
    lstrcpynW(format.szFaceName, L"DejaVu Sans", LF_FACESIZE);
    SendMessageW(sample_, EM_SETCHARFORMAT, SCF_ALL, reinterpret_cast<LPARAM>(&format));
    Paint();
}

void SampleWindow::SetColours(COLORREF text, COLORREF background) {
    CHARFORMAT2W format{};
    format.cbSize = sizeof format;
    format.dwMask = CFM_COLOR | CFM_BACKCOLOR;
    format.crTextColor = text;
    format.crBackColor = background;
    SendMessageW(sample_, EM_SETCHARFORMAT, SCF_ALL, reinterpret_cast<LPARAM>(&format));
    SendMessageW(sample_, EM_SETBKGNDCOLOR, 0, static_cast<LPARAM>(background));
    Paint();
}

void SampleWindow::Select(int from, int to) {
    CHARRANGE range{from, to};
    SendMessageW(sample_, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&range));
    Paint();
}

void SampleWindow::Resize(int width, int height) {
    const SIZE outer = OuterSize(width, height);
    SetWindowSize(outer.cx, outer.cy);
}

void SampleWindow::SetWindowSize(int width, int height) {
    SetWindowPos(sample_, nullptr, 0, 0, width, height, SWP_NOZORDER | SWP_NOMOVE);
    Paint();
}

SIZE SampleWindow::ClientSize() const {
    RECT rect{};
    GetClientRect(sample_, &rect);
    return {rect.right, rect.bottom};
}

void SampleWindow::Paint() const {
    RedrawWindow(main_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

}  // namespace tavrel::test
