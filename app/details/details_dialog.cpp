#include "details_dialog.h"

#include <commctrl.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "app_state.h"
#include "char_grid_page.h"
#include "details_face.h"
#include "details_page.h"
#include "dialog_dpi.h"
#include "dialog_placement.h"
#include "face_details.h"
#include "info_page.h"
#include "scoped_handles.h"
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
// Sizes at 96 DPI, scaled by the dialog's.
constexpr SIZE kOpeningSize{640, 540};
constexpr POINT kMinTrackSize{420, 300};
constexpr int kMargin = 8;
constexpr SIZE kButtonSize{96, 26};
constexpr int kFontPoints = 9;
constexpr DWORD kDialogStyle =
    DS_SETFONT | DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_CLIPCHILDREN;

// The page shown when the dialog opens and its size (at 96 DPI): as it was
// last in this run.
std::size_t lastPage = 0;
SIZE lastSize = kOpeningSize;

// Made on WM_INITDIALOG, deleted on WM_NCDESTROY. Pages go before their face.
struct DetailsDialog {
    std::unique_ptr<DetailsFace> face;
    HWND tab = nullptr;
    std::vector<std::unique_ptr<DetailsPage>> pages;  // each made when first shown
    std::size_t current = 0;
    RECT area{};  // the pages', in the dialog's client coordinates
    AutoDeleteFont font;  // the shell's dialog font at the dialog's DPI, what WM_GETFONT answers
};

// The open dialog; only one can be open at a time.
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
    const int margin = Scaled(hwnd, kMargin);
    const int width = Scaled(hwnd, kButtonSize.cx), height = Scaled(hwnd, kButtonSize.cy);
    const int buttonTop = client.bottom - margin - height;
    const int closeLeft = client.right - margin - width;
    MoveWindow(GetDlgItem(hwnd, IDCANCEL), closeLeft, buttonTop, width, height, TRUE);
    MoveWindow(GetDlgItem(hwnd, kCopyButtonId), closeLeft - margin - width, buttonTop, width, height, TRUE);
    RECT area{margin, margin, std::max<LONG>(client.right - margin, margin),
              std::max<LONG>(buttonTop - margin, margin)};
    MoveWindow(dialog.tab, area.left, area.top, area.right - area.left, area.bottom - area.top, TRUE);
    SendMessageW(dialog.tab, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&area));
    DialogOf(hwnd).area = area;
    for (const auto& page : dialog.pages)
        if (page) page->MoveTo(area);
}

