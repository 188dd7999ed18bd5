// Times opening a folder in the window under Wine, in one process, beside the
// floor: listing the folder's font files, then reading and registering each on
// its own in a loop (OpenFontFile, in the same order, no window). While the window loads, a
// second thread sends it WM_NULL with SendMessageTimeout every 5 ms and keeps
// the longest wait for an answer. Prints the medians in milliseconds, the
// ratio, and the longest wait over all rounds.
//
//   tavrel-bench-folder-window ROUNDS FOLDER
// (the folder second: the window opens its first argument, as tavrel.exe does)

#include <windows.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

#include "app_state.h"
#include "application.h"
#include "folder_load.h"
#include "folder_reader.h"
#include "font_file_win32.h"
#include "font_folder.h"
#include "loaded_font_list.h"

namespace tavrel {
namespace {

double Now() {
    LARGE_INTEGER frequency, counter;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&counter);
    return 1000.0 * double(counter.QuadPart) / double(frequency.QuadPart);
}

double Median(std::vector<double> times) {
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

double Floor(const std::wstring& folder) {
    const double start = Now();
    for (const FolderEntry& file : ListFontFolder(folder, ExplorerBefore))
        if (file.refusal.empty()) OpenFontFile(file.path.c_str());
    const double took = Now() - start;
    UnloadAllFonts(false);
    return took;
}

// The window's whole load, from LoadFolder until the title reads "tavrel" again.
double WindowLoad(HINSTANCE instance, const std::wstring& folder, double& longestWait, std::size_t& faces) {
    const HWND hwnd = CreateMainWindow(instance);
    ShowWindow(hwnd, SW_SHOWNORMAL);
    UpdateWindow(hwnd);
    std::atomic<bool> loading = true, sampled = false;
    std::thread sampler([&] {
        while (loading) {
            DWORD_PTR ignored = 0;
            const double sent = Now();
            SendMessageTimeoutW(hwnd, WM_NULL, 0, 0, 0, 10000, &ignored);
            if (loading) longestWait = std::max(longestWait, Now() - sent);
            Sleep(5);
        }
        sampled = true;
    });
    const double start = Now();
    LoadFolder(folder);
    wchar_t title[64] = L"";
    MSG message{};
    do {
        if (!GetMessageW(&message, nullptr, 0, 0)) break;
        TranslateMessage(&message);
        DispatchMessageW(&message);
        GetWindowTextW(hwnd, title, 64);
    } while (std::wstring_view(title) != L"tavrel");
    const double took = Now() - start;
    loading = false;
    for (MSG pending; !sampled; Sleep(1))
        while (PeekMessageW(&pending, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&pending);
    sampler.join();
    faces = LoadedFonts().faceNames.size();
    SendMessageW(hwnd, WM_CLOSE, 0, 0);
    for (MSG quit; PeekMessageW(&quit, nullptr, 0, 0, PM_REMOVE);) DispatchMessageW(&quit);
    return took;
}

}  // namespace
}  // namespace tavrel

int wmain(int argc, wchar_t** argv) {
    if (argc < 3) return 2;
    const int rounds = std::max(1, _wtoi(argv[1]));
    const wchar_t* folder = argv[2];
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    if (!tavrel::RegisterMainWindowClass(instance)) return 1;
    const double listingStart = tavrel::Now();
    const auto files = tavrel::ListFontFolder(folder, tavrel::ExplorerBefore);
    const double listing = tavrel::Now() - listingStart;
    tavrel::Floor(folder);  // the files into the system's cache
    std::vector<double> floors, loads;
    double longestWait = 0;
    std::size_t faces = 0;
    for (int i = 0; i < rounds; ++i) {
        floors.push_back(tavrel::Floor(folder));
        loads.push_back(tavrel::WindowLoad(instance, folder, longestWait, faces));
    }
    std::printf("files %zu, faces %zu, rounds %d, listing them %.1f ms\n", files.size(), faces, rounds, listing);
    std::printf("floor_ms %.1f\nwindow_ms %.1f\nratio %.2f\nlongest_wm_null_wait_ms %.1f\n", tavrel::Median(floors),
                tavrel::Median(loads), tavrel::Median(loads) / tavrel::Median(floors), longestWait);
    return 0;
}
