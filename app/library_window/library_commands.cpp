#include "library_commands.h"

#include <commctrl.h>
#include <shlobj.h>

#include <algorithm>

#include "app_state.h"
#include "details_dialog.h"
#include "face_details.h"

namespace tavrel {

namespace {

enum RowCommand { kDetailsCommand = 1, kOpenFolderCommand };

// The face's item in the face box.
std::size_t LoadedIndexOf(LibraryRows& rows, std::size_t face) {
    const LibraryFace& f = rows.faces[face];
    if (!f.installed) return f.listed;
    const InstalledFace& installed = rows.installed[f.listed];
    ListFace(installed.name, installed.source);
    const auto& names = LoadedFonts().faceNames;
    return static_cast<std::size_t>(std::find(names.begin(), names.end(), installed.name) - names.begin());
}

int FocusedRow(HWND list) {
    return static_cast<int>(SendMessageW(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED));
}

POINT UnderFocusedRow(HWND list) {
    RECT row{LVIR_LABEL, 0, 0, 0};
    const int focused = FocusedRow(list);
    if (focused < 0 || !SendMessageW(list, LVM_GETITEMRECT, static_cast<WPARAM>(focused), reinterpret_cast<LPARAM>(&row)))
        row = {};
    POINT at{row.left, row.bottom};
    ClientToScreen(list, &at);
    return at;
}

}  // namespace

void ApplyLibraryFace(HWND hwndMain, LibraryRows& rows, std::size_t face) {
    const std::size_t index = LoadedIndexOf(rows, face);
    if (index >= LoadedFonts().faceNames.size()) return;
    SendMessageW(appState.hwndFaceCombo, CB_SETCURSEL, index, 0);
    SendMessageW(hwndMain, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(appState.hwndFaceCombo), CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(appState.hwndFaceCombo));
}

void ShowLibraryFaceDetails(HWND hwndMain, LibraryRows& rows, std::size_t face) {
    const std::size_t index = LoadedIndexOf(rows, face);
    if (index >= LoadedFonts().faceNames.size()) return;
    SendMessageW(appState.hwndFaceCombo, CB_SETCURSEL, index, 0);
    ShowFaceDetails(hwndMain);
    FollowChosenFace();
}

void OpenFolderOf(const FaceSource& source) {
    if (source.path.empty()) return;
    const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    PIDLIST_ABSOLUTE file = nullptr;
    if (SUCCEEDED(SHParseDisplayName(source.path.c_str(), nullptr, &file, 0, nullptr))) {
        SHOpenFolderAndSelectItems(file, 0, nullptr, 0);
        CoTaskMemFree(file);
    }
    if (SUCCEEDED(com)) CoUninitialize();
}

std::wstring SelectedRowsText(HWND list, const LibraryRows& rows) {
    std::wstring text;
    for (int row = -1; (row = static_cast<int>(SendMessageW(list, LVM_GETNEXTITEM, static_cast<WPARAM>(row),
                                                             LVNI_SELECTED))) >= 0;) {
        if (static_cast<std::size_t>(row) >= rows.shown.size()) break;
        const std::size_t face = rows.shown[static_cast<std::size_t>(row)];
        const FaceSource& source = SourceOf(rows, face);
        text += SpreadsheetField(NameOf(rows, face)) + L'\t' + SpreadsheetField(source.path) + L'\t' +
                (source.member ? std::to_wstring(*source.member) : std::wstring()) + L"\r\n";
    }
    return text;
}

void ShowRowMenu(HWND hwndMain, HWND list, LibraryRows& rows, POINT screen) {
    const int focused = FocusedRow(list);
    if (focused < 0 || static_cast<std::size_t>(focused) >= rows.shown.size()) return;
    if (screen.x == -1 && screen.y == -1) screen = UnderFocusedRow(list);
    const HMENU menu = CreatePopupMenu();
    AppendMenuW(menu, MF_STRING, kDetailsCommand, L"フォントの詳細");
    AppendMenuW(menu, MF_STRING, kOpenFolderCommand, L"フォルダを開く");
    const UINT chosen = TrackPopupMenu(menu, TPM_RETURNCMD | TPM_NONOTIFY, screen.x, screen.y, 0, GetParent(list), nullptr);
    DestroyMenu(menu);
    const std::size_t face = rows.shown[static_cast<std::size_t>(focused)];
    if (chosen == kDetailsCommand) ShowLibraryFaceDetails(hwndMain, rows, face);
    if (chosen == kOpenFolderCommand) OpenFolderOf(SourceOf(rows, face));
}

}  // namespace tavrel
