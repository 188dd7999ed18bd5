#pragma once
// The files that could not be read: under the library, a label
// "読み込めなかったファイル (N)" and a list of each path and why, in Japanese.

#include <windows.h>

#include <vector>

#include "loaded_font_list.h"

namespace tavrel {

struct RefusedList {
    HWND label = nullptr;
    HWND list = nullptr;
    std::vector<RefusedFile> shown;  // as listed: a file refused again keeps only its newest reason
};

void CreateRefusedList(HWND parent, HFONT font, RefusedList& refused);

// Lists the loaded list's refused files again when they have changed; whether they had.
bool UpdateRefusedList(RefusedList& refused);

}  // namespace tavrel
