#include "loaded_font_list.h"

#include <algorithm>

namespace tavrel {

LoadedFontList& LoadedFonts() {
    static LoadedFontList list;
    return list;
}

bool IsFaceListed(std::wstring_view faceName) {
    const auto& names = LoadedFonts().faceNames;
    return std::find(names.begin(), names.end(), faceName) != names.end();
}

namespace {

// Everything that may run out of memory happens before `handleOf` is called:
// a registration is never left without its entry.
template <class Register>
void AppendFace(std::wstring_view faceName, FaceSource source, Register handleOf) {
    LoadedFontList& list = LoadedFonts();
    std::wstring name(faceName);
    list.fontHandles.reserve(list.fontHandles.size() + 1);
    list.faceNames.reserve(list.faceNames.size() + 1);
    list.faceSources.reserve(list.faceSources.size() + 1);
    const HANDLE handle = handleOf();
    if (list.hwndMirror) SendMessageW(list.hwndMirror, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.c_str()));
    list.fontHandles.push_back(handle);
    list.faceNames.push_back(std::move(name));
    list.faceSources.push_back(std::move(source));
}

}  // namespace

void AddLoadedFont(std::wstring_view faceName, Bytes image, FaceSource source) {
    if (IsFaceListed(faceName)) return;
    AppendFace(faceName, std::move(source), [&] {
        // The system keeps its own copy of the bytes.
        DWORD fontCount = 1;
        void* bytes = const_cast<std::uint8_t*>(image.data());
        return AddFontMemResourceEx(bytes, static_cast<DWORD>(image.size()), nullptr, &fontCount);
    });
}

void AddInstalledFace(std::wstring_view faceName) {
    if (!IsFaceListed(faceName)) AppendFace(faceName, FaceSource{{}, std::nullopt, true}, [] { return HANDLE{}; });
}

void UnloadFontsFrom(std::size_t first, bool emptyCombo) {
    LoadedFontList& list = LoadedFonts();
    for (std::size_t i = first; i < list.fontHandles.size(); ++i) {
        if (list.fontHandles[i]) RemoveFontMemResourceEx(list.fontHandles[i]);
        if (emptyCombo && list.hwndMirror) SendMessageW(list.hwndMirror, CB_DELETESTRING, first, 0);
    }
    list.fontHandles.resize(std::min(first, list.fontHandles.size()));
    list.faceNames.resize(std::min(first, list.faceNames.size()));
    list.faceSources.resize(std::min(first, list.faceSources.size()));
}

void UnloadAllFonts(bool emptyCombo) { UnloadFontsFrom(0, emptyCombo); }

}  // namespace tavrel
