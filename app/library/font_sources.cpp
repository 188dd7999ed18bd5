#include "font_sources.h"

#include <commdlg.h>
#include <shellapi.h>

#include <memory>
#include <new>
#include <string>

#include "app_state.h"
#include "folder_load.h"
#include "font_folder.h"
#include "font_file_win32.h"
#include "formatting.h"
#include "loaded_font_list.h"

namespace tavrel {

namespace {

// A path that does not fit in memory opens nothing; what opened before it stays.
template <class Open>
void OpenThenShowFirstFace(Open open) {
    const bool wasEmpty = LoadedFonts().fontHandles.empty();
    try {
        open();
    } catch (const std::bad_alloc&) {
    }
    if (wasEmpty && !LoadedFonts().fontHandles.empty()) ApplyFirstFace();
}

void OpenFileOrFolder(const std::wstring& path) {
    if (IsFolder(path)) LoadFolder(path);
    else OpenFontFile(path.c_str());
}

// Asks for the name's length first, so a long path is never cut to a
// shorter one that might name another file.
std::wstring DroppedPath(HDROP drop, UINT index) {
    const UINT length = DragQueryFileW(drop, index, nullptr, 0);
    std::wstring path(length + 1, L'\0');
    path.resize(DragQueryFileW(drop, index, path.data(), length + 1));
    return path;
}

}  // namespace

void OpenCommandLineFont(const wchar_t* commandLine) {
    int count = 0;
    const std::unique_ptr<LPWSTR, LocalFreer> arguments(CommandLineToArgvW(commandLine, &count));
    if (!arguments || count < 2) return;
    const std::wstring path = arguments.get()[1];
    OpenThenShowFirstFace([&] { OpenFileOrFolder(path); });
}

void OpenDroppedFiles(HDROP drop) {
    OpenThenShowFirstFace([&] {
        const UINT count = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
        for (UINT i = 0; i < count; ++i) OpenFileOrFolder(DroppedPath(drop, i));
    });
    DragFinish(drop);
}

// Room for the longest path Windows has, so the dialog never refuses a file
// for its length (it would only say FNERR_BUFFERTOOSMALL and open nothing).
constexpr DWORD kDialogPathUnits = 32768;

void AddFontFileFromDialog(HWND hwnd) {
    OpenThenShowFirstFace([&] {
        std::wstring path(kDialogPathUnits, L'\0');
        OPENFILENAMEW dialog{};
        dialog.lStructSize = sizeof dialog;
        dialog.hwndOwner = hwnd;
        dialog.lpstrFilter = L"フォントファイル\0*.otf;*.ttf;*.ttc;*.woff;*.woff2\0";
        dialog.lpstrFile = path.data();
        dialog.nMaxFile = kDialogPathUnits;
        dialog.lpstrTitle = L"フォントファイルを選択";
        dialog.Flags = OFN_OVERWRITEPROMPT;
        if (GetOpenFileNameW(&dialog) && path[0]) OpenFontFile(path.c_str());
    });
}

}  // namespace tavrel
