#pragma once
// What the library window holds while it is open: its controls, its faces
// and rows, the worker that reads them and the pictures drawn of them.

#include <windows.h>
#include <commctrl.h>

#include <cstdint>
#include <memory>
#include <string>

#include "installed_files.h"
#include "library_reader.h"
#include "library_rows.h"
#include "refused_list.h"
#include "row_pictures.h"
#include "scoped_handles.h"

namespace tavrel {

constexpr UINT kFacesReadMessage = WM_APP + 1;
constexpr UINT kPictureDrawnMessage = WM_APP + 2;
constexpr UINT kInstalledListedMessage = WM_APP + 3;

constexpr int kTraitCount = 7;

// The rows follow what the worker read at most this often; the window looks
// for the loaded list's new faces and refused files as often.
constexpr UINT_PTR kRefilterTimer = 1;
constexpr UINT kRefilterEvery = 100;
constexpr UINT_PTR kFollowTimer = 2;
constexpr UINT kFollowEvery = 250;

struct LibraryWindow {
    HWND hwnd = nullptr;
    HWND hwndMain = nullptr;
    HWND line = nullptr, nameFilter = nullptr, setsLine = nullptr, installedBox = nullptr, sizeBox = nullptr;
    HWND count = nullptr, list = nullptr;
    HWND traitBoxes[kTraitCount]{};
    HWND labels[2]{};
    RefusedList refused;
    AutoDeleteFont font;
    AutoDeleteFont lineFont;  // the sample's face, for the line box
    HIMAGELIST rowHeight = nullptr;  // an empty image list as high as a row: how a report view's rows are sized
    LibraryRows rows;
    LibraryFilter filter;
    std::uint32_t lineCheck = 0;      // the last line check asked for
    std::size_t loadedKnown = 0;      // the loaded list's faces taken so far
    std::wstring firstLoaded;         // and the first of them, to see the list emptied and filled again
    bool refilterDue = false;
    std::uint32_t points = 24;        // the rows' size
    int pixelsPerEm = 32;             // and the lines'
    std::unique_ptr<LibraryReader> reader;
    std::unique_ptr<InstalledFiles> installedFiles;
    std::unique_ptr<RowPictures> pictures;
};

// The open window's record, or null.
LibraryWindow* ShownLibrary();

}  // namespace tavrel
