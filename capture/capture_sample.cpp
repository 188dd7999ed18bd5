#include "capture_sample.h"

#include <cstdint>
#include <utility>

#include "scoped_handles.h"

namespace tavrel {
namespace {

// A 32-bit bottom-up header with the one all-zero colour entry that follows it.
BITMAPINFO SectionHeader(int width, int height) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    info.bmiHeader.biSizeImage = static_cast<DWORD>(width) * static_cast<DWORD>(height) * 4;
    return info;
}

// A picture worth taking: not empty, and small enough that its byte count
// fits the header's 32-bit size field.
bool IsCapturable(int width, int height) {
    if (width <= 0 || height <= 0) return false;
    const std::uint64_t bytes = std::uint64_t(width) * std::uint64_t(height) * 4;
    return bytes <= MAXDWORD;
}

// The picture `paint` draws, in a 32-bit DIB section.
AutoDeleteBitmap PaintSection(int width, int height, const std::function<bool(HDC)>& paint) {
    ScopedGetDC screen(nullptr);
    if (!screen) return nullptr;
    AutoDeleteDC memoryDC(CreateCompatibleDC(screen.get()));
    if (!memoryDC) return nullptr;
    const BITMAPINFO header = SectionHeader(width, height);
    void* pixels = nullptr;
    AutoDeleteBitmap section(CreateDIBSection(memoryDC.get(), &header, DIB_RGB_COLORS, &pixels, nullptr, 0));
    if (!section) return nullptr;
    ScopedSelectObject selected(memoryDC.get(), section.get());
    if (!selected || !paint(memoryDC.get())) return nullptr;
    return section;
}

AutoDeleteDC ScreenCompatibleDC() {
    ScopedGetDC screen(nullptr);
    return AutoDeleteDC(screen ? CreateCompatibleDC(screen.get()) : nullptr);
}

// A device-dependent 32-bit copy of the section: the kind of bitmap the clipboard gets.
AutoDeleteBitmap CopyToDeviceBitmap(HBITMAP section) {
    BITMAP size{};
    if (!GetObjectW(section, sizeof size, &size)) return nullptr;
    AutoDeleteBitmap copy(CreateBitmap(size.bmWidth, size.bmHeight, 1, 32, nullptr));
    if (!copy) return nullptr;
    AutoDeleteDC sourceDC = ScreenCompatibleDC();
    AutoDeleteDC targetDC = ScreenCompatibleDC();
    if (!sourceDC || !targetDC) return nullptr;
    ScopedSelectObject source(sourceDC.get(), section);
    ScopedSelectObject target(targetDC.get(), copy.get());
    if (!source || !target) return nullptr;
    if (!BitBlt(targetDC.get(), 0, 0, size.bmWidth, size.bmHeight, sourceDC.get(), 0, 0, SRCCOPY)) return nullptr;
    return copy;
}

// Replaces the clipboard's contents with the bitmap. The clipboard owns the
// bitmap once it takes it; otherwise the holder deletes it. A clipboard that
// another window holds open is left alone rather than emptied under it.
void PutOnClipboard(HWND owner, AutoDeleteBitmap bitmap) {
    ScopedClipboard clipboard(owner);
    if (!clipboard || !EmptyClipboard()) return;
    if (SetClipboardData(CF_BITMAP, bitmap.get())) bitmap.release();
}

}  // namespace

void CapturePaintingToClipboard(HWND owner, int width, int height, const std::function<bool(HDC)>& paint) {
    if (!IsCapturable(width, height)) return;
    const AutoDeleteBitmap section = PaintSection(width, height, paint);
    if (!section) return;
    AutoDeleteBitmap bitmap = CopyToDeviceBitmap(section.get());
    if (bitmap) PutOnClipboard(owner, std::move(bitmap));
}

// The control's client area as it is on screen now.
void CaptureSampleToClipboard(HWND owner, HWND sample) {
    RECT client{};
    if (!GetClientRect(sample, &client)) return;
    CapturePaintingToClipboard(owner, client.right, client.bottom, [&](HDC dc) {
        ScopedGetDC sampleDC(sample);
        return sampleDC && BitBlt(dc, 0, 0, client.right, client.bottom, sampleDC.get(), 0, 0, SRCCOPY);
    });
}

}  // namespace tavrel
