#include "library_window.h"

#include <algorithm>
#include <memory>
#include <optional>

#include "app_state.h"
#include "dialog_placement.h"
#include "library_commands.h"
#include "library_controls.h"
#include "library_feed.h"
#include "library_list.h"
#include "point_size.h"
#include "wide_text_win32.h"

namespace tavrel {

namespace {

constexpr wchar_t kClassName[] = L"TavrelLibraryWindow";
constexpr wchar_t kTitle[] = L"書体一覧";
// The drawn lines kept, whatever the library's size.
constexpr std::size_t kPictureBudget = 16u << 20;
constexpr SIZE kOpeningSize{960, 640};

HWND hwndShown = nullptr;
// Where the window was when last closed in this run.
std::optional<RECT> lastPlace;

LibraryWindow& WindowOf(HWND hwnd) { return *reinterpret_cast<LibraryWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA)); }

std::wstring FirstLineOfSample() {
    const std::wstring text = TextOf(appState.hwndSample);
    return text.substr(0, text.find_first_of(L"\r\n"));
}

LRESULT OnCreate(HWND hwnd, HWND hwndMain) {
    auto window = std::make_unique<LibraryWindow>();
    window->hwnd = hwnd;
    window->hwndMain = hwndMain;
    CreateLibraryControls(*window);
    CreateLibraryList(*window);
    CreateRefusedList(hwnd, window->font.get(), window->refused);
    window->reader = std::make_unique<LibraryReader>(hwnd, kFacesReadMessage);
    window->pictures = std::make_unique<RowPictures>(hwnd, kPictureDrawnMessage, kPictureBudget);
    SetWindowTextW(window->line, FirstLineOfSample().c_str());
    SetWindowTextW(window->sizeBox, std::to_wstring(appState.pointSize).c_str());
    SetRowSize(*window, appState.pointSize);
    window->filter = FilterOfBoxes(*window);
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(window.get()));
    FollowLoadedList(*window.release());
    SetTimer(hwnd, kFollowTimer, kFollowEvery, nullptr);
    return 0;
}

void OnDestroy(HWND hwnd) {
    RECT place{};
    if (GetWindowRect(hwnd, &place)) lastPlace = place;
    LibraryWindow* window = &WindowOf(hwnd);
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
    if (window->rowHeight) ImageList_Destroy(window->rowHeight);
    delete window;
    hwndShown = nullptr;
}

void Refilter(LibraryWindow& window) {
    window.filter = FilterOfBoxes(window);
    ShowRows(window);
}

void OnBoxClicked(LibraryWindow& window, int id) {
    if (id == kInstalledBox) ListInstalledFiles(window);
    Refilter(window);
    if (id == kSetsLineBox) CheckLine(window);
}

void OnLineChanged(LibraryWindow& window) {
    window.pictures->SetLine(ToU16(TextOf(window.line)), window.pixelsPerEm);
    InvalidateRect(window.list, nullptr, FALSE);
    CheckLine(window);
    ShowRows(window);
}

void OnSizeBox(LibraryWindow& window, WORD code) {
    std::wstring text = TextOf(window.sizeBox);
    if (code == CBN_SELCHANGE) {
        const LRESULT index = SendMessageW(window.sizeBox, CB_GETCURSEL, 0, 0);
        if (index >= 0 && static_cast<std::size_t>(index) < std::size(kPointSizes)) text = kPointSizes[index];
    }
    const auto points = ParsePointSize(text);
    if (points && *points) SetRowSize(window, *points);
}

LRESULT OnCommand(HWND hwnd, WPARAM wParam) {
    LibraryWindow& window = WindowOf(hwnd);
    const int id = LOWORD(wParam);
    const WORD code = HIWORD(wParam);
    if (id == IDCANCEL) {
        DestroyWindow(hwnd);
    } else if (id == kLineBox && code == EN_CHANGE) {
        OnLineChanged(window);
    } else if (id == kNameFilterBox && code == EN_CHANGE) {
        Refilter(window);
    } else if (id == kSizeBox && (code == CBN_SELCHANGE || code == CBN_EDITCHANGE)) {
        OnSizeBox(window, code);
    } else if (code == BN_CLICKED && (id == kSetsLineBox || id == kInstalledBox || id >= kFirstTraitBox)) {
        OnBoxClicked(window, id);
    }
    return 0;
}

