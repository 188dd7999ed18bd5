#include "main_window.h"

#include <commctrl.h>
#include <richedit.h>
#include <shellapi.h>

#include <string>

#include "app_state.h"
#include "commands.h"
#include "controls.h"
#include "details_dialog.h"
#include "folder_load.h"
#include "library_window.h"
#include "font_sources.h"
#include "loaded_font_list.h"
#include "main_window_keys.h"
#include "formatting.h"
#include "point_size.h"
#include "resource_ids.h"
#include "settings_file.h"
#include "window_placement.h"

namespace tavrel {

namespace {

void ReadPlacementSettings(HWND hwnd) {
    LocateSettingsFile();
    ReadSampleText();
    appState.pointSize = ReadPointSize();
    const WindowRect rect = ReadWindowRect();
    const POINT screen = ScreenPositionOf(rect, DesktopMonitors());
    SetWindowPos(hwnd, nullptr, screen.x, screen.y, rect.width, rect.height, SWP_NOZORDER);
}

// The stored text, size and colours on all text; selection changes reported.
void PrepareSample() {
    const HWND sample = appState.hwndSample;
    const LRESULT mask = SendMessageW(sample, EM_GETEVENTMASK, 0, 0);
    SendMessageW(sample, EM_SETEVENTMASK, 0, mask | ENM_SELCHANGE | ENM_MOUSEEVENTS);
    SetWindowTextW(sample, appState.sampleText);
    SendMessageW(sample, EM_SETLANGOPTIONS, 0, IMF_UIFONTS);
    SetWindowTextW(appState.hwndSizeCombo, std::to_wstring(appState.pointSize).c_str());
    // Plain as well: the control's own default is the stock system font's
    // weight, bold under Wine, which no face applied later would take back.
    CHARFORMAT2W size = NewFormat2(CFM_SIZE | CFM_BOLD | CFM_WEIGHT);
    size.yHeight = TwipsOf(appState.pointSize);
    size.wWeight = FW_NORMAL;
    SendMessageW(sample, EM_SETCHARFORMAT, SCF_ALL, reinterpret_cast<LPARAM>(&size));
    appState.fontColor = ReadFontColor();
    const CHARFORMATW color = TextColorFormat(appState.fontColor);
    SendMessageW(sample, EM_SETCHARFORMAT, SCF_ALL, reinterpret_cast<LPARAM>(&color));
    appState.backgroundColor = ReadBackgroundColor();
    ApplyBackgroundColor(appState.backgroundColor);
}

LRESULT OnCreate(HWND hwnd, const CREATESTRUCTW& creation) {
    const auto instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(hwnd, GWLP_HINSTANCE));
    const INITCOMMONCONTROLSEX commonControls{sizeof commonControls, ICC_BAR_CLASSES};
    InitCommonControlsEx(&commonControls);
    DragAcceptFiles(hwnd, TRUE);
    appState.popupMenu = LoadMenuW(instance, MAKEINTRESOURCEW(IDM_POPUP));
    appState.popupSubMenu = GetSubMenu(appState.popupMenu, 0);
    ReadPlacementSettings(hwnd);
    appState.cyMenu = GetSystemMetrics(SM_CYMENU);
    appState.cyEdge = GetSystemMetrics(SM_CYEDGE);
    CreateToolbarStrip(hwnd, instance);
    LoadedFonts().hwndMirror = appState.hwndFaceCombo;
    RECT client{};
    GetClientRect(hwnd, &client);
    appState.richEditModule = LoadLibraryW(L"Riched20.dll");
    CreateSample(hwnd, creation.hInstance, client);
    PrepareSample();
    OpenCommandLineFont(GetCommandLineW());
    return 0;
}

// The toolbar along the top, the sample below it with a gap of cyEdge.
LRESULT OnSize(HWND hwnd) {
    RECT main{}, toolbar{};
    GetClientRect(hwnd, &main);
    GetClientRect(appState.hwndToolbar, &toolbar);
    const int sampleTop = main.top + toolbar.bottom + appState.cyEdge;
    MoveWindow(appState.hwndSample, 0, sampleTop, main.right, main.bottom - toolbar.bottom - appState.cyEdge, TRUE);
    MoveWindow(appState.hwndToolbar, 0, 0, toolbar.right, appState.cyMenu, TRUE);
    RECT text{};
    GetClientRect(appState.hwndSample, &text);
    text.left = text.top = 5;
    SendMessageW(appState.hwndSample, EM_SETRECT, 1, reinterpret_cast<LPARAM>(&text));
    // By now the control has painted itself at its new size with its old
    // formatting rectangle; Wine's RichEdit then repaints only the lines, not
    // the margin the new rectangle opens above them, where the tops of the old
    // glyphs would stay. On Windows it repeats a paint at most.
    InvalidateRect(appState.hwndSample, nullptr, FALSE);
    return 0;
}

LRESULT OnGetMinMaxInfo(MINMAXINFO* limits) {
    if (!limits) return 0;
    limits->ptMinTrackSize = {320, 120};
    limits->ptMaxTrackSize = {2048, 2048};
    return 0;
}

// Bold, italic and the face of the selection shown in the toolbar.
void ShowSelectionFormat() {
    CHARFORMATW format =
        NewFormat(CFM_BOLD | CFM_ITALIC | CFM_UNDERLINE | CFM_STRIKEOUT | CFM_CHARSET | CFM_FACE | CFM_COLOR | CFM_SIZE);
    SendMessageW(appState.hwndSample, EM_GETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&format));
    CheckDlgButton(appState.hwndToolbar, IDC_BOLD, format.dwEffects & CFE_BOLD ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(appState.hwndToolbar, IDC_ITALIC, format.dwEffects & CFE_ITALIC ? BST_CHECKED : BST_UNCHECKED);
    CHARFORMATW face = NewFormat(CFM_FACE);
    SendMessageW(appState.hwndSample, EM_GETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&face));
    const LRESULT item = SendMessageW(appState.hwndFaceCombo, CB_FINDSTRING, static_cast<WPARAM>(-1),
                                      reinterpret_cast<LPARAM>(face.szFaceName));
    SendMessageW(appState.hwndFaceCombo, CB_SETCURSEL, static_cast<WPARAM>(item), 0);
    FollowChosenFace();
}

