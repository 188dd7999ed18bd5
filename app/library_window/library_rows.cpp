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

// Whether face a sorts before face b by `column`.
bool Before(const LibraryRows& rows, std::uint32_t a, std::uint32_t b, int column) {
    const FaceTraits& x = rows.faces[a].traits;
    const FaceTraits& y = rows.faces[b].traits;
    switch (column) {
        case kColumnWeight: return x.weightClass < y.weightClass;
        case kColumnWidth: return x.widthClass < y.widthClass;
        case kColumnGlyphs: return x.glyphCount < y.glyphCount;
        case kColumnFile:
        case kColumnFormat: return ExplorerBefore(CellText(rows, a, column), CellText(rows, b, column));
    }
    return ExplorerBefore(NameOf(rows, a), NameOf(rows, b));
}

bool Contains(std::wstring_view text, const std::wstring& folded) {
    return Folded(std::wstring(text)).find(folded) != std::wstring::npos;
}

// The listed name and the file name are matched where they are kept; the
// pool holds the face's other names only.
bool NameMatches(const LibraryRows& rows, std::size_t face, const std::wstring& folded) {
    const std::wstring& path = SourceOf(rows, face).path;
    const std::wstring_view file = std::wstring_view(path).substr(path.find_last_of(L"\\/") + 1);
    const LibraryFace& f = rows.faces[face];
    return Contains(NameOf(rows, face), folded) || Contains(file, folded) ||
           std::wstring_view(rows.namePool.data() + f.namesAt, f.namesLength).find(folded) != std::wstring_view::npos;
}

bool Passes(const LibraryRows& rows, std::size_t face, const LibraryFilter& filter) {
    const LibraryFace& f = rows.faces[face];
    if (f.installed && !filter.installed) return false;
    if (filter.setsLine && (f.lineChecked != filter.line || !f.setsLine)) return false;
    if (filter.flags && (!f.traitsRead || (f.traits.flags & filter.flags) != filter.flags)) return false;
    return filter.name.empty() || NameMatches(rows, face, filter.name);
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

// Kept but for the listed name, which the loaded list holds.
void KeepNames(LibraryRows& rows, std::size_t face, const std::wstring& names) {
    LibraryFace& f = rows.faces[face];
    const std::wstring listed = Folded(NameOf(rows, face)) + L'\n';
    std::wstring others = L'\n' + names;
    for (std::size_t at; (at = others.find(L'\n' + listed)) != std::wstring::npos;) others.erase(at + 1, listed.size());
    f.namesAt = static_cast<std::uint32_t>(rows.namePool.size());
    f.namesLength = static_cast<std::uint32_t>(others.size() - 1);
    rows.namePool.append(others, 1);
}

void SortRows(LibraryRows& rows) {
    rows.order.resize(rows.faces.size());
    for (std::uint32_t i = 0; i < rows.order.size(); ++i) rows.order[i] = i;
    if (rows.sortColumn < 0) return;
    std::stable_sort(rows.order.begin(), rows.order.end(), [&](std::uint32_t a, std::uint32_t b) {
        return rows.descending ? Before(rows, b, a, rows.sortColumn) : Before(rows, a, b, rows.sortColumn);
    });
}

void FilterRows(LibraryRows& rows, const LibraryFilter& filter) {
    rows.shown.clear();
    for (std::uint32_t face : rows.order)
        if (Passes(rows, face, filter)) rows.shown.push_back(face);
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
