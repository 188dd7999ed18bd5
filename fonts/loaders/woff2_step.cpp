#include "woff2_step.h"

#include <woff2/decode.h>
#include <woff2/output.h>

#include <algorithm>

namespace tavrel {

namespace {

// Real fonts decode to a few times their WOFF2 size, and the library refuses
// a Brotli stream that claims more than 100 times the file. A header that
// states more than that gets no memory up front: the output still grows as
// the library writes it, so only a font that really is that large pays for it.
constexpr std::size_t kMaxPresizeRatio = 100;

}  // namespace

Result<DecodedImage> DecodeWoff2(Bytes woff2) {
    const std::size_t stated = woff2::ComputeWOFF2FinalSize(woff2.data(), woff2.size());
    DecodedImage image(std::min({stated, kMaxDecodedImageSize, kMaxPresizeRatio * woff2.size()}), '\0');
    woff2::WOFF2StringOut out(&image);
    // Set here rather than left at the library's default, which newer releases raised.
    out.SetMaxSize(kMaxDecodedImageSize);
    if (!woff2::ConvertWOFF2ToTTF(woff2.data(), woff2.size(), &out))
        return Failure{"the WOFF2 data cannot be decoded"};
    // A header that overstates the size leaves zeros after the font, and one
    // that understates it lets the string grow ahead of its content; neither
    // the zeros nor the spare room are part of the font.
    image.resize(out.Size());
    if (image.capacity() > image.size()) image.shrink_to_fit();
    return image;
}

}  // namespace tavrel
