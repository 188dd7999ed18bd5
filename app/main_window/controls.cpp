#include "controls.h"

#include <commctrl.h>
#include <richedit.h>

#include <utility>

#include "app_state.h"
#include "point_size.h"
#include "resource_ids.h"

namespace tavrel {

namespace {

constexpr DWORD kIconButtonStyle = WS_CHILD | WS_VISIBLE | BS_PUSHLIKE | BS_ICON | BS_CHECKBOX;
constexpr DWORD kFaceComboStyle = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_VSCROLL | CBS_AUTOHSCROLL | CBS_DROPDOWNLIST;
constexpr DWORD kSizeComboStyle = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_VSCROLL | CBS_AUTOHSCROLL | CBS_DROPDOWN;
constexpr DWORD kSampleStyle =
    WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_HSCROLL | ES_NOHIDESEL | ES_AUTOHSCROLL | ES_MULTILINE;

struct ChildPlace {
    HWND parent;
    int id;
    int x, y, width, height;
};

HWND CreateChild(const wchar_t* className, const wchar_t* text, DWORD style, const ChildPlace& place,
                 HINSTANCE instance, DWORD exStyle = 0) {
    return CreateWindowExW(exStyle, className, text, style, place.x, place.y, place.width, place.height, place.parent,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(place.id)), instance, nullptr);
}

// A push-like check box showing a 16 x 16 icon.
void CreateIconButton(int id, int x, int iconId, HINSTANCE instance, HWND& hwnd, HICON& icon) {
    const int side = appState.cyMenu + appState.cyEdge;
    hwnd = CreateChild(L"Button", L"", kIconButtonStyle, {appState.hwndToolbar, id, x, appState.cyEdge, side, side},
                       instance);
    icon = static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(iconId), IMAGE_ICON, 16, 16, LR_LOADTRANSPARENT));
    SendMessageW(hwnd, BM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(icon));
}

HWND CreateCombo(DWORD style, int x, int width, HINSTANCE instance) {
    return CreateChild(L"ComboBox", L"", style, {appState.hwndToolbar, 0, x, 0, width, 5 * appState.cyMenu}, instance);
}

// Says what each icon-only button does. The tips are a window of their own,
// owned by the main window, so its controls stay as they are.
void AddButtonTips(HWND hwndMain, HINSTANCE instance) {
    const HWND tips = CreateWindowExW(0, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP, CW_USEDEFAULT,
                                      CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, hwndMain, nullptr, instance, nullptr);
    const AppState& s = appState;
    const std::pair<HWND, const wchar_t*> buttons[] = {{s.hwndMenuButton, L"メニュー"},
                                                       {s.hwndBoldButton, L"太字"},
                                                       {s.hwndItalicButton, L"斜体"},
                                                       {s.hwndFontColorButton, L"文字色"},
                                                       {s.hwndBackgroundColorButton, L"背景色"}};
    for (const auto& [button, text] : buttons) {
        TOOLINFOW tool{};
        tool.cbSize = TTTOOLINFOW_V2_SIZE;  // the common controls of version 5 refuse the later size
        tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
        tool.hwnd = s.hwndToolbar;
        tool.uId = reinterpret_cast<UINT_PTR>(button);
        tool.lpszText = const_cast<wchar_t*>(text);
        SendMessageW(tips, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    }
}

}  // namespace

void CreateToolbarStrip(HWND hwndMain, HINSTANCE instance) {
    AppState& s = appState;
    const int m = s.cyMenu, b = s.cyMenu + s.cyEdge;
    s.hwndToolbar = CreateChild(TOOLBARCLASSNAMEW, nullptr, WS_CHILD | WS_VISIBLE, {hwndMain, 0, m, 0, 0, 0}, instance);
    CreateIconButton(IDC_MENU, 4, IDI_MENU, instance, s.hwndMenuButton, s.iconMenu);
    s.hwndFaceCombo = CreateCombo(kFaceComboStyle, m + 8, 256, instance);
    s.hwndSizeCombo = CreateCombo(kSizeComboStyle, m + 264, 64, instance);
    for (const wchar_t* size : kPointSizes)
        SendMessageW(s.hwndSizeCombo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(size));
    CreateIconButton(IDC_BOLD, m + 328, IDI_BOLD, instance, s.hwndBoldButton, s.iconBold);
    CreateIconButton(IDC_ITALIC, m + 328 + b, IDI_ITALIC, instance, s.hwndItalicButton, s.iconItalic);
    CreateIconButton(IDC_FONT_COLOR, m + 332 + 2 * b, IDI_FONT_COLOR, instance, s.hwndFontColorButton, s.iconFontColor);
    CreateIconButton(IDC_BACKGROUND_COLOR, m + 332 + 3 * b, IDI_BACKGROUND_COLOR, instance, s.hwndBackgroundColorButton,
                     s.iconBackgroundColor);
    AddButtonTips(hwndMain, instance);
}

void CreateSample(HWND hwndMain, HINSTANCE instance, const RECT& client) {
    appState.hwndSample = CreateChild(L"RichEdit20W", nullptr, kSampleStyle,
                                      {hwndMain, IDC_SAMPLE, 0, 0, client.right, client.bottom}, instance,
                                      WS_EX_CLIENTEDGE);
}

}  // namespace tavrel
