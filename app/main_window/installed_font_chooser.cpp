#include "installed_font_chooser.h"

#include <commdlg.h>
#include <dlgs.h>

#include <cwchar>
#include <string_view>

#include "formatting.h"
#include "loaded_font_list.h"

namespace tavrel {

namespace {

// Strikeout, underline and the style, size, colour and script lists.
constexpr int kDisabledControls[] = {chx1, chx2, cmb2, cmb3, cmb4, cmb5};
// Those, their labels and the sample box.
constexpr int kHiddenControls[] = {chx1, chx2, cmb2, cmb3, cmb4, cmb5, stc2, stc3, stc4, stc7, grp2};
constexpr int kButtonGap = 8;
// The whole dialog, frame included, in pixels at any resolution.
constexpr int kDialogWidth = 294;
constexpr int kDialogHeight = 220;
constexpr POINT kMinTrackSize{10, 10};
constexpr POINT kMaxTrackSize{2048, 2048};

// Moves a button across to x, at its own height on the dialog.
void MoveButtonTo(HWND dialog, int id, int x) {
    const HWND button = GetDlgItem(dialog, id);
    RECT rect{};
    GetWindowRect(button, &rect);
    POINT topLeft{rect.left, rect.top};
    ScreenToClient(dialog, &topLeft);
    SetWindowPos(button, nullptr, x, topLeft.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
}

UINT_PTR TrimDialog(HWND dialog) {
    for (int id : kDisabledControls) EnableWindow(GetDlgItem(dialog, id), FALSE);
    for (int id : kHiddenControls) ShowWindow(GetDlgItem(dialog, id), SW_HIDE);
    RECT faceList{};
    GetClientRect(GetDlgItem(dialog, cmb1), &faceList);
    MoveButtonTo(dialog, IDOK, faceList.right + kButtonGap);
    MoveButtonTo(dialog, IDCANCEL, faceList.right + kButtonGap);
    SetWindowPos(dialog, nullptr, 0, 0, kDialogWidth, kDialogHeight, SWP_NOMOVE | SWP_NOZORDER);
    return TRUE;
}

UINT_PTR LimitTracking(LPARAM lParam) {
    if (auto* limits = reinterpret_cast<MINMAXINFO*>(lParam)) {
        limits->ptMinTrackSize = kMinTrackSize;
        limits->ptMaxTrackSize = kMaxTrackSize;
    }
    return 0;
}

}  // namespace

UINT_PTR CALLBACK ChooseFontHookProc(HWND dialog, UINT message, WPARAM, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG: return TrimDialog(dialog);
        case WM_GETMINMAXINFO: return LimitTracking(lParam);
    }
    return 0;
}

// Only the face name of the choice is used, and only after OK: Wine's dialog
// writes the face shown in its list into the record even when cancelled.
void AddInstalledFont(HWND hwndMain) {
    const bool wasEmpty = LoadedFonts().fontHandles.empty();
    LOGFONTW chosen{};
    CHOOSEFONTW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = hwndMain;
    dialog.lpLogFont = &chosen;
    dialog.Flags = CF_SCREENFONTS | CF_ENABLEHOOK | CF_INITTOLOGFONTSTRUCT | CF_NOSIMULATIONS;
    dialog.lpfnHook = ChooseFontHookProc;
    dialog.nFontType = SCREEN_FONTTYPE;
    if (!ChooseFontW(&dialog)) return;
    const std::wstring_view face(chosen.lfFaceName, wcsnlen(chosen.lfFaceName, LF_FACESIZE));
    if (face.empty()) return;
    AddInstalledFace(face);
    if (wasEmpty) ApplyFirstFace();
}

}  // namespace tavrel
