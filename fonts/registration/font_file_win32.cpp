#include "font_file_win32.h"

#include <new>
#include <string>
#include <string_view>
#include <utility>

#include "face_registration_win32.h"
#include "font_plan.h"
#include "loaded_font_list.h"
#include "mapped_file.h"
#include "long_path_win32.h"
#include "wide_text_win32.h"

namespace tavrel {

namespace {

struct HandleCloser {
    void operator()(HANDLE handle) const { CloseHandle(handle); }
};
using ScopedFile = std::unique_ptr<void, HandleCloser>;

}  // namespace

std::wstring FullPath(const wchar_t* path) {
    const DWORD units = GetFullPathNameW(path, 0, nullptr, nullptr);
    if (units == 0) return path;
    std::wstring full(units, L'\0');
    const DWORD written = GetFullPathNameW(path, units, full.data(), nullptr);
    if (written == 0 || written >= units) return path;
    full.resize(written);
    return full;
}

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

Result<PlannedFontFile> PlanFontFileAt(const wchar_t* path) {
    const FontLoader loader = ChooseLoader(ToU16(path));
    if (loader == FontLoader::None) return Failure{"not a font file extension"};
    auto image = ReadFontFile(path);
    if (!image) return Failure{"cannot read the file"};
    auto plan = PlanFontFile(loader, image->bytes());
    if (!plan) return Failure{plan.reason()};
    return PlannedFontFile{FullPath(path), std::move(*image), std::move(plan.value())};
}

std::optional<FileStamp> StampOf(const wchar_t* path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExW(OpenablePath(path).c_str(), GetFileExInfoStandard, &data)) return std::nullopt;
    const auto wide = [](DWORD high, DWORD low) { return (std::uint64_t{high} << 32) | low; };
    return FileStamp{wide(data.nFileSizeHigh, data.nFileSizeLow),
                     wide(data.ftLastWriteTime.dwHighDateTime, data.ftLastWriteTime.dwLowDateTime)};
}

Result<ListedFontFile> ListFontFileAt(const wchar_t* path) {
    const FontLoader loader = ChooseLoader(ToU16(path));
    if (loader == FontLoader::None) return Failure{"not a font file extension"};
    const auto stamp = StampOf(path);
    if (!stamp) return Failure{"cannot open the file"};
    auto mapped = MappedFile::Open(path);
    if (!mapped) return Failure{mapped.reason()};
    auto plan = PlanFontFile(loader, mapped->bytes());
    if (!plan) return Failure{plan.reason()};
    return ListedFontFile{FullPath(path), *stamp, std::move(plan->faceNames), std::move(plan->faceMembers)};
}

// Memory running out part way through a collection takes back the faces this
// file had added already, so a file adds all its faces or none.
void AddListedFontFile(const ListedFontFile& file) {
    const std::size_t listedBefore = LoadedFonts().faceNames.size();
    try {
        for (std::size_t i = 0; i < file.faceNames.size(); ++i) {
            FaceSource source{file.fullPath, std::nullopt, false, file.stamp};
            if (i < file.faceMembers.size()) source.member = file.faceMembers[i];
            ListFace(ToWide(file.faceNames[i]), std::move(source));
        }
    } catch (const std::bad_alloc&) {
        UnloadFontsFrom(listedBefore, true);
    }
}

void OpenFontFile(const wchar_t* path) {
    try {
        auto planned = PlanFontFileAt(path);
        if (!planned) return RefuseFile(FullPath(path), planned.reason());
        const bool wasEmpty = LoadedFonts().faceNames.empty();
        const FileStamp stamp = StampOf(planned->fullPath.c_str()).value_or(FileStamp{});
        AddListedFontFile({planned->fullPath, stamp, planned->plan.faceNames, planned->plan.faceMembers});
        if (wasEmpty && !LoadedFonts().faceNames.empty())
            RegisterListedFaceFrom(0, RegisteredImage(planned->plan, planned->image.bytes()));
    } catch (const std::bad_alloc&) {
    }
}

}  // namespace tavrel
