#pragma once
// Bytes held through operator new, counted by a replacement of the global
// allocation functions: the live total and the most held at once.

#include <cstddef>

namespace tavrel::bench {

std::size_t LiveBytes();
std::size_t PeakBytes();
// Makes the peak the bytes live now, so a measurement starts from here.
void ResetPeak();

}  // namespace tavrel::bench
