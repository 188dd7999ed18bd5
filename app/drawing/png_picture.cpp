#include "png_picture.h"

#include <wincodec.h>

#include "scoped_handles.h"

namespace tavrel {

namespace {

// Releases a COM interface when it goes out of scope.
template <class T>
class ComPointer {
public:
    ComPointer() = default;
    ~ComPointer() {
        if (p_) p_->Release();
    }
    ComPointer(const ComPointer&) = delete;
    ComPointer& operator=(const ComPointer&) = delete;
    T** Out() { return &p_; }
    T* operator->() const { return p_; }
    T* get() const { return p_; }
    explicit operator bool() const { return p_ != nullptr; }

private:
    T* p_ = nullptr;
};

// The imaging factory of the thread, with COM started on it for the process's life.
IWICImagingFactory* Factory() {
    static IWICImagingFactory* factory = [] {
        CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        IWICImagingFactory* made = nullptr;
        CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&made));
        return made;
    }();
    return factory;
}

// The PNG's first frame as premultiplied 32-bit pixels, rows top down.
bool Decode(const std::vector<std::uint8_t>& png, UINT& width, UINT& height, std::vector<BYTE>& pixels) {
    IWICImagingFactory* factory = Factory();
    ComPointer<IWICStream> stream;
    ComPointer<IWICBitmapDecoder> decoder;
    ComPointer<IWICBitmapFrameDecode> frame;
    ComPointer<IWICFormatConverter> converter;
    if (!factory || png.empty() || png.size() > (64u << 20) || FAILED(factory->CreateStream(stream.Out())) ||
        FAILED(stream->InitializeFromMemory(const_cast<BYTE*>(png.data()), DWORD(png.size()))) ||
        FAILED(factory->CreateDecoderFromStream(stream.get(), nullptr, WICDecodeMetadataCacheOnDemand, decoder.Out())) ||
        FAILED(decoder->GetFrame(0, frame.Out())) || FAILED(factory->CreateFormatConverter(converter.Out())) ||
        FAILED(converter->Initialize(frame.get(), GUID_WICPixelFormat32bppPBGRA, WICBitmapDitherTypeNone, nullptr, 0,
                                     WICBitmapPaletteTypeCustom)) ||
        FAILED(converter->GetSize(&width, &height)) || width == 0 || height == 0 || width > 4096 || height > 4096)
        return false;
    pixels.resize(std::size_t(width) * height * 4);
    return SUCCEEDED(converter->CopyPixels(nullptr, width * 4, UINT(pixels.size()), pixels.data()));
}

}  // namespace

void DrawPngPicture(HDC dc, const std::vector<std::uint8_t>& png, const RECT& box) {
    UINT width = 0, height = 0;
    std::vector<BYTE> pixels;
    if (IsRectEmpty(&box) || !Decode(png, width, height, pixels)) return;
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), LONG(width), -LONG(height), 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    const AutoDeleteBitmap bitmap(CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    const AutoDeleteDC memory(CreateCompatibleDC(dc));
    if (!bitmap || !memory || !bits) return;
    std::copy(pixels.begin(), pixels.end(), static_cast<BYTE*>(bits));
    const ScopedSelectObject selected(memory.get(), bitmap.get());
    const BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    const int previous = SetStretchBltMode(dc, HALFTONE);
    GdiAlphaBlend(dc, box.left, box.top, box.right - box.left, box.bottom - box.top, memory.get(), 0, 0, int(width),
                  int(height), blend);
    SetStretchBltMode(dc, previous);
}

}  // namespace tavrel
