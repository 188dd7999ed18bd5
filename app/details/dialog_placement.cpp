#include "dialog_placement.h"

#include <algorithm>

namespace tavrel {

namespace {

long long Covered(const RECT& keep, POINT at, SIZE size) {
    const RECT placed{at.x, at.y, at.x + size.cx, at.y + size.cy};
    RECT both{};
    if (!IntersectRect(&both, &keep, &placed)) return 0;
    return static_cast<long long>(both.right - both.left) * (both.bottom - both.top);
}

}  // namespace

POINT PlaceBeside(const RECT& owner, const RECT& keep, SIZE size, const RECT& work) {
    const LONG xs[] = {owner.right, owner.left - size.cx, work.right - size.cx, work.left};
    const LONG ys[] = {owner.top, owner.bottom, owner.top - size.cy, work.bottom - size.cy, work.top};
    POINT best{};
    long long least = -1;
    for (LONG y : ys)
        for (LONG x : xs) {
            const POINT at{std::clamp(x, work.left, std::max(work.right - size.cx, work.left)),
                           std::clamp(y, work.top, std::max(work.bottom - size.cy, work.top))};
            const long long covered = Covered(keep, at, size);
            if (least < 0 || covered < least) best = at, least = covered;
        }
    return best;
}

}  // namespace tavrel
