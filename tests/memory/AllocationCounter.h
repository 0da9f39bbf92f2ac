#pragma once
// Bytes held through the global operator new of this test program, which
// AllocationCounter.cpp replaces, so a test can see the peak a call reached.

#include <cstddef>

namespace qrb::test {

class AllocationCounter {
public:
    AllocationCounter(); // starts at the bytes held now
    // Most bytes held beyond the start at any moment since.
    std::size_t peak() const;

private:
    std::size_t start_;
};

} // namespace qrb::test