LRESULT OnNotify(LibraryWindow& window, const NMHDR& header) {
    if (header.hwndFrom != window.list) return 0;
    if (header.code == NM_DBLCLK) {
        const int row = reinterpret_cast<const NMITEMACTIVATE&>(header).iItem;
        if (row >= 0 && static_cast<std::size_t>(row) < window.rows.shown.size())
            ApplyLibraryFace(window.hwndMain, window.rows, window.rows.shown[static_cast<std::size_t>(row)]);
        return 0;
    }
    return OnListNotify(window, header);
}

void OnTimer(LibraryWindow& window, UINT_PTR timer) {
    if (timer == kRefilterTimer) {
        KillTimer(window.hwnd, kRefilterTimer);
        window.refilterDue = false;
        if (window.rows.sortColumn >= kColumnWeight) SortRows(window.rows);
        ShowRows(window, window.rows.sortColumn >= kColumnWeight);
        return;
    }
    FollowLoadedList(window);
    if (UpdateRefusedList(window.refused)) LayOutLibrary(window);
}

LRESULT CALLBACK LibraryWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_CREATE)
        return OnCreate(hwnd, reinterpret_cast<HWND>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams));
    if (!GetWindowLongPtrW(hwnd, GWLP_USERDATA)) return DefWindowProcW(hwnd, message, wParam, lParam);
    LibraryWindow& window = WindowOf(hwnd);
    switch (message) {
        case WM_SIZE: LayOutLibrary(window); return 0;
        case WM_COMMAND: return OnCommand(hwnd, wParam);
        case WM_NOTIFY: return OnNotify(window, *reinterpret_cast<NMHDR*>(lParam));
        case WM_CONTEXTMENU:
            if (reinterpret_cast<HWND>(wParam) == window.list)
                ShowRowMenu(window.hwndMain, window.list, window.rows,
                            {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))});
            return 0;
        case WM_TIMER: OnTimer(window, wParam); return 0;
        case kFacesReadMessage: TakeFacesRead(window); return 0;
        case kInstalledListedMessage: TakeInstalledFiles(window); return 0;
        case kPictureDrawnMessage: RedrawFace(window, wParam); return 0;
        case WM_DESTROY: OnDestroy(hwnd); return 0;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

bool RegisterLibraryClass(HINSTANCE instance) {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    if (GetClassInfoExW(instance, kClassName, &windowClass)) return true;
    windowClass.lpfnWndProc = LibraryWindowProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = kClassName;
    return RegisterClassExW(&windowClass) != 0;
}

// Beside the main window, as the details dialog opens, so the sample a face is
// applied to stays in view.
RECT OpeningPlace(HWND hwndMain) {
    RECT owner{}, sample{};
    GetWindowRect(hwndMain, &owner);
    GetWindowRect(appState.hwndSample, &sample);
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    GetMonitorInfoW(MonitorFromRect(&owner, MONITOR_DEFAULTTONEAREST), &monitor);
    const RECT& work = monitor.rcWork;
    const SIZE size{std::min<LONG>(kOpeningSize.cx, work.right - work.left),
                    std::min<LONG>(kOpeningSize.cy, work.bottom - work.top)};
    const POINT at = PlaceBeside(owner, sample, size, work);
    return {at.x, at.y, at.x + size.cx, at.y + size.cy};
}

}  // namespace

LibraryWindow* ShownLibrary() { return hwndShown ? &WindowOf(hwndShown) : nullptr; }

void ShowLibraryWindow(HWND hwndMain) {
    if (hwndShown) {
        SetActiveWindow(hwndShown);
        return;
    }
    const INITCOMMONCONTROLSEX controls{sizeof controls, ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&controls);
    const auto instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(hwndMain, GWLP_HINSTANCE));
    if (!RegisterLibraryClass(instance)) return;
    const RECT place = lastPlace.value_or(OpeningPlace(hwndMain));
    hwndShown = CreateWindowExW(WS_EX_CONTROLPARENT, kClassName, kTitle, WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN,
                                place.left, place.top, place.right - place.left, place.bottom - place.top, hwndMain,
                                nullptr, instance, hwndMain);
    if (!hwndShown) return;
    ShowWindow(hwndShown, SW_SHOW);
    SetFocus(WindowOf(hwndShown).list);
}

void CloseLibraryWindow() {
    if (hwndShown) DestroyWindow(hwndShown);
}

HWND LibraryWindowHandle() { return hwndShown; }

}  // namespace tavrel
