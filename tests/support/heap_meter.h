#pragma once
// Measures the peak of live heap bytes while one load runs, so tests and fuzz
// targets can hold it to the budget in docs/hostile-files.md.
//
// Sanitizer builds count through the sanitizer's allocation hooks: every
// malloc, every operator new, in our code and in zlib, woff2 and Brotli alike.
// Other builds replace operator new and delete, which counts everything C++
// allocates (the core, the woff2 library, the standard library) but not the
// C libraries' own malloc calls.

#include <cstddef>
#include <functional>

namespace tavrel::test {

class HeapMeter {
public:
    HeapMeter();  // the peak counts from the live bytes at this moment
    ~HeapMeter();
    HeapMeter(const HeapMeter&) = delete;
    HeapMeter& operator=(const HeapMeter&) = delete;

    // Most bytes live at once, above those live when the meter started.
    std::size_t Peak() const;

    // True when malloc calls of C libraries are counted too.
    static bool CountsCLibraries();
};

// Runs `load` with operator new refusing its `allowed`th call and every later one;
// whether any was refused. Only where operator new is replaced (not sanitizer builds).
bool RunsOutOfMemory(std::size_t allowed, const std::function<void()>& load);

}  // namespace tavrel::test
