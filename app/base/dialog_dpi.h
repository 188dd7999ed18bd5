#pragma once
// The details dialog's DPI. The main window stays DPI-unaware; the dialog is
// made per-monitor aware where Windows allows it, so that its glyphs are drawn
// at the screen's resolution rather than stretched, and it scales what it lays
// out by the DPI it is shown at. Its pages ask here instead of guessing.

#include <windows.h>

namespace tavrel {

constexpr int kDefaultDpi = 96;

// The DPI of the dialog holding `hwnd` (the dialog or any window inside it):
// the one it opened at or last moved to. For another window, the window's
// own DPI; 96 where Windows knows no DPI per window.
int DialogDpi(HWND hwnd);

// `pixels` at 96 DPI, at DialogDpi(hwnd).
int Scaled(HWND hwnd, int pixels);

// Records `dpi` as the dialog's; ForgetDialogDpi before it is destroyed.
void SetDialogDpi(HWND dialog, int dpi);
void ForgetDialogDpi(HWND dialog);

// Keeps the dialog manager from rescaling the dialog on a DPI change, which
// the dialog procedure does itself (Windows 10 1703 and later).
void TakeOverDpiChanges(HWND dialog);

// While it lives, the windows this thread creates are per-monitor aware (V2)
// on Windows 10 1703 and later; elsewhere it changes nothing.
class ScopedPerMonitorAwareness {
public:
    ScopedPerMonitorAwareness();
    ~ScopedPerMonitorAwareness();
    ScopedPerMonitorAwareness(const ScopedPerMonitorAwareness&) = delete;
    ScopedPerMonitorAwareness& operator=(const ScopedPerMonitorAwareness&) = delete;

private:
    DPI_AWARENESS_CONTEXT previous_ = nullptr;
};

}  // namespace tavrel
