#include "installed_font_file.h"

#include <algorithm>
#include <cwchar>

#include "scoped_handles.h"

namespace tavrel {

namespace {

// The largest font file read back from GDI: beyond any real collection.
constexpr DWORD kMaxInstalledFontBytes = 512u << 20;
// GetFontData's table tag for the whole collection file, byte-swapped as GDI wants it.
constexpr DWORD kCollectionTag = 0x66637474;  // 'ttcf'

std::optional<FontImage> ReadFontData(HDC dc, DWORD table) {
    const DWORD size = GetFontData(dc, table, 0, nullptr, 0);
    if (size == GDI_ERROR || size == 0 || size > kMaxInstalledFontBytes) return std::nullopt;
    FontImage image;
    image.memory.reset(static_cast<std::uint8_t*>(LocalAlloc(LMEM_FIXED, size)));
    image.size = size;
    if (!image.memory || GetFontData(dc, table, 0, image.memory.get(), size) != size) return std::nullopt;
    return image;
}

bool DrawsFace(HDC dc, std::wstring_view faceName) {
    wchar_t drawn[LF_FACESIZE] = L"";
    GetTextFaceW(dc, LF_FACESIZE, drawn);
    return faceName == std::wstring_view(drawn, wcsnlen(drawn, LF_FACESIZE));
}

}  // namespace

std::optional<InstalledFontFile> ReadInstalledFontFile(std::wstring_view faceName) {
    if (faceName.empty() || faceName.size() >= LF_FACESIZE) return std::nullopt;
    LOGFONTW wanted{};
    wanted.lfCharSet = DEFAULT_CHARSET;
    std::copy(faceName.begin(), faceName.end(), wanted.lfFaceName);
    const AutoDeleteFont font(CreateFontIndirectW(&wanted));
    const AutoDeleteDC dc(CreateCompatibleDC(nullptr));
    if (!font || !dc) return std::nullopt;
    const ScopedSelectObject selected(dc.get(), font.get());
    if (!selected || !DrawsFace(dc.get(), faceName)) return std::nullopt;
    if (auto collection = ReadFontData(dc.get(), kCollectionTag)) return InstalledFontFile{std::move(*collection), true};
    if (auto single = ReadFontData(dc.get(), 0)) return InstalledFontFile{std::move(*single), false};
    return std::nullopt;
}

}  // namespace tavrel
