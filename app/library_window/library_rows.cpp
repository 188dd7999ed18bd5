#include "library_rows.h"

#include <algorithm>
#include <cwchar>

#include "folder_load.h"
#include "folder_reader.h"
#include "loader_choice.h"
#include "wide_text_win32.h"

namespace tavrel {

namespace {

// The path after the folder it was opened from, else the whole path.
std::wstring RelativeFile(const std::wstring& path) {
    for (const std::wstring& folder : OpenedFolders()) {
        const bool endsInSeparator = !folder.empty() && (folder.back() == L'\\' || folder.back() == L'/');
        const std::size_t skip = folder.size() + (endsInSeparator ? 0 : 1);
        if (path.size() > skip && _wcsnicmp(path.c_str(), folder.c_str(), folder.size()) == 0 &&
            (endsInSeparator || path[folder.size()] == L'\\' || path[folder.size()] == L'/'))
            return path.substr(skip);
    }
    return path;
}

bool EndsWith(const std::wstring& path, const wchar_t* extension) {
    const std::size_t length = std::wcslen(extension);
    return path.size() >= length && _wcsicmp(path.c_str() + path.size() - length, extension) == 0;
}

std::wstring FormatOf(const FaceSource& source) {
    switch (ChooseLoader(ToU16(source.path))) {
        case FontLoader::Collection: return L"TTC " + std::to_wstring(source.member.value_or(0));
        case FontLoader::Sfnt: return EndsWith(source.path, L".otf") ? L"OTF" : L"TTF";
        case FontLoader::Woff: return L"WOFF";
        case FontLoader::Woff2: return L"WOFF2";
        case FontLoader::None: break;
    }
    return {};
}

std::wstring Number(std::uint16_t value, bool read) { return read && value ? std::to_wstring(value) : std::wstring(); }

// Negative, zero or positive as face a sorts before, with or after face b by `column`.
int Compare(const LibraryRows& rows, std::uint32_t a, std::uint32_t b, int column) {
    const FaceTraits& x = rows.faces[a].traits;
    const FaceTraits& y = rows.faces[b].traits;
    switch (column) {
        case kColumnWeight: return x.weightClass - y.weightClass;
        case kColumnWidth: return x.widthClass - y.widthClass;
        case kColumnGlyphs: return x.glyphCount - y.glyphCount;
        case kColumnFile:
        case kColumnFormat: {
            const std::wstring p = CellText(rows, a, column), q = CellText(rows, b, column);
            return ExplorerBefore(p, q) ? -1 : ExplorerBefore(q, p) ? 1 : 0;
        }
    }
    const std::wstring& p = NameOf(rows, a);
    const std::wstring& q = NameOf(rows, b);
    return ExplorerBefore(p, q) ? -1 : ExplorerBefore(q, p) ? 1 : 0;
}

bool Passes(const LibraryRows& rows, const LibraryFace& face, const LibraryFilter& filter) {
    if (face.installed && !filter.installed) return false;
    if (filter.setsLine && (face.lineChecked != filter.line || !face.setsLine)) return false;
    if (filter.flags && (!face.traitsRead || (face.traits.flags & filter.flags) != filter.flags)) return false;
    if (filter.name.empty()) return true;
    if (!face.traitsRead) return Folded(NameOf(rows, &face - rows.faces.data())).find(filter.name) != std::wstring::npos;
    const std::wstring_view names(rows.namePool.data() + face.namesAt, face.namesLength);
    return names.find(filter.name) != std::wstring_view::npos;
}

}  // namespace

// The loaded list may have been emptied since the window last looked: its
// faces are then shown without a name or a file until it does.
const std::wstring& NameOf(const LibraryRows& rows, std::size_t face) {
    static const std::wstring gone;
    const LibraryFace& f = rows.faces[face];
    if (f.installed) return rows.installed[f.listed].name;
    const auto& names = LoadedFonts().faceNames;
    return f.listed < names.size() ? names[f.listed] : gone;
}

const FaceSource& SourceOf(const LibraryRows& rows, std::size_t face) {
    static const FaceSource gone;
    const LibraryFace& f = rows.faces[face];
    if (f.installed) return rows.installed[f.listed].source;
    const auto& sources = LoadedFonts().faceSources;
    return f.listed < sources.size() ? sources[f.listed] : gone;
}

std::wstring CellText(const LibraryRows& rows, std::size_t face, int column) {
    const LibraryFace& f = rows.faces[face];
    switch (column) {
        case kColumnFile: return f.installed ? SourceOf(rows, face).path : RelativeFile(SourceOf(rows, face).path);
        case kColumnFormat: return FormatOf(SourceOf(rows, face));
        case kColumnWeight: return Number(f.traits.weightClass, f.traitsRead);
        case kColumnWidth: return Number(f.traits.widthClass, f.traitsRead);
        case kColumnGlyphs: return Number(f.traits.glyphCount, f.traitsRead);
    }
    return NameOf(rows, face);
}

std::wstring Folded(std::wstring text) {
    if (!text.empty()) CharLowerBuffW(text.data(), static_cast<DWORD>(text.size()));
    return text;
}

// A face's names are kept once: a second reading (after a reset) adds none.
void KeepNames(LibraryRows& rows, std::size_t face, const std::wstring& names) {
    LibraryFace& f = rows.faces[face];
    if (f.namesLength) return;
    f.namesAt = static_cast<std::uint32_t>(rows.namePool.size());
    f.namesLength = static_cast<std::uint32_t>(names.size());
    rows.namePool += names;
}

void SortRows(LibraryRows& rows) {
    rows.order.resize(rows.faces.size());
    for (std::uint32_t i = 0; i < rows.order.size(); ++i) rows.order[i] = i;
    std::stable_sort(rows.order.begin(), rows.order.end(), [&](std::uint32_t a, std::uint32_t b) {
        const int compared = Compare(rows, a, b, rows.sortColumn);
        return rows.descending ? compared > 0 : compared < 0;
    });
}

void FilterRows(LibraryRows& rows, const LibraryFilter& filter) {
    rows.shown.clear();
    for (std::uint32_t face : rows.order)
        if (Passes(rows, rows.faces[face], filter)) rows.shown.push_back(face);
}

int RowOf(const LibraryRows& rows, std::size_t face) {
    const auto at = std::find(rows.shown.begin(), rows.shown.end(), face);
    return at == rows.shown.end() ? -1 : static_cast<int>(at - rows.shown.begin());
}

std::wstring CountText(std::size_t shown, std::size_t total) {
    const auto grouped = [](std::size_t value) {
        std::wstring digits = std::to_wstring(value);
        for (std::size_t at = digits.size(); at > 3; at -= 3) digits.insert(at - 3, 1, L',');
        return digits;
    };
    return grouped(shown) + L" / " + grouped(total) + L" 書体";
}

}  // namespace tavrel
