#include "folder_load.h"

#include <chrono>
#include <cwchar>
#include <deque>
#include <filesystem>
#include <memory>
#include <optional>

#include "app_state.h"
#include "folder_reader.h"
#include "formatting.h"
#include "loaded_font_list.h"

namespace tavrel {

namespace {

constexpr wchar_t kTitle[] = L"tavrel";
constexpr UINT_PTR kGoOnTimer = 1;
// Short enough that a message sent to the window waits for little more than
// the slowest single registration.
constexpr auto kSlice = std::chrono::milliseconds(20);
// Each new title repaints the caption, which costs about as much as
// registering a small font: ten a second are enough to watch.
constexpr auto kTitleEvery = std::chrono::milliseconds(100);

// A file being listed face by face: a collection registers its whole image
// once per face, which for a large one takes long enough to be felt.
struct FileBeingListed {
    PlannedFontFile file;
    std::size_t nextFace = 0;
    std::size_t listedBefore = 0;  // where its faces start, to take them back
};

struct FolderLoad {
    std::unique_ptr<FolderReader> reader;
    std::deque<std::wstring> waiting;
    std::size_t taken = 0;  // results taken from the reader
    std::optional<FileBeingListed> current;
    std::chrono::steady_clock::time_point titleShown;
};
FolderLoad load;

// The window the sample control sits in.
HWND MainWindow() { return GetParent(appState.hwndSample); }

// A reader that cannot start (no thread, no memory) reads nothing.
void StartNextFolder() {
    while (!load.reader && !load.waiting.empty()) {
        const std::wstring folder = std::move(load.waiting.front());
        load.waiting.pop_front();
        load.taken = 0;
        try {
            load.reader = std::make_unique<FolderReader>(folder, MainWindow(), kFolderReadMessage);
        } catch (const std::exception&) {
            continue;
        }
        SetWindowTextW(MainWindow(), (std::wstring(kTitle) + L" - 読み込み中").c_str());
        load.titleShown = {};
    }
}

// The next face of the file being listed, as if the file were opened alone:
// memory running out takes back the faces it had added, and the first face to
// reach an empty list is set on all text.
void ListNextFace() {
    FileBeingListed& listing = *load.current;
    const bool wasEmpty = LoadedFonts().fontHandles.empty();
    try {
        AddPlannedFace(listing.file, listing.nextFace++);
    } catch (const std::bad_alloc&) {
        UnloadFontsFrom(listing.listedBefore, true);
        load.current.reset();
        return;
    }
    if (wasEmpty && !LoadedFonts().fontHandles.empty()) ApplyFirstFace();
    if (listing.nextFace == listing.file.plan.faceNames.size()) load.current.reset();
}

// False when the reader has nothing waiting.
bool TakeNextFile() {
    auto result = load.reader->Take();
    if (!result) return false;
    ++load.taken;
    if (*result) load.current = FileBeingListed{std::move(**result), 0, LoadedFonts().fontHandles.size()};
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
    } catch (const std::bad_alloc&) {
        return;
    }
    StartNextFolder();
}

LRESULT OnFolderRead(HWND hwnd) {
    KillTimer(hwnd, kGoOnTimer);
    if (!load.reader) return 0;
    const auto end = std::chrono::steady_clock::now() + kSlice;
    while (std::chrono::steady_clock::now() < end && (load.current || TakeNextFile()))
        if (load.current) ListNextFace();
    const FolderReader::Progress progress = load.reader->progress();
    if (progress.finished && progress.waiting == 0 && !load.current) {
        load.reader.reset();
        SetWindowTextW(hwnd, kTitle);
        StartNextFolder();
        return 0;
    }
    if (progress.total) ShowProgress(hwnd, *progress.total);
    if (progress.waiting > 0 || load.current) GoOnLater(hwnd);
    return 0;
}

void StopLoadingFolders() {
    load.waiting.clear();
    if (!load.reader) return;
    load.current.reset();
    load.reader.reset();
    KillTimer(MainWindow(), kGoOnTimer);
    SetWindowTextW(MainWindow(), kTitle);
}

}  // namespace tavrel
