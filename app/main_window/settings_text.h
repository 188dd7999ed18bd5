#pragma once
// A multi-line sample kept on one line of the settings file: the sample
// control reports a line break as CR LF and takes a lone LF as one.

#include <string>
#include <string_view>

namespace tavrel {

// Every CR LF becomes a backslash and the letter n; lone CRs and LFs stay.
std::wstring EscapeNewlines(std::wstring_view text);

// Every backslash followed by the letter n becomes one LF.
std::wstring UnescapeNewlines(std::wstring_view text);

}  // namespace tavrel