// The page at `index`, made when it is first asked for: opening the dialog
// makes only the page it opens on.
DetailsPage& PageAt(HWND hwnd, std::size_t index) {
    DetailsDialog& dialog = DialogOf(hwnd);
    auto& page = dialog.pages[index];
    if (page) return *page;
    const ScopedPerMonitorAwareness awareness;
    page = kPages[index].create(hwnd, *dialog.face, dialog.area);
    SetWindowPos(page->Window(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    page->MoveTo(dialog.area);
    return *page;
}

// The focus stays on the tab strip when it is there, so the arrow keys go on
// from tab to tab; from anywhere else in the dialog it moves into the page. A
// dialog that follows the main window's face leaves the focus there.
void ShowPage(HWND hwnd, std::size_t index) {
    DetailsDialog& dialog = DialogOf(hwnd);
    dialog.current = lastPage = index;
    const HWND shown = PageAt(hwnd, index).Window();
    for (const auto& page : dialog.pages)
        if (page) ShowWindow(page->Window(), page->Window() == shown ? SW_SHOW : SW_HIDE);
    const HWND focus = GetFocus();
    if (focus != dialog.tab && (!focus || focus == hwnd || IsChild(hwnd, focus))) SetFocus(shown);
}

// Ctrl+Tab and Ctrl+Shift+Tab.
void TurnPage(HWND hwnd, bool backward) {
    const DetailsDialog& dialog = DialogOf(hwnd);
    const std::size_t count = dialog.pages.size();
    const std::size_t index = (dialog.current + (backward ? count - 1 : 1)) % count;
    SendMessageW(dialog.tab, TCM_SETCURSEL, index, 0);
    ShowPage(hwnd, index);
}

// `hwnd` when Tab stops at it, else the controls inside it that Tab stops at, in order.
void AddTabStops(HWND hwnd, std::vector<HWND>& stops) {
    const LONG style = GetWindowLongW(hwnd, GWL_STYLE);
    if (!(style & WS_VISIBLE) || (style & WS_DISABLED)) return;
    if (style & WS_TABSTOP) return stops.push_back(hwnd);
    if (!(GetWindowLongW(hwnd, GWL_EXSTYLE) & WS_EX_CONTROLPARENT)) return;
    for (HWND child = GetWindow(hwnd, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        AddTabStops(child, stops);
}

// Tab and Shift+Tab in the order the controls are seen: the tab strip, the
// page's controls, the buttons; the pages lie above the strip, which would
// otherwise put them first.
void MoveFocus(HWND hwnd, bool backward) {
    const DetailsDialog& dialog = DialogOf(hwnd);
    std::vector<HWND> stops{dialog.tab};
    AddTabStops(dialog.pages[dialog.current]->Window(), stops);
    for (int id : {kCopyButtonId, IDCANCEL}) stops.push_back(GetDlgItem(hwnd, id));
    const HWND focus = GetFocus();
    const auto at =
        std::find_if(stops.begin(), stops.end(), [&](HWND stop) { return stop == focus || IsChild(stop, focus); });
    const std::size_t from = at == stops.end() ? 0 : static_cast<std::size_t>(at - stops.begin());
    const std::size_t to = (from + (backward ? stops.size() - 1 : 1)) % stops.size();
    SendMessageW(hwnd, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(stops[to]), TRUE);
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
        dialog.pages.emplace_back();
    }
}

// At its size, beside the main window, inside the work area of the main window's monitor.
void PlaceBesideOwner(HWND hwnd) {
    RECT owner{}, sample{};
    GetWindowRect(GetWindow(hwnd, GW_OWNER), &owner);
    GetWindowRect(appState.hwndSample, &sample);
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    GetMonitorInfoW(MonitorFromRect(&owner, MONITOR_DEFAULTTONEAREST), &monitor);
    const RECT& work = monitor.rcWork;
    const SIZE size{std::min<LONG>(Scaled(hwnd, lastSize.cx), work.right - work.left),
                    std::min<LONG>(Scaled(hwnd, lastSize.cy), work.bottom - work.top)};
    const POINT at = PlaceBeside(owner, sample, size, work);
    SetWindowPos(hwnd, nullptr, at.x, at.y, size.cx, size.cy, SWP_NOZORDER | SWP_NOACTIVATE);
}

void ShowTitle(HWND hwnd) {
    SetWindowTextW(hwnd, (L"フォントの詳細 - " + DialogOf(hwnd).face->Subject().faceName).c_str());
}

HFONT CreateDialogFont(HWND hwnd) {
    LOGFONTW font{};
    GetObjectW(reinterpret_cast<HFONT>(DefDlgProcW(hwnd, WM_GETFONT, 0, 0)), sizeof font, &font);
    font.lfHeight = -MulDiv(kFontPoints, DialogDpi(hwnd), 72);
    font.lfWidth = 0;
    return CreateFontIndirectW(&font);
}

// The face the dialog is about, registered with the system first: a face
// listed from a folder is registered when first used, and GDI must know it
// before the pages ask for it by name.
std::unique_ptr<DetailsFace> FaceOf(DetailsSubject subject, HWND hwnd) {
    RegisterSubjectFace(subject);
    return std::make_unique<DetailsFace>(std::move(subject), hwnd);
}

INT_PTR OnInitDialog(HWND hwnd, DetailsDialog& dialog) {
    SetWindowLongPtrW(hwnd, DWLP_USER, reinterpret_cast<LONG_PTR>(&dialog));
    hwndShown = hwnd;
    TakeOverDpiChanges(hwnd);
    SetDialogDpi(hwnd, DialogDpi(hwnd));
    dialog.font.reset(CreateDialogFont(hwnd));
    dialog.face = FaceOf(CurrentSubject(), hwnd);
    ShowTitle(hwnd);
    CreateButton(hwnd, L"コピー(&C)", kCopyButtonId);
    CreateButton(hwnd, L"閉じる", IDCANCEL);
    CreatePages(hwnd, dialog);
    const std::size_t page = std::min(lastPage, dialog.pages.size() - 1);
    SendMessageW(dialog.tab, TCM_SETCURSEL, page, 0);
    PlaceBesideOwner(hwnd);
    Layout(hwnd);
    ShowPage(hwnd, page);
    return FALSE;  // ShowFaceDetails puts the focus on the page once the dialog shows
}

void CopyPage(HWND hwnd) {
    const DetailsDialog& dialog = DialogOf(hwnd);
    dialog.pages[dialog.current]->Copy(hwnd);
}

// The main window takes the keys back at once, as Windows gives them to the owner of a closed window.
void Close(HWND hwnd) {
    if (GetActiveWindow() == hwnd) SetActiveWindow(GetWindow(hwnd, GW_OWNER));
    DestroyWindow(hwnd);
}

INT_PTR OnCommand(HWND hwnd, WORD id) {
    if (id == IDCANCEL) {
        Close(hwnd);
    } else if (id == kCopyButtonId) {
        CopyPage(hwnd);
        SetFocus(DialogOf(hwnd).pages[DialogOf(hwnd).current]->Window());
    }
    return TRUE;
}

// Every control that shows the dialog's font takes the new one; then the
// dialog takes the size Windows suggests, and the pages rescale what they draw.
INT_PTR OnDpiChanged(HWND hwnd, int dpi, const RECT& suggested) {
    DetailsDialog& dialog = DialogOf(hwnd);
    SetDialogDpi(hwnd, dpi);
    AutoDeleteFont old(dialog.font.release());
    dialog.font.reset(CreateDialogFont(hwnd));
    std::vector<HWND> children;
    EnumChildWindows(hwnd, [](HWND child, LPARAM list) {
        reinterpret_cast<std::vector<HWND>*>(list)->push_back(child);
        return TRUE;
    }, reinterpret_cast<LPARAM>(&children));
    for (HWND child : children)
        if (reinterpret_cast<HFONT>(SendMessageW(child, WM_GETFONT, 0, 0)) == old.get())
            SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(dialog.font.get()), TRUE);
    SetWindowPos(hwnd, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                 suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
    Layout(hwnd);
    for (HWND child : children) SendMessageW(child, WM_DPICHANGED_AFTERPARENT, 0, 0);
    return TRUE;
}

// The size it closes at is the size it opens at next.
void OnDestroy(HWND hwnd) {
    RECT window{};
    GetWindowRect(hwnd, &window);
    const int dpi = DialogDpi(hwnd);
    lastSize = {MulDiv(window.right - window.left, kDefaultDpi, dpi),
                MulDiv(window.bottom - window.top, kDefaultDpi, dpi)};
    ForgetDialogDpi(hwnd);
    hwndShown = nullptr;
}

// The slow parts of the face are ready: the pages made so far show them.
INT_PTR OnFaceFilledIn(HWND hwnd) {
    for (const auto& page : DialogOf(hwnd).pages)
        if (page) page->FaceFilledIn();
    return TRUE;
}

// What a dialog procedure answers itself goes back through DWLP_MSGRESULT.
INT_PTR Answer(HWND hwnd, LONG_PTR result) {
    SetWindowLongPtrW(hwnd, DWLP_MSGRESULT, result);
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

INT_PTR OnGetMinMaxInfo(HWND hwnd, MINMAXINFO* limits) {
    if (limits) limits->ptMinTrackSize = {Scaled(hwnd, kMinTrackSize.x), Scaled(hwnd, kMinTrackSize.y)};
    return TRUE;
}

INT_PTR CALLBACK DetailsDialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG: return OnInitDialog(hwnd, *reinterpret_cast<DetailsDialog*>(lParam));
        case WM_SIZE: Layout(hwnd); return TRUE;
        case WM_GETMINMAXINFO: return OnGetMinMaxInfo(hwnd, reinterpret_cast<MINMAXINFO*>(lParam));
        case WM_GETFONT:
            if (!FindDialog(hwnd) || !DialogOf(hwnd).font) return FALSE;
            return Answer(hwnd, reinterpret_cast<LONG_PTR>(DialogOf(hwnd).font.get()));
        case WM_DPICHANGED: return OnDpiChanged(hwnd, HIWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
        case WM_DESTROY: OnDestroy(hwnd); return FALSE;
        case WM_NCDESTROY:
            delete FindDialog(hwnd);
            SetWindowLongPtrW(hwnd, DWLP_USER, 0);
            return FALSE;
        case kFaceFilledInMessage: return FindDialog(hwnd) ? OnFaceFilledIn(hwnd) : TRUE;
        case WM_NOTIFY: return OnNotify(hwnd, *reinterpret_cast<NMHDR*>(lParam));
        case WM_COMMAND: return OnCommand(hwnd, LOWORD(wParam));
        case WM_CLOSE: Close(hwnd); return TRUE;
    }
    return FALSE;
}

// Keys a control keeps: Tab where it asks for it, Ctrl+C where text is selected in a text box.
bool ControlTakes(const MSG& message) {
    const auto code = SendMessageW(message.hwnd, WM_GETDLGCODE, message.wParam, reinterpret_cast<LPARAM>(&message));
    if (message.wParam == VK_TAB) return code & DLGC_WANTTAB;
    DWORD start = 0, end = 0;
    if (code & DLGC_HASSETSEL)
        SendMessageW(message.hwnd, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    return start != end;
}

// Ctrl+C copies the page (Ctrl+Shift+C its glyph's outline), Ctrl+Tab turns it, Tab moves on, whichever control
// has the focus, unless the control takes the key itself.
bool OnDialogKey(HWND hwnd, const MSG& message) {
    if (message.message != WM_KEYDOWN || GetKeyState(VK_MENU) < 0) return false;
    const bool control = GetKeyState(VK_CONTROL) < 0, shift = GetKeyState(VK_SHIFT) < 0;
    if (message.wParam == VK_TAB && control) {
        TurnPage(hwnd, shift);
    } else if (message.wParam == 'C' && control && shift) {
        PageAt(hwnd, DialogOf(hwnd).current).CopyOutline(hwnd);
    } else if ((message.wParam == 'C' && control && !shift) || message.wParam == VK_TAB) {
        if (ControlTakes(message)) return false;
        message.wParam == VK_TAB ? MoveFocus(hwnd, shift) : CopyPage(hwnd);
    } else {
        return false;
    }
    return true;
}

bool SameFace(const DetailsSubject& a, const DetailsSubject& b) {
    return a.faceName == b.faceName && a.listed == b.listed && a.source.path == b.source.path &&
           a.source.member == b.source.member && a.source.installed == b.source.installed;
}

}  // namespace

void ShowFaceDetails(HWND hwndMain) {
    if (hwndShown) {
        SetActiveWindow(hwndShown);
        return;
    }
    const INITCOMMONCONTROLSEX controls{sizeof controls, ICC_TAB_CLASSES | ICC_LISTVIEW_CLASSES | ICC_BAR_CLASSES};
    InitCommonControlsEx(&controls);
    static const DialogTemplate dialogTemplate;
    const ScopedPerMonitorAwareness awareness;
    const auto instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(hwndMain, GWLP_HINSTANCE));
    auto dialog = std::make_unique<DetailsDialog>();
    const HWND hwnd = CreateDialogIndirectParamW(instance, &dialogTemplate.header, hwndMain, DetailsDialogProc,
                                                 reinterpret_cast<LPARAM>(dialog.get()));
    if (!hwnd) return;
    dialog.release();  // WM_NCDESTROY deletes it
    ShowWindow(hwnd, SW_SHOW);
    SetFocus(PageAt(hwnd, DialogOf(hwnd).current).Window());  // activation gave it to the tab strip
}

void FollowChosenFace() {
    if (!hwndShown) return;
    DetailsSubject subject = CurrentSubject();
    DetailsDialog& dialog = DialogOf(hwndShown);
    if (SameFace(subject, dialog.face->Subject())) return;
    for (auto& page : dialog.pages) {
        if (page) DestroyWindow(page->Window());
        page.reset();
    }
    dialog.face = FaceOf(std::move(subject), hwndShown);
    ShowTitle(hwndShown);
    ShowPage(hwndShown, dialog.current);
}

void CloseFaceDetails() {
    if (hwndShown) DestroyWindow(hwndShown);
}

bool TranslateDetailsDialogMessage(MSG& message) {
    if (!hwndShown || (message.hwnd != hwndShown && !IsChild(hwndShown, message.hwnd))) return false;
    return OnDialogKey(hwndShown, message) || IsDialogMessageW(hwndShown, &message);
}

}  // namespace tavrel
