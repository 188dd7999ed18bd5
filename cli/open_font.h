#pragma once
// A font file read and planned as the window opens it, shared by every command.

#include <cstdint>
#include <string>
#include <vector>

#include "font_plan.h"
#include "result.h"

namespace tavrel {

struct OpenedFont {
    std::vector<std::uint8_t> bytes;
    FontPlan plan;

    // The bytes the window would register for each of its faces.
    Bytes RegisteredBytes() const { return RegisteredImage(plan, bytes); }
};

// Fails with the reason the command reports: an extension no loader reads, a
// file that cannot be read, or one that adds nothing.
Result<OpenedFont> OpenFont(const std::string& file);

}  // namespace tavrel
