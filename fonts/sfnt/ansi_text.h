#pragma once
// Macintosh name records hold narrow text, turned into UTF-16 in the thread's
// ANSI code page on Windows. The Linux build reads it as Windows-1252, the
// code page of a Western Windows system.

#include <string>

#include "byte_reader.h"

namespace tavrel {

std::u16string DecodeAnsiText(Bytes text);

}  // namespace tavrel
