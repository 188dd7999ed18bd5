#include "font_file_win32.h"

#include <new>
#include <string>
#include <string_view>
#include <utility>

#include "font_plan.h"
#include "loaded_font_list.h"
#include "long_path_win32.h"
#include "wide_text_win32.h"

namespace tavrel {

namespace {

struct HandleCloser {
    void operator()(HANDLE handle) const { CloseHandle(handle); }
};
using ScopedFile = std::unique_ptr<void, HandleCloser>;

// The path made absolute, so the face's file can be found again after the
// current folder has changed (the file dialog changes it).
std::wstring FullPath(const wchar_t* path) {
    const DWORD units = GetFullPathNameW(path, 0, nullptr, nullptr);
    if (units == 0) return path;
    std::wstring full(units, L'\0');
    const DWORD written = GetFullPathNameW(path, units, full.data(), nullptr);
    if (written == 0 || written >= units) return path;
    full.resize(written);
    return full;
}

}  // namespace

std::optional<FontImage> ReadOpenFile(HANDLE file, std::uint32_t size) {
    FontImage image;
    image.memory.reset(static_cast<std::uint8_t*>(LocalAlloc(LMEM_FIXED, size)));
    image.size = size;
    if (!image.memory) return std::nullopt;
    DWORD bytesRead = 0;
    if (!ReadFile(file, image.memory.get(), size, &bytesRead, nullptr) || bytesRead != size) return std::nullopt;
    return image;
}

std::optional<FontImage> ReadFontFile(const wchar_t* path) {
    const HANDLE opened = CreateFileW(OpenablePath(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (opened == INVALID_HANDLE_VALUE) return std::nullopt;
    const ScopedFile file(opened);
    // Reading a pipe or a device would wait for whoever writes to it.
    if (GetFileType(opened) != FILE_TYPE_DISK) return std::nullopt;
    DWORD sizeHigh = 0;
    const DWORD size = GetFileSize(opened, &sizeHigh);
    if (size == INVALID_FILE_SIZE || sizeHigh != 0 || size > INT32_MAX) return std::nullopt;
    return ReadOpenFile(opened, size);
}

std::optional<PlannedFontFile> PlanFontFileAt(const wchar_t* path) {
    const FontLoader loader = ChooseLoader(ToU16(path));
    if (loader == FontLoader::None) return std::nullopt;
    auto image = ReadFontFile(path);
    if (!image) return std::nullopt;
    auto plan = PlanFontFile(loader, image->bytes());
    if (!plan) return std::nullopt;
    return PlannedFontFile{FullPath(path), std::move(*image), std::move(plan.value())};
}

void AddPlannedFace(const PlannedFontFile& file, std::size_t index) {
    FaceSource source{file.fullPath, std::nullopt, false};
    if (index < file.plan.faceMembers.size()) source.member = file.plan.faceMembers[index];
    const Bytes registered = RegisteredImage(file.plan, file.image.bytes());
    AddLoadedFont(ToWide(file.plan.faceNames[index]), registered, std::move(source));
}

// Memory running out part way through a collection takes back the faces this
// file had added already, so a file adds all its faces or none.
void AddPlannedFontFile(const PlannedFontFile& file) {
    const std::size_t listedBefore = LoadedFonts().fontHandles.size();
    try {
        for (std::size_t i = 0; i < file.plan.faceNames.size(); ++i) AddPlannedFace(file, i);
    } catch (const std::bad_alloc&) {
        UnloadFontsFrom(listedBefore, true);
    }
}

void OpenFontFile(const wchar_t* path) {
    try {
        if (const auto planned = PlanFontFileAt(path)) AddPlannedFontFile(*planned);
    } catch (const std::bad_alloc&) {
    }
}

}  // namespace tavrel
