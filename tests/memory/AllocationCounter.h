#pragma once
// Counts the bytes held through the global operator new of this test program (which
// AllocationCounter.cpp replaces), so a test can see the peak a call reached.

#include <cstddef>

namespace qrb::test {

class AllocationCounter {
public:
    // Starts a measurement at the bytes held now.
    AllocationCounter();
    // Most bytes held beyond the start at any moment since.
    std::size_t peak() const;

private:
    std::size_t start_;
};

} // namespace qrb::test
