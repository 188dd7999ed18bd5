#include "commands.h"

#include <commdlg.h>

#include <algorithm>
#include <string>

#include "app_state.h"
#include "capture_sample.h"
#include "details_dialog.h"
#include "face_registration_win32.h"
#include "folder_load.h"
#include "folder_picker.h"
#include "font_sources.h"
#include "installed_font_chooser.h"
#include "library_window.h"
#include "loaded_font_list.h"
#include "point_size.h"
#include "resource_ids.h"
#include "scoped_handles.h"

namespace tavrel {

namespace {

constexpr int kSizeTextUnits = 64;

// The box shows the sample's face again: the one chosen could not be used.
void ShowSampleFaceInBox() {
    CHARFORMAT2W format = NewFormat2(CFM_FACE);
    SendMessageW(appState.hwndSample, EM_GETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&format));
    const auto& names = LoadedFonts().faceNames;
    const auto shown = std::find(names.begin(), names.end(), std::wstring_view(format.szFaceName));
    SendMessageW(appState.hwndFaceCombo, CB_SETCURSEL, shown == names.end() ? WPARAM(-1) : WPARAM(shown - names.begin()), 0);
}

// The face is registered as it is first chosen; a face whose file has gone or
// changed since it was listed leaves the sample as it was.
void OnFaceChange() {
    const LRESULT index = SendMessageW(appState.hwndFaceCombo, CB_GETCURSEL, 0, 0);
    const auto& names = LoadedFonts().faceNames;
    if (index < 0 || static_cast<std::size_t>(index) >= names.size()) return;
    if (!RegisterListedFace(static_cast<std::size_t>(index))) return ShowSampleFaceInBox();
    CHARFORMAT2W format = NewFormat2(CFM_FACE);
    ApplyFaceName(format, names[static_cast<std::size_t>(index)]);
    ApplyFormat(format);
    FollowChosenFace();
}

// After a clamp the box shows the size that applies, the caret at its end.
void ShowAppliedSize(std::wstring_view typed, std::uint32_t points) {
    const std::wstring applied = std::to_wstring(points);
    if (typed == applied) return;
    SetWindowTextW(appState.hwndSizeCombo, applied.c_str());
    SendMessageW(appState.hwndSizeCombo, CB_SETEDITSEL, 0, MAKELPARAM(applied.size(), applied.size()));
}

// The size box's text applied: a beep for anything but digits. A size the
// sample control would cap is clamped, and the box shows what applies.
void ApplyPointSizeText(const wchar_t* text) {
    const std::wstring_view typed(text);
    const auto points = ParsePointSize(typed);
    if (!points) {
        MessageBeep(MB_OK);
        return;
    }
    appState.pointSize = *points;
    if (*points == kMaxPointSize) ShowAppliedSize(typed, *points);
    CHARFORMAT2W format = NewFormat2(CFM_SIZE);
    format.yHeight = TwipsOf(*points);
    ApplyFormat(format);
}

void OnSizePicked() {
    const LRESULT index = SendMessageW(appState.hwndSizeCombo, CB_GETCURSEL, 0, 0);
    if (index < 0 || SendMessageW(appState.hwndSizeCombo, CB_GETLBTEXTLEN, index, 0) >= kSizeTextUnits) return;
    wchar_t text[kSizeTextUnits] = L"";
    SendMessageW(appState.hwndSizeCombo, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(text));
    ApplyPointSizeText(text);
}

void OnSizeTyped() {
    wchar_t text[kSizeTextUnits] = L"";
    GetWindowTextW(appState.hwndSizeCombo, text, kSizeTextUnits);
    ApplyPointSizeText(text);
}

// The button's checked state is the toggle's memory.
void ToggleEffect(int buttonId, DWORD effect) {
    CHARFORMATW format = NewFormat(effect);
    const bool wasChecked = IsDlgButtonChecked(appState.hwndToolbar, buttonId) == BST_CHECKED;
    CheckDlgButton(appState.hwndToolbar, buttonId, wasChecked ? BST_UNCHECKED : BST_CHECKED);
    format.dwEffects = wasChecked ? 0 : effect;
    ApplyFormat(format);
}

void ShowPopupMenu(HWND hwnd) {
    RECT button{};
    GetWindowRect(appState.hwndMenuButton, &button);
    TrackPopupMenu(appState.popupSubMenu, 0, button.left, button.bottom, 0, hwnd, nullptr);
}

// The dialog leaves `color` as it was when cancelled.
COLORREF ChooseColorFrom(HWND hwnd, COLORREF color) {
    CHOOSECOLORW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = hwnd;
    dialog.rgbResult = color;
    dialog.lpCustColors = appState.customColors;
    dialog.Flags = CC_RGBINIT | CC_FULLOPEN;
    ChooseColorW(&dialog);
    return dialog.rgbResult;
}

void ChooseTextColor(HWND hwnd) {
    appState.fontColor = ChooseColorFrom(hwnd, appState.fontColor);
    ApplyFormat(TextColorFormat(appState.fontColor));
}

void ChooseBackgroundColor(HWND hwnd) {
    appState.backgroundColor = ChooseColorFrom(hwnd, appState.backgroundColor);
    ApplyBackgroundColor(appState.backgroundColor);
}

// Every loaded face goes, and so does any folder being read; the sample takes
// the window's default face at the current size, keeping its colours.
void Reset(HWND hwnd) {
    StopLoadingFolders();
    UnloadAllFonts(true);
    SendMessageW(appState.hwndFaceCombo, CB_SETCURSEL, 0, 0);
    wchar_t face[kTextUnits] = L"";
    GetTextFaceW(ScopedGetDC(hwnd).get(), kTextUnits, face);
    CHARFORMAT2W format = NewFormat2(CFM_SIZE | CFM_FACE);
    format.yHeight = TwipsOf(appState.pointSize);
    ApplyFaceName(format, face);
    SendMessageW(appState.hwndSample, EM_SETCHARFORMAT, SCF_ALL, reinterpret_cast<LPARAM>(&format));
    FollowChosenFace();
}

void AddFolder(HWND hwnd) {
    if (auto folder = PickFolder(hwnd)) LoadFolder(std::move(*folder));
}

void RunMenuCommand(HWND hwnd, WORD id) {
    switch (id) {
        case IDC_BOLD: return ToggleEffect(IDC_BOLD, CFE_BOLD);
        case IDC_ITALIC: return ToggleEffect(IDC_ITALIC, CFE_ITALIC);
        case IDC_MENU: return ShowPopupMenu(hwnd);
        case IDC_FONT_COLOR: return ChooseTextColor(hwnd);
        case IDC_BACKGROUND_COLOR: return ChooseBackgroundColor(hwnd);
        case IDM_ADD_INSTALLED_FONT: return AddInstalledFont(hwnd);
        case IDM_RESET: return Reset(hwnd);
        case IDM_ADD_FONT_FILE: return AddFontFileFromDialog(hwnd);
        case IDM_ADD_FOLDER: return AddFolder(hwnd);
        case IDM_CAPTURE: return CaptureSampleToClipboard(hwnd, appState.hwndSample);
        case IDM_FACE_DETAILS: return ShowFaceDetails(hwnd);
        case IDM_LIBRARY: return ShowLibraryWindow(hwnd);
        case IDM_EXIT: SendMessageW(hwnd, WM_CLOSE, 0, 0); return;
    }
}

}  // namespace

LRESULT OnCommand(HWND hwnd, WPARAM wParam, LPARAM lParam) {
    const HWND from = reinterpret_cast<HWND>(lParam);
    const WORD code = HIWORD(wParam);
    if (from && code == CBN_SELCHANGE && from == appState.hwndFaceCombo) {
        OnFaceChange();
    } else if (from && code == CBN_SELCHANGE && from == appState.hwndSizeCombo) {
        OnSizePicked();
    } else if (from && code == CBN_EDITCHANGE && from == appState.hwndSizeCombo) {
        OnSizeTyped();
    } else {
        RunMenuCommand(hwnd, LOWORD(wParam));
    }
    return 0;
}

}  // namespace tavrel
