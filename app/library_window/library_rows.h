#pragma once
// The library window's faces and the rows it shows of them: what is kept of
// each face (a few bytes, its names in one shared buffer), which faces the
// filters let through, in the order the clicked column sorts them.

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "face_traits.h"
#include "loaded_font_list.h"

namespace tavrel {

// A face of the loaded list (by its index there) or of an installed font's file.
struct LibraryFace {
    std::uint32_t listed = 0;  // into LoadedFonts(), or into LibraryRows::installed
    bool installed = false;
    bool traitsRead = false;
    bool setsLine = false;            // for the line last checked
    std::uint32_t lineChecked = 0;    // the line check it answers; 0 for none
    FaceTraits traits;
    std::uint32_t namesAt = 0;        // its names in the pool, folded to lower case
    std::uint32_t namesLength = 0;
};

struct InstalledFace {
    std::wstring name;
    FaceSource source;
};

// What the boxes above the list ask for.
struct LibraryFilter {
    std::wstring name;          // folded to lower case; empty lets every face through
    std::uint16_t flags = 0;    // FaceTraitFlag: every one required
    bool setsLine = false;
    std::uint32_t line = 0;     // the line check in force
    bool installed = false;     // the installed fonts' faces too
};

enum LibraryColumn { kColumnLine, kColumnName, kColumnFile, kColumnFormat, kColumnWeight, kColumnWidth, kColumnGlyphs, kColumnCount };

struct LibraryRows {
    std::vector<LibraryFace> faces;
    std::vector<InstalledFace> installed;
    std::wstring namePool;
    std::vector<std::uint32_t> order;  // every face, sorted
    std::vector<std::uint32_t> shown;  // the faces the filter lets through, in order: row i shows shown[i]
    int sortColumn = -1;  // none: the loaded list's order, then the installed faces'
    bool descending = false;
};

const std::wstring& NameOf(const LibraryRows& rows, std::size_t face);
const FaceSource& SourceOf(const LibraryRows& rows, std::size_t face);

// The text of a cell: names, the file relative to the folder it was opened
// from, the format, and the numbers once read.
std::wstring CellText(const LibraryRows& rows, std::size_t face, int column);

// `text` in lower case, as names are kept for the name filter.
std::wstring Folded(std::wstring text);

// Keeps `names` (folded, a line each) as the face's, read once.
void KeepNames(LibraryRows& rows, std::size_t face, const std::wstring& names);

// Sorts `order` by the clicked column, then filters it into `shown`.
void SortRows(LibraryRows& rows);
void FilterRows(LibraryRows& rows, const LibraryFilter& filter);

// The row face `face` is shown in, or -1.
int RowOf(const LibraryRows& rows, std::size_t face);

// "123 / 10,000 書体"
std::wstring CountText(std::size_t shown, std::size_t total);

}  // namespace tavrel
