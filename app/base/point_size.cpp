#include "point_size.h"

namespace tavrel {

std::optional<std::uint32_t> ParsePointSize(std::wstring_view text) {
    std::uint64_t points = 0;
    for (wchar_t c : text) {
        if (c < L'0' || c > L'9') return std::nullopt;
        points = ClampPointSize(points * 10 + static_cast<std::uint64_t>(c - L'0'));
    }
    return static_cast<std::uint32_t>(points);
}

}  // namespace tavrel
