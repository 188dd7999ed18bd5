// Libraries in the window under Wine, in one process.
//
//   tavrel-bench-folder-window load PATH SMALL_FONT
//     The window opened with SMALL_FONT, then a second window with PATH (a
//     folder or a font file), loaded until the title reads "tavrel" again.
//     Prints the load's milliseconds, the longest wait for an answer to
//     WM_NULL (sent every 5 ms from another thread while it loads), and
//     "ready small_font" and "ready loaded" when each window has loaded, then
//     holds three seconds for library_bench.sh to read the private memory.
//   tavrel-bench-folder-window library PATH LINE SMALL_FONT
//     PATH loaded as above ("ready loaded"), then the library window opened
//     with only the faces that set LINE shown: the milliseconds until every
//     face's traits are read and its cmap checked, then until a second line
//     (LINE reversed) is checked, each with the longest wait for WM_NULL sent
//     to the library window; then every row scrolled through a page at a time
//     and "ready library" with the drawn lines' bytes, held three seconds.
//   tavrel-bench-folder-window first-use COLLECTION ROUNDS
//     A member of a listed collection used for the first time (read again,
//     checked and registered for every member), beside reading and registering
//     the file alone. Prints the medians and their ratio.

#include <windows.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "application.h"
#include "face_registration_win32.h"
#include "folder_load.h"
#include "font_file_win32.h"
#include "font_sources.h"
#include "library_controls.h"
#include "library_window.h"
#include "loaded_font_list.h"
#include "wall_clock_win32.h"

