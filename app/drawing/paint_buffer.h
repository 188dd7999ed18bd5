#pragma once
// A view's painting done into a 32-bit DIB section the size of the area to
// paint, then copied to the window at once: nothing flickers, and lines
// filled from outlines are mixed straight into its pixels. Where the buffer
// cannot be made, painting goes to the window's own context.

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <optional>

#include "scoped_handles.h"

namespace tavrel {

// Pixels of a 32-bit bitmap from a corner: rows `stride` bytes apart, going down.
struct PixelRows {
    std::uint8_t* first = nullptr;
    std::ptrdiff_t stride = 0;
    std::uint32_t* Row(int y) const { return reinterpret_cast<std::uint32_t*>(first + stride * y); }
};

class PaintBuffer {
public:
    // `area` in `target`'s coordinates, which the buffer's context shares.
    PaintBuffer(HDC target, const RECT& area);
    // Copies what was painted to the target.
    ~PaintBuffer();
    PaintBuffer(const PaintBuffer&) = delete;
    PaintBuffer& operator=(const PaintBuffer&) = delete;

    HDC dc() const { return bits_ ? memory_.get() : target_; }

    // The pixels under `area`, from its top left corner, when `dc` is the
    // context of a buffer this thread is painting into and still maps its
    // coordinates by no more than the buffer's offset.
    static std::optional<PixelRows> PixelsUnder(HDC dc, const RECT& area);

private:
    HDC target_;
    RECT area_;
    AutoDeleteDC memory_;
    AutoDeleteBitmap bitmap_;
    HGDIOBJ replaced_ = nullptr;  // what the bitmap replaced in the memory context
    std::uint8_t* bits_ = nullptr;  // top row first: the section is made top-down
    PaintBuffer* outer_ = nullptr;  // the buffer this thread was painting into before
};

}  // namespace tavrel
