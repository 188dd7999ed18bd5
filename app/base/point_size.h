#pragma once
// Point sizes: whole points, handed to the sample control in twips.

#include <cstdint>
#include <optional>
#include <string_view>

namespace tavrel {

constexpr std::uint32_t kDefaultPointSize = 24;
// The sizes a size box offers, ascending.
constexpr const wchar_t* kPointSizes[] = {L"8", L"10", L"12", L"16", L"20", L"24", L"32", L"36", L"72"};
// The largest size the sample control takes: 32760 twips. It caps larger
// heights itself, and pointSize x 20 would not fit a signed 32-bit height
// from 107374183 points on.
constexpr std::uint32_t kMaxPointSize = 1638;

constexpr std::uint32_t ClampPointSize(std::uint64_t points) {
    return points > kMaxPointSize ? kMaxPointSize : static_cast<std::uint32_t>(points);
}

constexpr std::int32_t TwipsOf(std::uint32_t points) { return static_cast<std::int32_t>(ClampPointSize(points) * 20); }
static_assert(TwipsOf(UINT32_MAX) == 32760);

// The size typed or picked in the size box: nothing when any character is not
// an ASCII digit; the empty text is 0; larger values than kMaxPointSize clamp to it.
std::optional<std::uint32_t> ParsePointSize(std::wstring_view text);

}  // namespace tavrel
