#pragma once
// The fonts installed on the system as files: those the Fonts registry keys
// name, per machine and per user, listed on a thread of their own from
// read-only mappings. Nothing is registered.

#include <windows.h>

#include <atomic>
#include <thread>
#include <vector>

#include "font_file_win32.h"

namespace tavrel {

// The files the keys name, each once: a bare file name is in the Windows
// fonts folder.
std::vector<std::wstring> InstalledFontPaths();

class InstalledFiles {
public:
    // Posts `message` to `notify` once every file is listed.
    InstalledFiles(HWND notify, UINT message);
    // Waits for the listing, stopping it at the next file.
    ~InstalledFiles();
    InstalledFiles(const InstalledFiles&) = delete;
    InstalledFiles& operator=(const InstalledFiles&) = delete;

    // The files whose faces could be listed, once the message has come.
    std::vector<ListedFontFile> Take();

private:
    std::vector<ListedFontFile> listed_;
    std::atomic<bool> stopping_{false};
    std::thread thread_;
};

}  // namespace tavrel
