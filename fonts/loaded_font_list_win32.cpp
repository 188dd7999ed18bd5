#include "loaded_font_list.h"

#include <algorithm>
#include <utility>

namespace tavrel {

LoadedFontList& LoadedFonts() {
    static LoadedFontList list;
    return list;
}

bool IsFaceListed(std::wstring_view faceName) {
    const auto& names = LoadedFonts().faceNames;
    return std::find(names.begin(), names.end(), faceName) != names.end();
}

static void AppendFace(std::wstring_view faceName, HANDLE handle, FaceSource source) {
    LoadedFontList& list = LoadedFonts();
    const std::wstring name(faceName);
    if (list.hwndMirror) SendMessageW(list.hwndMirror, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.c_str()));
    list.fontHandles.push_back(handle);
    list.faceNames.push_back(name);
    list.faceSources.push_back(std::move(source));
}

void AddLoadedFont(std::wstring_view faceName, Bytes image, FaceSource source) {
    if (IsFaceListed(faceName)) return;
    // The system keeps its own copy of the bytes.
    DWORD fontCount = 1;
    void* bytes = const_cast<std::uint8_t*>(image.data());
    AppendFace(faceName, AddFontMemResourceEx(bytes, static_cast<DWORD>(image.size()), nullptr, &fontCount),
               std::move(source));
}

void AddInstalledFace(std::wstring_view faceName) {
    if (!IsFaceListed(faceName)) AppendFace(faceName, nullptr, FaceSource{{}, std::nullopt, true});
}

void UnloadAllFonts(bool emptyCombo) {
    LoadedFontList& list = LoadedFonts();
    for (HANDLE handle : list.fontHandles) {
        if (handle) RemoveFontMemResourceEx(handle);
        if (emptyCombo && list.hwndMirror) SendMessageW(list.hwndMirror, CB_DELETESTRING, 0, 0);
    }
    list.fontHandles.clear();
    list.faceNames.clear();
    list.faceSources.clear();
}

}  // namespace tavrel
