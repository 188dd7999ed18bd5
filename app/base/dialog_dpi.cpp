#include "dialog_dpi.h"

namespace tavrel {

namespace {

constexpr wchar_t kDpiProperty[] = L"TavrelDialogDpi";

// A user32 function of a later Windows than the program asks for, or null.
template <class Function>
Function* User32Function(const char* name) {
    return reinterpret_cast<Function*>(reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), name)));
}

int SystemWindowDpi(HWND hwnd) {
    static const auto getDpiForWindow = User32Function<UINT WINAPI(HWND)>("GetDpiForWindow");
    const UINT dpi = getDpiForWindow ? getDpiForWindow(hwnd) : 0;
    return dpi > 0 ? static_cast<int>(dpi) : kDefaultDpi;
}

DPI_AWARENESS_CONTEXT SetThreadAwareness(DPI_AWARENESS_CONTEXT context) {
    static const auto setContext =
        User32Function<DPI_AWARENESS_CONTEXT WINAPI(DPI_AWARENESS_CONTEXT)>("SetThreadDpiAwarenessContext");
    return setContext ? setContext(context) : nullptr;
}

}  // namespace

int DialogDpi(HWND hwnd) {
    const HWND root = GetAncestor(hwnd, GA_ROOT);
    const auto stored = reinterpret_cast<INT_PTR>(GetPropW(root ? root : hwnd, kDpiProperty));
    return stored > 0 ? static_cast<int>(stored) : SystemWindowDpi(hwnd);
}

int Scaled(HWND hwnd, int pixels) { return MulDiv(pixels, DialogDpi(hwnd), kDefaultDpi); }

void SetDialogDpi(HWND dialog, int dpi) {
    SetPropW(dialog, kDpiProperty, reinterpret_cast<HANDLE>(static_cast<INT_PTR>(dpi > 0 ? dpi : kDefaultDpi)));
}

void ForgetDialogDpi(HWND dialog) { RemovePropW(dialog, kDpiProperty); }

void TakeOverDpiChanges(HWND dialog) {
    using SetBehavior = BOOL WINAPI(HWND, DIALOG_DPI_CHANGE_BEHAVIORS, DIALOG_DPI_CHANGE_BEHAVIORS);
    static const auto setBehavior = User32Function<SetBehavior>("SetDialogDpiChangeBehavior");
    if (setBehavior) setBehavior(dialog, DDC_DISABLE_ALL, DDC_DISABLE_ALL);
}

// Before 1703 the V2 context is refused, and the thread stays as it is.
ScopedPerMonitorAwareness::ScopedPerMonitorAwareness()
    : previous_(SetThreadAwareness(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2)) {}

ScopedPerMonitorAwareness::~ScopedPerMonitorAwareness() {
    if (previous_) SetThreadAwareness(previous_);
}

}  // namespace tavrel
