// The window and its nine controls: classes, styles, IDs, icons, tips, geometry
// and order, the layout on resizing, the size limits and the toolbar following
// the selection.

#include "app_state.h"
#include "application.h"
#include "loaded_font_list.h"
#include "resource_ids.h"
#include "window_harness.h"

#include <commctrl.h>

namespace tavrel::test {
namespace {

RECT RectInParent(HWND hwnd) {
    RECT rect{};
    GetWindowRect(hwnd, &rect);
    MapWindowPoints(nullptr, GetParent(hwnd), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

std::vector<HWND> Children(HWND parent) {
    std::vector<HWND> children;
    for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        children.push_back(child);
    return children;
}

using LayoutTest = MainWindowTest;

TEST_F(LayoutTest, WindowAndControlsHaveTheirClassesStylesIdsIconsAndPlaces) {
    OpenWindow();
    EXPECT_EQ(ClassName(hwnd_), L"tavrel");
    EXPECT_EQ(WindowText(hwnd_), L"tavrel");
    EXPECT_EQ(GetMenu(hwnd_), nullptr);
    EXPECT_EQ(GetWindowLongW(hwnd_, GWL_STYLE) & WS_OVERLAPPEDWINDOW, LONG(WS_OVERLAPPEDWINDOW));
    EXPECT_TRUE(GetWindowLongW(hwnd_, GWL_EXSTYLE) & WS_EX_COMPOSITED);
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    ASSERT_TRUE(GetClassInfoExW(GetModuleHandleW(nullptr), L"tavrel", &windowClass));
    EXPECT_EQ(windowClass.style, UINT(CS_HREDRAW | CS_VREDRAW));
    EXPECT_EQ(windowClass.hbrBackground, GetStockObject(NULL_BRUSH));
    EXPECT_TRUE(windowClass.hIcon && windowClass.hIconSm);

    const AppState& s = appState;
    const int m = s.cyMenu, e = s.cyEdge, b = m + e;
    ASSERT_GT(m, 0);
    EXPECT_EQ(Children(hwnd_), (std::vector<HWND>{s.hwndToolbar, s.hwndSample}));
    EXPECT_EQ(Children(s.hwndToolbar),
              (std::vector<HWND>{s.hwndMenuButton, s.hwndFaceCombo, s.hwndSizeCombo, s.hwndBoldButton,
                                 s.hwndItalicButton, s.hwndFontColorButton, s.hwndBackgroundColorButton}));
    struct Expected {
        HWND hwnd;
        const wchar_t* className;
        int id;
        LONG style;
        int x, y, width;
        HICON icon;
        const wchar_t* tip;
    };
    const Expected controls[] = {
        {s.hwndMenuButton, L"Button", IDC_MENU, 0x50001042, 4, e, b, s.iconMenu, L"メニュー"},
        {s.hwndFaceCombo, L"ComboBox", 0, 0x54200043, m + 8, 0, 256, nullptr, nullptr},
        {s.hwndSizeCombo, L"ComboBox", 0, 0x54200042, m + 264, 0, 64, nullptr, nullptr},
        {s.hwndBoldButton, L"Button", IDC_BOLD, 0x50001042, m + 328, e, b, s.iconBold, L"太字"},
        {s.hwndItalicButton, L"Button", IDC_ITALIC, 0x50001042, m + 328 + b, e, b, s.iconItalic, L"斜体"},
        {s.hwndFontColorButton, L"Button", IDC_FONT_COLOR, 0x50001042, m + 332 + 2 * b, e, b, s.iconFontColor,
         L"文字色"},
        {s.hwndBackgroundColorButton, L"Button", IDC_BACKGROUND_COLOR, 0x50001042, m + 332 + 3 * b, e, b,
         s.iconBackgroundColor, L"背景色"},
    };
    HWND tips = nullptr;  // owned by the main window, not one of its controls
    while ((tips = FindWindowExW(nullptr, tips, TOOLTIPS_CLASSW, nullptr)) && GetWindow(tips, GW_OWNER) != hwnd_) {
    }
    for (const Expected& c : controls) {
        SCOPED_TRACE(c.x);
        EXPECT_EQ(ClassName(c.hwnd), c.className);
        EXPECT_EQ(GetDlgCtrlID(c.hwnd), c.id);
        LONG style = GetWindowLongW(c.hwnd, GWL_STYLE);
        // Wine reports a combo box's style without WS_VSCROLL; Windows keeps it.
        if (c.className == std::wstring(L"ComboBox")) style |= WS_VSCROLL;
        EXPECT_EQ(style, c.style);
        const RECT place = RectInParent(c.hwnd);
        EXPECT_EQ(place.left, c.x);
        EXPECT_EQ(place.top, c.y);
        EXPECT_EQ(place.right - place.left, c.width);
        if (!c.icon) continue;
        EXPECT_EQ(place.bottom - place.top, b);
        EXPECT_EQ(reinterpret_cast<HICON>(SendMessageW(c.hwnd, BM_GETIMAGE, IMAGE_ICON, 0)), c.icon);
        ICONINFO info{};
        ASSERT_TRUE(GetIconInfo(c.icon, &info));
        BITMAP mask{};
        GetObjectW(info.hbmMask, sizeof mask, &mask);
        EXPECT_EQ(mask.bmWidth, 16);
        DeleteObject(info.hbmMask);
        DeleteObject(info.hbmColor);
        wchar_t tip[32] = L"";
        TOOLINFOW tool{TTTOOLINFOW_V2_SIZE, 0, s.hwndToolbar, UINT_PTR(c.hwnd), {}, nullptr, tip, 0, nullptr};
        SendMessageW(tips, TTM_GETTEXTW, 32, reinterpret_cast<LPARAM>(&tool));
        EXPECT_EQ(std::wstring(tip), c.tip);
    }
    EXPECT_EQ(ComboItems(s.hwndSizeCombo),
              (std::vector<std::wstring>{L"8", L"10", L"12", L"16", L"20", L"24", L"32", L"36", L"72"}));
    EXPECT_EQ(ClassName(s.hwndToolbar), L"ToolbarWindow32");
    EXPECT_EQ(ClassName(s.hwndSample), L"RichEdit20W");
    EXPECT_EQ(GetDlgCtrlID(s.hwndSample), IDC_SAMPLE);
    // The sample control drops WS_VSCROLL and WS_HSCROLL while it needs no scroll bar.
    EXPECT_EQ(GetWindowLongW(s.hwndSample, GWL_STYLE) | WS_VSCROLL | WS_HSCROLL, 0x50300184);
    EXPECT_TRUE(GetWindowLongW(s.hwndSample, GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
}

TEST_F(LayoutTest, ResizingKeepsTheSampleFlushBelowTheToolbarWithinTheLimits) {
    OpenWindow();
    for (const SIZE size : {SIZE{500, 300}, SIZE{900, 700}, SIZE{321, 121}}) {
        SetWindowPos(hwnd_, nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER);
        PumpPending();
        RECT client{}, toolbar{};
        GetClientRect(hwnd_, &client);
        GetClientRect(appState.hwndToolbar, &toolbar);
        // The toolbar keeps the height it gives itself (it has no CCS_NORESIZE).
        EXPECT_EQ(toolbar.right, client.right);
        const RECT sample = RectInParent(appState.hwndSample);
        EXPECT_EQ(sample.left, 0);
        EXPECT_EQ(sample.top, toolbar.bottom + appState.cyEdge);
        EXPECT_EQ(sample.right, client.right);
        EXPECT_EQ(sample.bottom, client.bottom);
    }
    MINMAXINFO limits{};
    SendMessageW(hwnd_, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&limits));
    EXPECT_EQ(limits.ptMinTrackSize.x, 320);
    EXPECT_EQ(limits.ptMinTrackSize.y, 120);
    EXPECT_EQ(limits.ptMaxTrackSize.x, 2048);
    EXPECT_EQ(limits.ptMaxTrackSize.y, 2048);
}

TEST_F(LayoutTest, ToolbarFollowsTheFormatOfTheSelection) {
    OpenWindow();
    DropFiles({DejaVu("DejaVuSans.ttf"), DejaVu("DejaVuSansMono.ttf")});
    const struct {
        LONG from, to;
        DWORD effects;
        const wchar_t* face;
    } runs[] = {
        {0, 4, CFE_BOLD | CFE_ITALIC, L"DejaVu Sans Mono"}, {6, 9, 0, L"Not Listed Anywhere"}, {10, 12, 0, L"DejaVu"}};
    for (const auto& run : runs) {
        CHARFORMAT2W format{};
        format.cbSize = sizeof format;
        format.dwMask = CFM_BOLD | CFM_ITALIC | CFM_FACE;
        format.dwEffects = run.effects;
        wcscpy(format.szFaceName, run.face);
        Select(run.from, run.to);
        SendMessageW(appState.hwndSample, EM_SETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&format));
    }
    const struct {
        LONG from, to;
        bool boldAndItalic;
        LRESULT faceItem;
    } shown[] = {
        {1, 3, true, 1},
        {7, 7, false, CB_ERR},  // a face that is not listed leaves the face box empty
        {11, 11, false, 0},     // a face that begins a listed name selects the first such item
    };
    for (const auto& at : shown) {
        SCOPED_TRACE(at.from);
        Select(at.from, at.to);
        EXPECT_EQ(IsDlgButtonChecked(appState.hwndToolbar, IDC_BOLD), UINT(at.boldAndItalic));
        EXPECT_EQ(IsDlgButtonChecked(appState.hwndToolbar, IDC_ITALIC), UINT(at.boldAndItalic));
        EXPECT_EQ(SendMessageW(appState.hwndFaceCombo, CB_GETCURSEL, 0, 0), at.faceItem);
    }
}

// The manifest asks for the invoker's level and nothing else: no version 6
// common controls, no DPI awareness.
TEST(Resources, ManifestAndPopupMenu) {
    const HMODULE module = GetModuleHandleW(nullptr);
    const HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(24));
    ASSERT_TRUE(found);
    const char* bytes = static_cast<const char*>(LockResource(LoadResource(module, found)));
    const std::string manifest(bytes, SizeofResource(module, found));
    EXPECT_NE(manifest.find(R"(level="asInvoker")"), std::string::npos);
    EXPECT_NE(manifest.find(R"(uiAccess="false")"), std::string::npos);
    for (const char* absent : {"dependency", "Common-Controls", "dpiAware", "dpiAwareness"})
        EXPECT_EQ(manifest.find(absent), std::string::npos) << absent;
    const HMENU menu = LoadMenuW(module, MAKEINTRESOURCEW(IDM_POPUP));
    ASSERT_TRUE(menu);
    wchar_t caption[16] = L"";
    GetMenuStringW(menu, 0, caption, 16, MF_BYPOSITION);
    EXPECT_EQ(std::wstring(caption), L"DUMMY");
    DestroyMenu(menu);
}

}  // namespace
}  // namespace tavrel::test
