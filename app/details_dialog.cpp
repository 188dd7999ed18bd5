#include "details_dialog.h"

#include <commctrl.h>

#include <algorithm>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "char_grid_page.h"
#include "details_page.h"
#include "face_details.h"
#include "info_page.h"
#include "typeset_page.h"
#include "waterfall_page.h"

namespace tavrel {

namespace {

constexpr DetailsPageKind kPages[] = {
    {L"情報", CreateInfoPage},
    {L"文字", CreateCharGridPage},
    {L"ウォーターフォール", CreateWaterfallPage},
    {L"組版", CreateTypesetPage},
};

constexpr int kCopyButtonId = 1001;  // the close button is IDCANCEL, so Esc presses it
constexpr SIZE kOpeningSize{640, 540};
constexpr POINT kMinTrackSize{420, 300};
constexpr int kMargin = 8;
constexpr SIZE kButtonSize{96, 26};
constexpr DWORD kDialogStyle =
    DS_SETFONT | DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_CLIPCHILDREN;

// The page shown when the dialog opens: the one it was last on in this run.
std::size_t lastPage = 0;

struct DetailsDialog {
    DetailsSubject subject;
    HWND tab = nullptr;
    std::vector<std::unique_ptr<DetailsPage>> pages;
    std::size_t current = 0;
};

// The open dialog, for the keyboard filter; only one can be open at a time.
HWND hwndShown = nullptr;

// A dialog without controls (they are made on WM_INITDIALOG) in the shell's dialog font.
struct alignas(DWORD) DialogTemplate {
    DLGTEMPLATE header{kDialogStyle, 0, 0, 0, 0, 320, 260};
    WORD menu = 0;
    WORD windowClass = 0;
    WORD title = 0;
    WORD pointSize = 9;
    wchar_t font[13] = L"MS Shell Dlg";
};

// Null until WM_INITDIALOG: the window can be sized before it.
DetailsDialog* FindDialog(HWND hwnd) { return reinterpret_cast<DetailsDialog*>(GetWindowLongPtrW(hwnd, DWLP_USER)); }
DetailsDialog& DialogOf(HWND hwnd) { return *FindDialog(hwnd); }

HWND CreateButton(HWND hwnd, const wchar_t* caption, int id) {
    const auto instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(hwnd, GWLP_HINSTANCE));
    const HWND button = CreateWindowExW(0, L"Button", caption, WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, 0,
                                        0, 0, 0, hwnd, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance,
                                        nullptr);
    SendMessageW(button, WM_SETFONT, SendMessageW(hwnd, WM_GETFONT, 0, 0), FALSE);
    return button;
}

// The tab control over the client area, the buttons in its bottom right corner.
void Layout(HWND hwnd) {
    if (!FindDialog(hwnd)) return;
    const DetailsDialog& dialog = DialogOf(hwnd);
    RECT client{};
    GetClientRect(hwnd, &client);
    const int buttonTop = client.bottom - kMargin - kButtonSize.cy;
    const int closeLeft = client.right - kMargin - kButtonSize.cx;
    MoveWindow(GetDlgItem(hwnd, IDCANCEL), closeLeft, buttonTop, kButtonSize.cx, kButtonSize.cy, TRUE);
    MoveWindow(GetDlgItem(hwnd, kCopyButtonId), closeLeft - kMargin - kButtonSize.cx, buttonTop, kButtonSize.cx,
               kButtonSize.cy, TRUE);
    RECT area{kMargin, kMargin, std::max<LONG>(client.right - kMargin, kMargin),
              std::max<LONG>(buttonTop - kMargin, kMargin)};
    MoveWindow(dialog.tab, area.left, area.top, area.right - area.left, area.bottom - area.top, TRUE);
    SendMessageW(dialog.tab, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&area));
    for (const auto& page : dialog.pages) page->MoveTo(area);
}

void ShowPage(HWND hwnd, std::size_t index) {
    DetailsDialog& dialog = DialogOf(hwnd);
    dialog.current = lastPage = index;
    for (std::size_t i = 0; i < dialog.pages.size(); ++i)
        ShowWindow(dialog.pages[i]->Window(), i == index ? SW_SHOW : SW_HIDE);
    SetFocus(dialog.pages[index]->Window());
}

