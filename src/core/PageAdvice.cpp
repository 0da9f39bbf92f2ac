#include "core/PageAdvice.h"

#include <cstdint>
#include <sys/mman.h>

namespace qrb {

void adviseLargePages(void* data, std::size_t size) {
#ifdef MADV_HUGEPAGE
    if (size < kLargePageAdviceMinimum) {
        return;
    }
    // The usual large page; a system with another size still takes the hint for the range.
    constexpr std::uintptr_t kLargePage = 2 * 1024 * 1024;
    const auto begin = reinterpret_cast<std::uintptr_t>(data);
    const std::uintptr_t first = (begin + kLargePage - 1) & ~(kLargePage - 1);
    const std::uintptr_t last = (begin + size) & ~(kLargePage - 1);
    if (first < last) {
        // A refusal (no large pages, memory that is not anonymous) changes nothing.
        (void)::madvise(reinterpret_cast<void*>(first), last - first, MADV_HUGEPAGE);
    }
#else
    (void)data;
    (void)size;
#endif
}

} // namespace qrb
