#pragma once
// The font file GDI uses for an installed face, read back through GetFontData.

#include <windows.h>

#include <optional>
#include <string_view>

#include "font_file_win32.h"

namespace tavrel {

struct InstalledFontFile {
    FontImage image;
    bool collection = false;  // the whole collection the face is a member of
};

// Nothing when GDI would draw `faceName` in another face (the face is not
// installed), when the font is not an sfnt, or when it is larger than we hold.
std::optional<InstalledFontFile> ReadInstalledFontFile(std::wstring_view faceName);

}  // namespace tavrel
