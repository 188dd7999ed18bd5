#include "loaded_font_list.h"

#include <algorithm>
#include <new>

namespace tavrel {

LoadedFontList& LoadedFonts() {
    static LoadedFontList list;
    return list;
}

namespace {

std::size_t NameHash(std::wstring_view faceName) { return std::hash<std::wstring_view>{}(faceName); }

}  // namespace

bool IsFaceListed(std::wstring_view faceName) {
    const LoadedFontList& list = LoadedFonts();
    const auto [first, last] = list.nameIndex.equal_range(NameHash(faceName));
    return std::any_of(first, last, [&](const auto& entry) { return list.faceNames[entry.second] == faceName; });
}

namespace {

// Room for one more, growing as push_back would: reserving one more each time
// would move every entry on every face, and a library has thousands.
template <class T>
void RoomForOne(std::vector<T>& entries) {
    if (entries.size() == entries.capacity()) entries.reserve(std::max<std::size_t>(16, entries.capacity() * 2));
}

// Everything that may run out of memory happens before the entry is added, so
// the sequences and the combo box stay entry for entry.
void AppendFace(std::wstring_view faceName, FaceSource source) {
    LoadedFontList& list = LoadedFonts();
    std::wstring name(faceName);
    RoomForOne(list.fontHandles);
    RoomForOne(list.faceNames);
    RoomForOne(list.faceSources);
    list.nameIndex.emplace(NameHash(name), list.faceNames.size());
    if (list.hwndMirror) SendMessageW(list.hwndMirror, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.c_str()));
    list.fontHandles.push_back(nullptr);
    list.faceNames.push_back(std::move(name));
    list.faceSources.push_back(std::move(source));
}

}  // namespace

void ListFace(std::wstring_view faceName, FaceSource source) {
    if (!IsFaceListed(faceName)) AppendFace(faceName, std::move(source));
}

void RefuseFile(std::wstring_view path, std::string reason) {
    auto& refused = LoadedFonts().refusedFiles;
    const auto known = std::find_if(refused.begin(), refused.end(), [&](const RefusedFile& file) { return file.path == path; });
    try {
        if (known != refused.end()) known->reason = std::move(reason);
        else refused.push_back({std::wstring(path), std::move(reason)});
    } catch (const std::bad_alloc&) {
    }
}

void ShareRegistration(std::wstring_view path, HANDLE handle) {
    LoadedFontList& list = LoadedFonts();
    for (std::size_t i = 0; i < list.faceSources.size(); ++i)
        if (!list.fontHandles[i] && !list.faceSources[i].installed && list.faceSources[i].path == path)
            list.fontHandles[i] = handle;
}

void AddInstalledFace(std::wstring_view faceName) {
    if (!IsFaceListed(faceName)) AppendFace(faceName, FaceSource{{}, std::nullopt, true, {}});
}

// Allocates nothing, since it takes back a load that ran out of memory. A
// registration belongs to the first entry holding it; few entries hold one.
void UnloadFontsFrom(std::size_t first, bool emptyCombo) {
    LoadedFontList& list = LoadedFonts();
    auto& handles = list.fontHandles;
    first = std::min(first, handles.size());
    for (std::size_t i = first; i < handles.size(); ++i) {
        if (handles[i] && std::find(handles.begin(), handles.begin() + std::ptrdiff_t(i), handles[i]) ==
                              handles.begin() + std::ptrdiff_t(i))
            RemoveFontMemResourceEx(handles[i]);
        if (emptyCombo && list.hwndMirror) SendMessageW(list.hwndMirror, CB_DELETESTRING, first, 0);
    }
    handles.resize(first);
    std::erase_if(list.nameIndex, [first](const auto& entry) { return entry.second >= first; });
    list.faceNames.resize(first);
    list.faceSources.resize(first);
}

void UnloadAllFonts(bool emptyCombo) {
    UnloadFontsFrom(0, emptyCombo);
    LoadedFonts().refusedFiles.clear();
}

}  // namespace tavrel
