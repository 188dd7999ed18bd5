#pragma once
// Holders for the Win32 handles a drawing step takes: each gives its handle
// back when it leaves scope, so every early return releases what was taken.

#include <windows.h>

#include <memory>
#include <type_traits>

namespace tavrel {

struct DeleteDCFn {
    void operator()(HDC dc) const { DeleteDC(dc); }
};
struct DeleteBitmapFn {
    void operator()(HBITMAP bitmap) const { DeleteObject(bitmap); }
};
struct DeleteFontFn {
    void operator()(HFONT font) const { DeleteObject(font); }
};
struct GlobalFreeFn {
    void operator()(HGLOBAL memory) const { GlobalFree(memory); }
};

// A memory device context made with CreateCompatibleDC.
using AutoDeleteDC = std::unique_ptr<std::remove_pointer_t<HDC>, DeleteDCFn>;
// A bitmap this code still owns; release() hands it to a new owner.
using AutoDeleteBitmap = std::unique_ptr<std::remove_pointer_t<HBITMAP>, DeleteBitmapFn>;
// A font made with CreateFontIndirectW.
using AutoDeleteFont = std::unique_ptr<std::remove_pointer_t<HFONT>, DeleteFontFn>;
// Global memory this code still owns; release() hands it to the clipboard.
using AutoGlobalFree = std::unique_ptr<void, GlobalFreeFn>;

// A window's (or, with a null window, the screen's) display device context.
class ScopedGetDC {
public:
    explicit ScopedGetDC(HWND hwnd) : hwnd_(hwnd), dc_(GetDC(hwnd)) {}
    ~ScopedGetDC() {
        if (dc_) ReleaseDC(hwnd_, dc_);
    }
    ScopedGetDC(const ScopedGetDC&) = delete;
    ScopedGetDC& operator=(const ScopedGetDC&) = delete;

    HDC get() const { return dc_; }
    explicit operator bool() const { return dc_ != nullptr; }

private:
    HWND hwnd_;
    HDC dc_;
};

// An object selected into a context; the object it replaced goes back in on exit.
class ScopedSelectObject {
public:
    ScopedSelectObject(HDC dc, HGDIOBJ object) : dc_(dc), previous_(SelectObject(dc, object)) {}
    ~ScopedSelectObject() {
        if (*this) SelectObject(dc_, previous_);
    }
    ScopedSelectObject(const ScopedSelectObject&) = delete;
    ScopedSelectObject& operator=(const ScopedSelectObject&) = delete;

    explicit operator bool() const { return previous_ != nullptr && previous_ != HGDI_ERROR; }

private:
    HDC dc_;
    HGDIOBJ previous_;
};

// The clipboard, open for one window; closed on exit only if this opened it.
class ScopedClipboard {
public:
    explicit ScopedClipboard(HWND owner) : open_(OpenClipboard(owner) != FALSE) {}
    ~ScopedClipboard() {
        if (open_) CloseClipboard();
    }
    ScopedClipboard(const ScopedClipboard&) = delete;
    ScopedClipboard& operator=(const ScopedClipboard&) = delete;

    explicit operator bool() const { return open_; }

private:
    bool open_;
};

}  // namespace tavrel
