#include "heap_meter.h"

#include <atomic>
#include <cstdint>
#include <cstdlib>
#include <new>

#if defined(__SANITIZE_ADDRESS__)
#define TAVREL_SANITIZER_HOOKS 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define TAVREL_SANITIZER_HOOKS 1
#endif
#endif

#ifdef TAVREL_SANITIZER_HOOKS
#include <sanitizer/allocator_interface.h>
#endif

namespace tavrel::test {

namespace {

std::atomic<std::int64_t> live{0};
std::atomic<std::int64_t> peak{0};
std::atomic<std::int64_t> base{0};
std::atomic<bool> metering{false};
std::atomic<std::size_t> calls{0}, refuseFrom{SIZE_MAX};  // operator new calls, and the first refused

void CountAllocation(std::size_t size) {
    const std::int64_t now = live.fetch_add(static_cast<std::int64_t>(size), std::memory_order_relaxed) +
                             static_cast<std::int64_t>(size);
    if (!metering.load(std::memory_order_relaxed)) return;
    std::int64_t seen = peak.load(std::memory_order_relaxed);
    while (now > seen && !peak.compare_exchange_weak(seen, now, std::memory_order_relaxed)) {
    }
}

void CountRelease(std::size_t size) { live.fetch_sub(static_cast<std::int64_t>(size), std::memory_order_relaxed); }

#ifdef TAVREL_SANITIZER_HOOKS
void MallocHook(const volatile void*, std::size_t size) { CountAllocation(size); }
void FreeHook(const volatile void* p) { CountRelease(__sanitizer_get_allocated_size(const_cast<const void*>(p))); }

constexpr bool kCountsCLibraries = true;

void InstallHooks() {
    static const bool installed = __sanitizer_install_malloc_and_free_hooks(MallocHook, FreeHook) != 0;
    if (!installed) std::abort();
}
#else
constexpr bool kCountsCLibraries = false;

void InstallHooks() {}

// Each block carries its size in front, at the alignment operator new promises.
constexpr std::size_t kHeader = alignof(std::max_align_t);

bool Refuse() noexcept { return calls.fetch_add(1) >= refuseFrom.load(); }

void* CountedAllocate(std::size_t size) noexcept {
    if (size > SIZE_MAX - kHeader || Refuse()) return nullptr;
    auto* block = static_cast<unsigned char*>(std::malloc(size + kHeader));
    if (!block) return nullptr;
    *reinterpret_cast<std::size_t*>(block) = size;
    CountAllocation(size);
    return block + kHeader;
}

void CountedRelease(void* p) noexcept {
    if (!p) return;
    auto* block = static_cast<unsigned char*>(p) - kHeader;
    CountRelease(*reinterpret_cast<std::size_t*>(block));
    std::free(block);
}

void* AllocateOrThrow(std::size_t size) {
    if (void* p = CountedAllocate(size ? size : 1)) return p;
    throw std::bad_alloc();
}
#endif

}  // namespace

HeapMeter::HeapMeter() {
    InstallHooks();
    const std::int64_t now = live.load();
    base.store(now);
    peak.store(now);
    metering.store(true);
}

HeapMeter::~HeapMeter() { metering.store(false); }

std::size_t HeapMeter::Peak() const {
    const std::int64_t above = peak.load() - base.load();
    return above > 0 ? static_cast<std::size_t>(above) : 0;
}

bool RunsOutOfMemory(std::size_t allowed, const std::function<void()>& load) {
    calls.store(0);
    refuseFrom.store(allowed);
    const struct Disarm { ~Disarm() { refuseFrom.store(SIZE_MAX); } } disarm;  // also when `load` throws
    load();
    return calls.load() > allowed;
}

bool HeapMeter::CountsCLibraries() { return kCountsCLibraries; }


}  // namespace tavrel::test

#ifndef TAVREL_SANITIZER_HOOKS
void* operator new(std::size_t size) { return tavrel::test::AllocateOrThrow(size); }
void* operator new[](std::size_t size) { return tavrel::test::AllocateOrThrow(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept { return tavrel::test::CountedAllocate(size ? size : 1); }
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept { return tavrel::test::CountedAllocate(size ? size : 1); }
void operator delete(void* p) noexcept { tavrel::test::CountedRelease(p); }
void operator delete[](void* p) noexcept { tavrel::test::CountedRelease(p); }
void operator delete(void* p, std::size_t) noexcept { tavrel::test::CountedRelease(p); }
void operator delete[](void* p, std::size_t) noexcept { tavrel::test::CountedRelease(p); }
void operator delete(void* p, const std::nothrow_t&) noexcept { tavrel::test::CountedRelease(p); }
void operator delete[](void* p, const std::nothrow_t&) noexcept { tavrel::test::CountedRelease(p); }
#endif
