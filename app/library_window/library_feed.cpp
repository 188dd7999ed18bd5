#include "library_feed.h"

#include "library_controls.h"
#include "library_list.h"
#include "wide_text_win32.h"

namespace tavrel {

namespace {

FacesToRead ToRead(const LibraryWindow& window, std::size_t first) {
    FacesToRead faces;
    for (std::size_t face = first; face < window.rows.faces.size(); ++face) {
        const FaceSource& source = SourceOf(window.rows, face);
        faces.Add(static_cast<std::uint32_t>(face), source.path, source.member, !window.rows.faces[face].traitsRead);
    }
    return faces;
}

// Faces [first, end) are read by the worker, and sorted in.
void ReadFacesFrom(LibraryWindow& window, std::size_t first) {
    window.reader->Add(ToRead(window, first));
    SortRows(window.rows);
    ShowRows(window, true);
}

// After the list was emptied (or changed under it): the faces of the list
// now, and the installed ones listed again if shown. A new worker: what the
// old one read is of faces by ids that are no more.
void StartAgain(LibraryWindow& window) {
    window.reader = std::make_unique<LibraryReader>(window.hwnd, kFacesReadMessage);
    window.pictures->Clear();
    window.rows = LibraryRows{{}, {}, {}, {}, {}, window.rows.sortColumn, window.rows.descending};
    window.loadedKnown = 0;
    window.installedFiles.reset();
    if (window.filter.installed) ListInstalledFiles(window);
}

bool ListChangedUnder(const LibraryWindow& window) {
    const auto& names = LoadedFonts().faceNames;
    return names.size() < window.loadedKnown || (window.loadedKnown && names.front() != window.firstLoaded);
}

}  // namespace

void FollowLoadedList(LibraryWindow& window) {
    if (ListChangedUnder(window)) StartAgain(window);
    const std::size_t listed = LoadedFonts().faceNames.size();
    if (listed == window.loadedKnown) return;
    const std::size_t first = window.rows.faces.size();
    window.rows.faces.reserve(first + listed - window.loadedKnown);  // no room to spare: a library is large
    for (std::size_t i = window.loadedKnown; i < listed; ++i) {
        LibraryFace face;
        face.listed = static_cast<std::uint32_t>(i);
        window.rows.faces.push_back(face);
    }
    window.loadedKnown = listed;
    window.firstLoaded = LoadedFonts().faceNames.front();
    ReadFacesFrom(window, first);
}

void ListInstalledFiles(LibraryWindow& window) {
    if (!window.installedFiles) window.installedFiles = std::make_unique<InstalledFiles>(window.hwnd, kInstalledListedMessage);
}

void TakeInstalledFiles(LibraryWindow& window) {
    if (!window.installedFiles) return;
    const std::size_t first = window.rows.faces.size();
    for (const ListedFontFile& file : window.installedFiles->Take()) {
        for (std::size_t i = 0; i < file.faceNames.size(); ++i) {
            FaceSource source{file.fullPath, std::nullopt, false, file.stamp};
            if (i < file.faceMembers.size()) source.member = file.faceMembers[i];
            LibraryFace face;
            face.installed = true;
            face.listed = static_cast<std::uint32_t>(window.rows.installed.size());
            window.rows.installed.push_back({ToWide(file.faceNames[i]), std::move(source)});
            window.rows.faces.push_back(face);
        }
    }
    ReadFacesFrom(window, first);
}

void TakeFacesRead(LibraryWindow& window) {
    LibraryRows& rows = window.rows;
    for (const FaceRead& read : window.reader->Take()) {
        if (read.face >= rows.faces.size()) continue;
        LibraryFace& face = rows.faces[read.face];
        if (read.traitsRead && !face.traitsRead) {
            face.traitsRead = true;
            face.traits = read.traits;
            KeepNames(rows, read.face, read.names);
        }
        // The two workers may hand an older line's check after a newer one's.
        if (read.lineChecked > face.lineChecked) {
            face.lineChecked = read.lineChecked;
            face.setsLine = read.setsLine;
        }
    }
    if (window.refilterDue) return;
    window.refilterDue = true;
    SetTimer(window.hwnd, kRefilterTimer, kRefilterEvery, nullptr);
}

void CheckLine(LibraryWindow& window) {
    if (!window.filter.setsLine) return;
    window.filter.line = ++window.lineCheck;
    window.reader->Restart(ToRead(window, 0), CharactersToFind(ToU16(TextOf(window.line))), window.lineCheck);
}

}  // namespace tavrel
