#pragma once
// The files that could not be read: under the library, a label
// "読み込めなかったファイル (N)" and a list of each path and why, in Japanese.

#include <windows.h>

#include <cstddef>

namespace tavrel {

struct RefusedList {
    HWND label = nullptr;
    HWND list = nullptr;
    std::size_t shown = 0;  // the refused files listed
};

void CreateRefusedList(HWND parent, HFONT font, RefusedList& refused);

// Lists the loaded list's refused files again when they have changed.
void UpdateRefusedList(RefusedList& refused);

}  // namespace tavrel
