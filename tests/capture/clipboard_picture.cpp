#include "clipboard_picture.h"

#include <algorithm>
#include <chrono>
#include <cstring>
#include <thread>

#include "scoped_handles.h"

namespace tavrel::test {
namespace {

Picture PixelsOf(HBITMAP bitmap) {
    BITMAP size{};
    GetObjectW(bitmap, sizeof size, &size);
    Picture picture{size.bmWidth, size.bmHeight, std::vector<COLORREF>(std::size_t(size.bmWidth) * size.bmHeight)};
    // Top-down rows of 32-bit pixels, which have no colour table.
    BITMAPINFOHEADER header{sizeof header, picture.width, -picture.height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    GetDIBits(ScopedGetDC(nullptr).get(), bitmap, 0, picture.height, picture.pixels.data(),
              reinterpret_cast<BITMAPINFO*>(&header), DIB_RGB_COLORS);
    // Rows come as blue, green, red, unused bytes; a COLORREF is red, green, blue.
    for (COLORREF& pixel : picture.pixels)
        pixel = RGB(GetBValue(pixel), GetGValue(pixel), GetRValue(pixel));
    return picture;
}

std::string DescribeWindow(HWND hwnd) {
    if (!hwnd) return "none";
    char name[64] = "";
    GetClassNameA(hwnd, name, sizeof name);
    DWORD process = 0;
    GetWindowThreadProcessId(hwnd, &process);
    return std::string(name) + (process == GetCurrentProcessId() ? " (this process)" : " (process " + std::to_string(process) + ")");
}

}  // namespace

void WaitForClipboardManager() {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    HWND manager = nullptr;
    while (!(manager = FindWindowExW(HWND_MESSAGE, nullptr, L"__wine_clipboard_manager", nullptr)) &&
           std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    // Its thread takes messages only once its start-up import is done.
    DWORD_PTR ignored = 0;
    if (manager) SendMessageTimeoutW(manager, WM_NULL, 0, 0, SMTO_BLOCK, 10000, &ignored);
}

std::size_t Picture::Count(COLORREF colour) const {
    return std::size_t(std::count(pixels.begin(), pixels.end(), colour));
}

std::optional<Picture> ClipboardPicture() {
    ScopedClipboard clipboard(nullptr);
    if (!clipboard) return std::nullopt;
    HBITMAP bitmap = static_cast<HBITMAP>(GetClipboardData(CF_BITMAP));
    if (!bitmap) return std::nullopt;
    return PixelsOf(bitmap);
}

std::optional<std::wstring> ClipboardText() {
    ScopedClipboard clipboard(nullptr);
    if (!clipboard) return std::nullopt;
    HANDLE data = GetClipboardData(CF_UNICODETEXT);
    if (!data) return std::nullopt;
    std::wstring text(static_cast<const wchar_t*>(GlobalLock(data)));
    GlobalUnlock(data);
    return text;
}

std::string DescribeClipboard() {
    return "clipboard owner: " + DescribeWindow(GetClipboardOwner()) +
           ", held open by: " + DescribeWindow(GetOpenClipboardWindow()) +
           ", sequence: " + std::to_string(GetClipboardSequenceNumber());
}

void PutTextOnClipboard(const std::wstring& text) {
    ScopedClipboard clipboard(nullptr);
    EmptyClipboard();
    const std::size_t bytes = (text.size() + 1) * sizeof(wchar_t);
    HGLOBAL data = GlobalAlloc(GMEM_MOVEABLE, bytes);
    std::memcpy(GlobalLock(data), text.c_str(), bytes);
    GlobalUnlock(data);
    if (!SetClipboardData(CF_UNICODETEXT, data)) GlobalFree(data);
}

}  // namespace tavrel::test
