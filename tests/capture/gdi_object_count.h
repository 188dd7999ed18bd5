#pragma once
// How many GDI objects (device contexts, bitmaps, brushes...) the process holds.

namespace tavrel::test {

long CountGdiObjects();

}  // namespace tavrel::test
