#pragma once
// Why a file could not be read, in Japanese: the core says it in English
// (as tavrel-cli prints it); the window says it in the words of its labels.

#include <string>
#include <string_view>

namespace tavrel {

// A reason the table does not know is shown as the core gave it.
std::wstring JapaneseReason(std::string_view reason);

}  // namespace tavrel
