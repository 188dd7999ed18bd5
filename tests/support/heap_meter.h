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

// While it lives, operator new refuses the allocation `allowed` calls from now
// and every one after it: the throwing forms throw std::bad_alloc, the nothrow
// forms give null. Only where operator new is replaced (not sanitizer builds).
class FailingAllocations {
public:
    explicit FailingAllocations(std::size_t allowed);
    ~FailingAllocations();
    FailingAllocations(const FailingAllocations&) = delete;
    FailingAllocations& operator=(const FailingAllocations&) = delete;

    bool Refused() const;  // whether any allocation was refused
};

}  // namespace tavrel::test
