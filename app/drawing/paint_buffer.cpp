#include "paint_buffer.h"

namespace tavrel {

namespace {

// The buffers this thread is painting into, innermost first.
thread_local PaintBuffer* innermost = nullptr;

}  // namespace

PaintBuffer::PaintBuffer(HDC target, const RECT& area) : target_(target), area_(area) {
    const int width = area.right - area.left, height = area.bottom - area.top;
    if (width <= 0 || height <= 0) return;
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    bitmap_.reset(CreateDIBSection(target, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    memory_.reset(CreateCompatibleDC(target));
    if (!bitmap_ || !memory_ || !bits) return;
    replaced_ = SelectObject(memory_.get(), bitmap_.get());
    if (!replaced_ || replaced_ == HGDI_ERROR) return;
    SetWindowOrgEx(memory_.get(), area.left, area.top, nullptr);
    bits_ = static_cast<std::uint8_t*>(bits);
    outer_ = innermost;
    innermost = this;
}

PaintBuffer::~PaintBuffer() {
    if (!bits_) return;
    for (PaintBuffer** link = &innermost; *link; link = &(*link)->outer_)
        if (*link == this) {
            *link = outer_;
            break;
        }
    BitBlt(target_, area_.left, area_.top, area_.right - area_.left, area_.bottom - area_.top, memory_.get(),
           area_.left, area_.top, SRCCOPY);
    SelectObject(memory_.get(), replaced_);
}

std::optional<PixelRows> PaintBuffer::PixelsUnder(HDC dc, const RECT& area) {
    const PaintBuffer* buffer = innermost;
    while (buffer && buffer->memory_.get() != dc) buffer = buffer->outer_;
    if (!buffer || GetGraphicsMode(dc) != GM_COMPATIBLE || GetMapMode(dc) != MM_TEXT) return std::nullopt;
    POINT corners[2] = {{area.left, area.top}, {area.right, area.bottom}};
    if (!LPtoDP(dc, corners, 2)) return std::nullopt;
    const int width = buffer->area_.right - buffer->area_.left, height = buffer->area_.bottom - buffer->area_.top;
    if (corners[0].x < 0 || corners[0].y < 0 || corners[1].x > width || corners[1].y > height ||
        corners[1].x - corners[0].x != area.right - area.left || corners[1].y - corners[0].y != area.bottom - area.top)
        return std::nullopt;
    GdiFlush();
    const std::ptrdiff_t stride = std::ptrdiff_t(width) * 4;
    return PixelRows{buffer->bits_ + stride * corners[0].y + std::ptrdiff_t(corners[0].x) * 4, stride};
}

}  // namespace tavrel
