#pragma once
// The boxes above the library's list, where everything goes as the window
// is sized, and the filter they ask for.

#include "library_window_state.h"

namespace tavrel {

enum LibraryControlId {
    kLineBox = 101,
    kNameFilterBox,
    kSetsLineBox,
    kInstalledBox,
    kSizeBox,
    kCountLabel,
    kFaceList,
    kRefusedLabel,
    kRefusedFiles,
    kFirstTraitBox = 120,  // one a trait, in FaceTraitFlag's order
};

void CreateLibraryControls(LibraryWindow& window);
void LayOutLibrary(const LibraryWindow& window);

// The boxes' filter; the line check stays the one in force.
LibraryFilter FilterOfBoxes(const LibraryWindow& window);

std::wstring TextOf(HWND control);

}  // namespace tavrel