LRESULT OnNotify(const NMHDR& header) {
    if (header.code == EN_SELCHANGE) ShowSelectionFormat();
    return 0;
}

LRESULT OnClose(HWND hwnd) {
    CloseFaceDetails();  // before the faces it shows are unloaded
    CloseLibraryWindow();
    StopLoadingFolders();
    for (HICON icon : {appState.iconMenu, appState.iconBold, appState.iconItalic, appState.iconFontColor,
                       appState.iconBackgroundColor})
        DestroyIcon(icon);
    UnloadAllFonts(false);
    WriteSettings(hwnd);
    DestroyWindow(hwnd);
    return 0;
}

LRESULT OnDestroy() {
    StopLoadingFolders();
    SendMessageW(appState.hwndSample, WM_NCDESTROY, 0, 0);
    LoadedFonts().hwndMirror = nullptr;
    PostQuitMessage(0);
    return 0;
}

// A right click in the sample, or the keyboard's menu request (-1, -1) from a control that passes it on.
LRESULT OnContextMenu(HWND hwnd, HWND from, LPARAM point) {
    if (from == appState.hwndSample || from == hwnd)
        ShowPopupMenuAt(hwnd, {static_cast<short>(LOWORD(point)), static_cast<short>(HIWORD(point))});
    return 0;
}

LRESULT OnDropFiles(WPARAM drop) {
    OpenDroppedFiles(reinterpret_cast<HDROP>(drop));
    return 0;
}

}  // namespace

LRESULT CALLBACK MainWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CREATE: return OnCreate(hwnd, *reinterpret_cast<CREATESTRUCTW*>(lParam));
        case WM_DESTROY: return OnDestroy();
        case WM_SIZE: return OnSize(hwnd);
        case WM_CLOSE: return OnClose(hwnd);
        case WM_GETMINMAXINFO: return OnGetMinMaxInfo(reinterpret_cast<MINMAXINFO*>(lParam));
        case WM_NOTIFY: return OnNotify(*reinterpret_cast<NMHDR*>(lParam));
        case WM_COMMAND: return OnCommand(hwnd, wParam, lParam);
        case WM_DROPFILES: return OnDropFiles(wParam);
        case WM_CONTEXTMENU: return OnContextMenu(hwnd, reinterpret_cast<HWND>(wParam), lParam);
        case kFolderReadMessage: return OnFolderRead(hwnd);
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

}  // namespace tavrel
