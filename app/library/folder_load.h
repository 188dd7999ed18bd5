#pragma once
// Folders opened in the window: read on a worker thread one folder at a time,
// each file's faces listed here on the user-interface thread as they arrive
// (registered only when used), while the title shows how far the reading has come.

#include <windows.h>

#include <string>
#include <vector>

namespace tavrel {

// Posted by the reader to the main window when it has something new.
constexpr UINT kFolderReadMessage = WM_APP + 1;

// Starts reading the folder, or keeps it until the folders before it are read.
void LoadFolder(std::wstring folder);

// Lists what the reader has finished, for at most a short slice of time, and
// goes on from a timer while more waits, so input and painting come between.
LRESULT OnFolderRead(HWND hwnd);

// Stops the reading at once and forgets the folders waiting; faces already
// listed stay. The title reads "tavrel" again.
void StopLoadingFolders();

// Every folder given to LoadFolder in this run, made absolute: what the
// library window shows its files' paths relative to.
const std::vector<std::wstring>& OpenedFolders();

}  // namespace tavrel
