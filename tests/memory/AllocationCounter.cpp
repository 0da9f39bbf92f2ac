#include "AllocationCounter.h"

#include <cstdlib>
#include <malloc.h>
#include <new>

namespace {

std::size_t held = 0;
std::size_t highest = 0;

} // namespace

// The ordinary forms; the library's array, nothrow and sized forms call these.
void* operator new(std::size_t n) {
    void* p = std::malloc(n == 0 ? 1 : n);
    if (p == nullptr) {
        throw std::bad_alloc();
    }
    held += ::malloc_usable_size(p);
    highest = held > highest ? held : highest;
    return p;
}

void operator delete(void* p) noexcept {
    if (p != nullptr) {
        held -= ::malloc_usable_size(p);
        std::free(p);
    }
}

void operator delete(void* p, std::size_t) noexcept {
    operator delete(p);
}

namespace qrb::test {

AllocationCounter::AllocationCounter() : start_(held) {
    highest = held;
}

std::size_t AllocationCounter::peak() const {
    return highest - start_;
}

} // namespace qrb::test