namespace tavrel {
namespace {

using bench::Median;
using bench::Now;

void Pump(HWND hwnd, bool untilTitle) {
    wchar_t title[64] = L"";
    for (MSG message{}; GetWindowTextW(hwnd, title, 64), untilTitle && std::wstring_view(title) != L"tavrel";) {
        if (!GetMessageW(&message, nullptr, 0, 0)) break;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    for (MSG message; PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE);) DispatchMessageW(&message);
}

void Close(HWND hwnd) {
    SendMessageW(hwnd, WM_CLOSE, 0, 0);
    for (MSG quit; PeekMessageW(&quit, nullptr, 0, 0, PM_REMOVE);) DispatchMessageW(&quit);
}

// The window as tavrel.exe opens with `path` as its argument.
HWND OpenWith(HINSTANCE instance, const std::wstring& path) {
    const std::wstring commandLine = L"tavrel.exe \"" + path + L"\"";
    const HWND hwnd = CreateMainWindow(instance);
    ShowWindow(hwnd, SW_SHOWNORMAL);
    OpenCommandLineFont(commandLine.c_str());
    return hwnd;
}

// Says `what` is loaded and keeps the window answering for three seconds, in
// which the script reads the process's memory from Linux (Wine's own view of
// /proc/self is not this process's).
void Hold(HWND hwnd, const char* what) {
    std::printf("ready %s\n", what);
    std::fflush(stdout);
    for (const double until = Now() + 3000; Now() < until; Sleep(10)) Pump(hwnd, false);
}

// The library's every face read and checked for the line in force.
bool LibraryDone() {
    const LibraryWindow* library = ShownLibrary();
    return library && std::all_of(library->rows.faces.begin(), library->rows.faces.end(), [&](const LibraryFace& face) {
        return face.traitsRead && face.lineChecked == library->filter.line;
    });
}

// Pumps until `done`, WM_NULL sent to `hwnd` every 5 ms meanwhile; the time taken and the longest wait.
template <class Done>
std::pair<double, double> Answering(HWND hwnd, Done done) {
    std::atomic<bool> busy = true, sampled = false;
    double longestWait = 0;
    const double start = Now();
    std::thread sampler([&] {
        for (DWORD_PTR ignored = 0; busy; Sleep(5)) {
            const double sent = Now();
            SendMessageTimeoutW(hwnd, WM_NULL, 0, 0, 0, 10000, &ignored);
            longestWait = std::max(longestWait, Now() - sent);
        }
        sampled = true;
    });
    for (MSG message{}; !done() && GetMessageW(&message, nullptr, 0, 0);) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    const double took = Now() - start;
    busy = false;
    for (; !sampled; Sleep(1)) Pump(hwnd, false);
    sampler.join();
    return {took, longestWait};
}

int Library(HINSTANCE instance, const std::wstring& path, const std::wstring& line, const std::wstring& smallFont) {
    const HWND hwnd = OpenWith(instance, smallFont);
    Pump(hwnd, true);
    LoadFolder(path);
    Pump(hwnd, true);
    Hold(hwnd, "loaded");
    const double opening = Now();
    ShowLibraryWindow(hwnd);
    std::printf("open_ms %.1f\n", Now() - opening);
    const HWND library = LibraryWindowHandle();
    SetDlgItemTextW(library, kLineBox, line.c_str());
    SendDlgItemMessageW(library, kSetsLineBox, BM_CLICK, 0, 0);
    const auto [first, firstWait] = Answering(library, LibraryDone);
    SetDlgItemTextW(library, kLineBox, std::wstring(line.rbegin(), line.rend()).c_str());
    const auto [again, againWait] = Answering(library, LibraryDone);
    std::printf("faces %zu\nfirst_filter_ms %.1f\nfirst_longest_wm_null_wait_ms %.1f\nfilter_ms %.1f\n"
                "longest_wm_null_wait_ms %.1f\nshown %zu\n", LoadedFonts().faceNames.size(), first, firstWait, again,
                againWait, ShownLibrary()->rows.shown.size());
    SendDlgItemMessageW(library, kSetsLineBox, BM_CLICK, 0, 0);
    const HWND list = GetDlgItem(library, kFaceList);
    for (int page = 0; page < 5; ++page) {
        SendMessageW(list, WM_VSCROLL, SB_PAGEDOWN, 0);
        for (const double until = Now() + 200; Now() < until; Sleep(10)) Pump(library, false);
    }
    std::printf("picture_bytes %zu\n", ShownLibrary()->pictures->bytes());
    Hold(library, "library");
    Close(hwnd);
    return 0;
}

int Load(HINSTANCE instance, const std::wstring& path, const std::wstring& smallFont) {
    const HWND small = OpenWith(instance, smallFont);
    Pump(small, true);
    Hold(small, "small_font");
    Close(small);
    std::atomic<bool> loading = true, sampled = false;
    double longestWait = 0;
    const double start = Now();
    const HWND hwnd = OpenWith(instance, path);
    std::thread sampler([&] {
        for (DWORD_PTR ignored = 0; loading; Sleep(5)) {
            const double sent = Now();
            SendMessageTimeoutW(hwnd, WM_NULL, 0, 0, 0, 10000, &ignored);
            if (loading) longestWait = std::max(longestWait, Now() - sent);
        }
        sampled = true;
    });
    Pump(hwnd, true);
    const double took = Now() - start;
    loading = false;
    for (; !sampled; Sleep(1)) Pump(hwnd, false);
    sampler.join();
    std::printf("faces %zu\nload_ms %.1f\nlongest_wm_null_wait_ms %.1f\n", LoadedFonts().faceNames.size(), took,
                longestWait);
    Hold(hwnd, "loaded");
    Close(hwnd);
    return 0;
}

double RegisterAlone(const std::wstring& file) {
    const double start = Now();
    const auto image = ReadFontFile(file.c_str());
    DWORD count = 1;
    const HANDLE handle = AddFontMemResourceEx(image->memory.get(), image->size, nullptr, &count);
    const double took = Now() - start;
    RemoveFontMemResourceEx(handle);
    return took;
}

double FirstUse(const std::wstring& file) {
    AddListedFontFile(ListFontFileAt(file.c_str()).value());
    const double start = Now();
    RegisterListedFace(LoadedFonts().faceNames.size() / 2);
    const double took = Now() - start;
    UnloadAllFonts(false);
    return took;
}

int FirstUses(const std::wstring& file, int rounds) {
    std::vector<double> alone, firstUse;
    for (int i = 0; i < rounds; ++i) {
        alone.push_back(RegisterAlone(file));
        firstUse.push_back(FirstUse(file));
    }
    std::printf("register_alone_ms %.2f\nfirst_use_ms %.2f\nratio %.2f\n", Median(alone), Median(firstUse),
                Median(firstUse) / Median(alone));
    return 0;
}

}  // namespace
}  // namespace tavrel

int wmain(int argc, wchar_t** argv) {
    if (argc < 4) return 2;
    const std::wstring mode = argv[1];
    if (mode == L"first-use") return tavrel::FirstUses(argv[2], std::max(1, _wtoi(argv[3])));
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    if (!tavrel::RegisterMainWindowClass(instance)) return 2;
    if (mode == L"library" && argc >= 5) return tavrel::Library(instance, argv[2], argv[3], argv[4]);
    if (mode != L"load") return 2;
    return tavrel::Load(instance, argv[2], argv[3]);
}
