#include "folder_load.h"

#include <chrono>
#include <cwchar>
#include <deque>
#include <filesystem>
#include <memory>
#include <new>

#include "app_state.h"
#include "folder_reader.h"
#include "formatting.h"
#include "loaded_font_list.h"

namespace tavrel {

namespace {

constexpr wchar_t kTitle[] = L"tavrel";
constexpr UINT_PTR kGoOnTimer = 1;
// Short enough that a message sent to the window waits for little more than
// listing one file's faces.
constexpr auto kSlice = std::chrono::milliseconds(20);
// Each new title repaints the caption: ten a second are enough to watch.
constexpr auto kTitleEvery = std::chrono::milliseconds(100);

struct FolderLoad {
    std::unique_ptr<FolderReader> reader;
    std::deque<std::wstring> waiting;
    std::size_t taken = 0;  // results taken from the reader
    bool boxSized = false;
    // The face meant for the sample was refused when applied: the next
    // file's first face is applied instead.
    bool firstRefused = false;
    std::chrono::steady_clock::time_point titleShown;
};
FolderLoad load;
std::vector<std::wstring> opened;

// The window the sample control sits in.
HWND MainWindow() { return GetParent(appState.hwndSample); }

// A reader that cannot start (no thread, no memory) reads nothing.
void StartNextFolder() {
    while (!load.reader && !load.waiting.empty()) {
        const std::wstring folder = std::move(load.waiting.front());
        load.waiting.pop_front();
        load.taken = 0;
        load.boxSized = false;
        try {
            load.reader = std::make_unique<FolderReader>(folder, MainWindow(), kFolderReadMessage);
        } catch (const std::exception&) {
            continue;
        }
        SetWindowTextW(MainWindow(), (std::wstring(kTitle) + L" - 読み込み中").c_str());
        load.titleShown = {};
    }
}

// The file's faces listed as if it were opened alone: the first face to reach
// an empty list is set on all text, or the next usable one where its file is
// refused by then. A refused file is kept with its reason.
void ListFile(FolderReader::FileResult result) {
    LoadedFontList& list = LoadedFonts();
    if (!result.listed) {
        // A folder lists each file once: no need to look for it among the refused.
        try {
            list.refusedFiles.push_back(std::move(result.refused));
        } catch (const std::bad_alloc&) {
        }
        return;
    }
    const std::size_t before = list.faceNames.size();
    const bool showFirst = before == 0 || load.firstRefused;
    AddListedFontFile(*result.listed);
    if (showFirst && list.faceNames.size() > before) load.firstRefused = !ApplyListedFace(before);
}

// False when the reader has nothing waiting.
bool TakeNextFile() {
    auto result = load.reader->Take();
    if (!result) return false;
    ++load.taken;
    ListFile(std::move(*result));
    return true;
}

void ShowProgress(HWND hwnd, std::size_t total) {
    const auto now = std::chrono::steady_clock::now();
    if (now - load.titleShown < kTitleEvery) return;
    load.titleShown = now;
    wchar_t title[64];
    swprintf(title, 64, L"%ls - 読み込み中 %zu / %zu", kTitle, load.taken, total);
    SetWindowTextW(hwnd, title);
}

// Room for the folder's faces in the box at once, rather than step by step.
void SizeFaceBox(std::size_t files) {
    if (load.boxSized) return;
    load.boxSized = true;
    SendMessageW(appState.hwndFaceCombo, CB_INITSTORAGE, files, LPARAM(files * 64));
}

void CALLBACK GoOn(HWND hwnd, UINT, UINT_PTR, DWORD) { OnFolderRead(hwnd); }

// Straight on when nothing else waits; after input and painting otherwise,
// since a posted message would be taken before them.
void GoOnLater(HWND hwnd) {
    if (HIWORD(GetQueueStatus(QS_INPUT | QS_PAINT)) == 0) PostMessageW(hwnd, kFolderReadMessage, 0, 0);
    else SetTimer(hwnd, kGoOnTimer, USER_TIMER_MINIMUM, GoOn);
}

}  // namespace

// A folder that does not fit in memory is not read.
void LoadFolder(std::wstring folder) {
    try {
        std::error_code ignored;
        // Absolute now: the file dialog changes the current folder.
        const std::filesystem::path absolute = std::filesystem::absolute(folder, ignored);
        load.waiting.push_back(absolute.empty() ? std::move(folder) : absolute.wstring());
        opened.push_back(load.waiting.back());
    } catch (const std::bad_alloc&) {
        return;
    }
    StartNextFolder();
}

LRESULT OnFolderRead(HWND hwnd) {
    KillTimer(hwnd, kGoOnTimer);
    if (!load.reader) return 0;
    const auto end = std::chrono::steady_clock::now() + kSlice;
    while (std::chrono::steady_clock::now() < end && TakeNextFile()) continue;
    const FolderReader::Progress progress = load.reader->progress();
    if (progress.finished && progress.waiting == 0) {
        load.reader.reset();
        SetWindowTextW(hwnd, kTitle);
        StartNextFolder();
        return 0;
    }
    if (progress.total) {
        SizeFaceBox(*progress.total);
        ShowProgress(hwnd, *progress.total);
    }
    if (progress.waiting > 0) GoOnLater(hwnd);
    else SetTimer(hwnd, kGoOnTimer, UINT(kLookEvery.count()), GoOn);
    return 0;
}

void StopLoadingFolders() {
    load.waiting.clear();
    load.firstRefused = false;
    if (!load.reader) return;
    load.reader.reset();
    KillTimer(MainWindow(), kGoOnTimer);
    SetWindowTextW(MainWindow(), kTitle);
}

const std::vector<std::wstring>& OpenedFolders() { return opened; }

}  // namespace tavrel
