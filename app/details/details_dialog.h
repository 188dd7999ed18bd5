#pragma once
// The face details dialog ("フォントの詳細"): modeless, resizable, owned by
// the main window and opened beside it, one tab per page. One at a time; it
// follows the face the main window shows.

#include <windows.h>

namespace tavrel {

// Opens the dialog for the face the face box selects (or, with no selection,
// the face at the sample's caret), on the page it was last on during this run,
// and returns at once; with the dialog open, brings it forward.
void ShowFaceDetails(HWND hwndMain);

// The open dialog turns to the face the main window shows now, if another.
void FollowChosenFace();

void CloseFaceDetails();

// The open dialog's keys, before the main window's: Ctrl+C copies the page,
// Ctrl+Tab turns it, Tab goes through it in the order it is seen, and the
// dialog manager's (Esc closes it). True when `message` was taken.
bool TranslateDetailsDialogMessage(MSG& message);

}  // namespace tavrel
