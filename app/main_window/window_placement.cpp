#include "window_placement.h"

#include <algorithm>
#include <cstdint>

namespace tavrel {

namespace {

std::int64_t OverlapArea(const RECT& a, const RECT& b) {
    const std::int64_t width = std::int64_t{std::min(a.right, b.right)} - std::max(a.left, b.left);
    const std::int64_t height = std::int64_t{std::min(a.bottom, b.bottom)} - std::max(a.top, b.top);
    return width > 0 && height > 0 ? width * height : 0;
}

// How far a point outside [low, high) lies from it, along one axis.
std::int64_t Gap(std::int64_t low, std::int64_t high, std::int64_t from, std::int64_t to) {
    if (to <= low) return low - to;
    if (from >= high) return from - high;
    return 0;
}

std::int64_t DistanceSquared(const RECT& a, const RECT& b) {
    const std::int64_t dx = Gap(b.left, b.right, a.left, a.right);
    const std::int64_t dy = Gap(b.top, b.bottom, a.top, a.bottom);
    return dx * dx + dy * dy;
}

// The start of a span of `size` moved inside [low, high), or to `low` when it
// does not fit.
LONG ClampStart(LONG start, int size, LONG low, LONG high) {
    return std::max<LONG>(low, std::min<LONG>(start, high - size));
}

}  // namespace

POINT ScreenPositionOf(const WindowRect& stored, const std::vector<MonitorAreas>& monitors) {
    if (monitors.empty()) return {stored.x, stored.y};
    const RECT rect{stored.x, stored.y, stored.x + stored.width, stored.y + stored.height};
    const auto most = std::max_element(monitors.begin(), monitors.end(), [&](const auto& a, const auto& b) {
        return OverlapArea(rect, a.screen) < OverlapArea(rect, b.screen);
    });
    const bool onScreen = OverlapArea(rect, most->screen) > 0;
    const MonitorAreas& monitor =
        onScreen ? *most : *std::min_element(monitors.begin(), monitors.end(), [&](const auto& a, const auto& b) {
            return DistanceSquared(rect, a.screen) < DistanceSquared(rect, b.screen);
        });
    POINT position{stored.x + monitor.work.left - monitor.screen.left, stored.y + monitor.work.top - monitor.screen.top};
    if (onScreen) return position;
    const RECT& work = monitor.work;
    return {ClampStart(position.x, stored.width, work.left, work.right),
            ClampStart(position.y, stored.height, work.top, work.bottom)};
}

std::vector<MonitorAreas> DesktopMonitors() {
    std::vector<MonitorAreas> monitors;
    EnumDisplayMonitors(
        nullptr, nullptr,
        [](HMONITOR monitor, HDC, RECT*, LPARAM found) -> BOOL {
            MONITORINFO info{};
            info.cbSize = sizeof info;
            if (GetMonitorInfoW(monitor, &info))
                reinterpret_cast<std::vector<MonitorAreas>*>(found)->push_back({info.rcMonitor, info.rcWork});
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&monitors));
    return monitors;
}

}  // namespace tavrel
