#include "AllocationCounter.h"

#include <atomic>
#include <cstdlib>
#include <malloc.h>
#include <new>

namespace {

std::atomic<std::size_t> held{0};
std::atomic<std::size_t> highest{0};

void* counted(void* p) {
    if (p == nullptr) {
        throw std::bad_alloc();
    }
    const std::size_t now = held += ::malloc_usable_size(p);
    std::size_t seen = highest.load();
    while (now > seen && !highest.compare_exchange_weak(seen, now)) {
    }
    return p;
}

void release(void* p) {
    if (p != nullptr) {
        held -= ::malloc_usable_size(p);
        std::free(p);
    }
}

} // namespace

// The ordinary forms; the library's array, nothrow and sized forms call these.
void* operator new(std::size_t n) {
    return counted(std::malloc(n == 0 ? 1 : n));
}
void operator delete(void* p) noexcept {
    release(p);
}
void operator delete(void* p, std::size_t) noexcept {
    release(p);
}

namespace qrb::test {

AllocationCounter::AllocationCounter() : start_(held.load()) {
    highest = start_;
}

std::size_t AllocationCounter::peak() const {
    return highest.load() - start_;
}

} // namespace qrb::test
