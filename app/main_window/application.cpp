#include "application.h"

#include "app_state.h"
#include "details_dialog.h"
#include "library_window.h"
#include "main_window.h"
#include "main_window_keys.h"
#include "resource_ids.h"

namespace tavrel {

namespace {

constexpr wchar_t kMenuName[] = L"tavrel_MENU";

HICON LoadAppIcon(HINSTANCE instance, int id) {
    return static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(id), IMAGE_ICON, 32, 32, LR_LOADTRANSPARENT));
}

}  // namespace

bool RegisterMainWindowClass(HINSTANCE instance) {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.style = CS_HREDRAW | CS_VREDRAW;
    windowClass.lpfnWndProc = MainWindowProc;
    windowClass.hInstance = instance;
    windowClass.hIcon = LoadAppIcon(instance, IDI_APP);
    windowClass.hIconSm = LoadAppIcon(instance, IDI_APP_SMALL);
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
    windowClass.lpszMenuName = kMenuName;
    windowClass.lpszClassName = kWindowClass;
    return RegisterClassExW(&windowClass) != 0;
}

// The resources hold no menu of that name, so the window has no menu bar.
HWND CreateMainWindow(HINSTANCE instance) {
    return CreateWindowExW(WS_EX_COMPOSITED, kWindowClass, L"tavrel", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                           CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr, LoadMenuW(instance, kMenuName),
                           instance, nullptr);
}

HACCEL CreateAccelerators() {
    ACCEL keys[] = {
        {FVIRTKEY, VK_ESCAPE, IDM_EXIT},
        {FVIRTKEY | FCONTROL, 'C', IDM_CAPTURE},
        {FVIRTKEY | FCONTROL, 'L', IDM_LIBRARY},
    };
    return CreateAcceleratorTableW(keys, 3);
}

bool TranslateAppMessage(HWND hwndMain, HACCEL accelerators, MSG& message) {
    if (TranslateDetailsDialogMessage(message) || TranslateLibraryWindowMessage(message) ||
        OnMainWindowKey(hwndMain, message))
        return true;
    return !ClosesDroppedList(message) && TranslateAcceleratorW(hwndMain, accelerators, &message);
}

int RunMessageLoop(HWND hwndMain, HACCEL accelerators) {
    MSG message{};
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (TranslateAppMessage(hwndMain, accelerators, message)) continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return static_cast<int>(message.wParam);
}

int RunApplication(HINSTANCE instance, int showCommand) {
    if (!RegisterMainWindowClass(instance)) return 0;
    const HWND hwnd = CreateMainWindow(instance);
    // Without a window nothing would ever end the loop.
    if (!hwnd) return 0;
    ShowWindow(hwnd, showCommand);
    const int exitCode = RunMessageLoop(hwnd, CreateAccelerators());
    FreeLibrary(appState.richEditModule);
    return exitCode;
}

}  // namespace tavrel
