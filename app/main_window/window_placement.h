#pragma once
// Where the window opens. Its stored position is the restored rectangle that
// GetWindowPlacement reports, in workspace coordinates: they count from the
// top-left corner of the work area of the window's monitor, so a taskbar at
// the top or the left of the screen shifts them from screen coordinates.

#include <windows.h>

#include <vector>

#include "settings_file.h"

namespace tavrel {

struct MonitorAreas {
    RECT screen;  // rcMonitor
    RECT work;    // rcWork
};

// The screen position for `stored`, taken on the monitor it overlaps most.
// A rectangle that overlaps no monitor (one was unplugged, or the file was
// edited) opens inside the work area nearest to it.
POINT ScreenPositionOf(const WindowRect& stored, const std::vector<MonitorAreas>& monitors);

// Every monitor of the desktop, as GetMonitorInfoW reports them.
std::vector<MonitorAreas> DesktopMonitors();

}  // namespace tavrel