void CreatePages(HWND hwnd, DetailsDialog& dialog) {
    const auto instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(hwnd, GWLP_HINSTANCE));
    dialog.tab = CreateWindowExW(0, WC_TABCONTROLW, L"", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_TABSTOP, 0, 0,
                                 0, 0, hwnd, nullptr, instance, nullptr);
    SendMessageW(dialog.tab, WM_SETFONT, SendMessageW(hwnd, WM_GETFONT, 0, 0), FALSE);
    for (const DetailsPageKind& kind : kPages) {
        TCITEMW item{};
        item.mask = TCIF_TEXT;
        item.pszText = const_cast<wchar_t*>(kind.title);
        SendMessageW(dialog.tab, TCM_INSERTITEMW, dialog.pages.size(), reinterpret_cast<LPARAM>(&item));
        dialog.pages.push_back(kind.create(hwnd, dialog.subject));
        SetWindowPos(dialog.pages.back()->Window(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    }
}

// At its opening size, centred over the main window.
void PlaceOverOwner(HWND hwnd) {
    RECT owner{};
    GetWindowRect(GetWindow(hwnd, GW_OWNER), &owner);
    const int x = std::max<LONG>((owner.left + owner.right - kOpeningSize.cx) / 2, 0);
    const int y = std::max<LONG>((owner.top + owner.bottom - kOpeningSize.cy) / 2, 0);
    SetWindowPos(hwnd, nullptr, x, y, kOpeningSize.cx, kOpeningSize.cy, SWP_NOZORDER);
}

INT_PTR OnInitDialog(HWND hwnd, DetailsDialog& dialog) {
    SetWindowLongPtrW(hwnd, DWLP_USER, reinterpret_cast<LONG_PTR>(&dialog));
    hwndShown = hwnd;
    SetWindowTextW(hwnd, (L"フォントの詳細 - " + dialog.subject.faceName).c_str());
    CreateButton(hwnd, L"コピー", kCopyButtonId);
    CreateButton(hwnd, L"閉じる", IDCANCEL);
    CreatePages(hwnd, dialog);
    const std::size_t page = std::min(lastPage, dialog.pages.size() - 1);
    SendMessageW(dialog.tab, TCM_SETCURSEL, page, 0);
    PlaceOverOwner(hwnd);
    Layout(hwnd);
    ShowPage(hwnd, page);
    return FALSE;  // the focus is on the page
}

void CopyPage(HWND hwnd) {
    const DetailsDialog& dialog = DialogOf(hwnd);
    dialog.pages[dialog.current]->Copy(hwnd);
}

INT_PTR OnCommand(HWND hwnd, WORD id) {
    if (id == IDCANCEL) {
        EndDialog(hwnd, 0);
    } else if (id == kCopyButtonId) {
        CopyPage(hwnd);
        SetFocus(DialogOf(hwnd).pages[DialogOf(hwnd).current]->Window());
    }
    return TRUE;
}

INT_PTR OnNotify(HWND hwnd, const NMHDR& header) {
    const DetailsDialog& dialog = DialogOf(hwnd);
    if (header.hwndFrom != dialog.tab || header.code != TCN_SELCHANGE) return FALSE;
    const LRESULT index = SendMessageW(dialog.tab, TCM_GETCURSEL, 0, 0);
    if (index >= 0 && static_cast<std::size_t>(index) < dialog.pages.size())
        ShowPage(hwnd, static_cast<std::size_t>(index));
    return TRUE;
}

INT_PTR OnGetMinMaxInfo(MINMAXINFO* limits) {
    if (limits) limits->ptMinTrackSize = kMinTrackSize;
    return TRUE;
}

INT_PTR CALLBACK DetailsDialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG: return OnInitDialog(hwnd, *reinterpret_cast<DetailsDialog*>(lParam));
        case WM_SIZE: Layout(hwnd); return TRUE;
        case WM_GETMINMAXINFO: return OnGetMinMaxInfo(reinterpret_cast<MINMAXINFO*>(lParam));
        case WM_NOTIFY: return OnNotify(hwnd, *reinterpret_cast<NMHDR*>(lParam));
        case WM_COMMAND: return OnCommand(hwnd, LOWORD(wParam));
        case WM_CLOSE: EndDialog(hwnd, 0); return TRUE;
    }
    return FALSE;
}

bool IsCopyKey(const MSG& message) {
    return message.message == WM_KEYDOWN && message.wParam == 'C' && GetKeyState(VK_CONTROL) < 0 &&
           GetKeyState(VK_MENU) >= 0 && GetKeyState(VK_SHIFT) >= 0;
}

// Ctrl+C copies the page, whichever of the dialog's controls has the focus:
// the dialog's modal loop offers each message to this filter first.
LRESULT CALLBACK FilterDialogKeys(int code, WPARAM wParam, LPARAM lParam) {
    const auto* message = reinterpret_cast<const MSG*>(lParam);
    if (code == MSGF_DIALOGBOX && hwndShown && message && IsCopyKey(*message) &&
        (message->hwnd == hwndShown || IsChild(hwndShown, message->hwnd))) {
        CopyPage(hwndShown);
        return TRUE;
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

class ScopedMessageFilter {
public:
    ScopedMessageFilter() : hook_(SetWindowsHookExW(WH_MSGFILTER, FilterDialogKeys, nullptr, GetCurrentThreadId())) {}
    ~ScopedMessageFilter() {
        if (hook_) UnhookWindowsHookEx(hook_);
    }
    ScopedMessageFilter(const ScopedMessageFilter&) = delete;
    ScopedMessageFilter& operator=(const ScopedMessageFilter&) = delete;

private:
    HHOOK hook_;
};

}  // namespace

void ShowFaceDetails(HWND hwndMain) {
    if (hwndShown) return;  // a command posted to the main window while the dialog is open
    const INITCOMMONCONTROLSEX controls{sizeof controls, ICC_TAB_CLASSES | ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&controls);
    DetailsDialog dialog;
    dialog.subject = CurrentSubject();
    static const DialogTemplate dialogTemplate;
    const ScopedMessageFilter filter;
    const auto instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(hwndMain, GWLP_HINSTANCE));
    DialogBoxIndirectParamW(instance, &dialogTemplate.header, hwndMain, DetailsDialogProc,
                            reinterpret_cast<LPARAM>(&dialog));
    hwndShown = nullptr;
}

}  // namespace tavrel
