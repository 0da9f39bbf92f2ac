#include "tileset/PixelArena.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <new>

namespace qrb {

namespace {

std::shared_ptr<std::uint8_t[]> uninitialised(std::size_t size) {
    // Plain operator new: no element is initialised, and the bytes are counted wherever
    // allocations are counted.
    return std::shared_ptr<std::uint8_t[]>(static_cast<std::uint8_t*>(::operator new(size)),
                                           [](std::uint8_t* p) { ::operator delete(p); });
}

} // namespace

std::shared_ptr<PixelBlock> PixelArena::allocate(std::size_t size, std::uint64_t expected) {
    if (size > capacity_ - used_) {
        const std::uint64_t wanted = std::min<std::uint64_t>(
            std::max<std::uint64_t>(expected, size), std::numeric_limits<std::ptrdiff_t>::max());
        try {
            chunk_ = uninitialised(static_cast<std::size_t>(wanted));
            capacity_ = static_cast<std::size_t>(wanted);
        } catch (const std::bad_alloc&) {
            // The guess of what is still to come may be too large for the memory left;
            // the image itself may still fit.
            chunk_ = uninitialised(size);
            capacity_ = size;
        }
        used_ = 0;
    }
    auto block = std::make_shared<PixelBlock>();
    block->data = chunk_.get() + used_;
    block->size = size;
    block->memory = chunk_;
    used_ += size;
    return block;
}

std::shared_ptr<PixelBlock> PixelArena::single(std::size_t size, bool cleared) {
    auto block = std::make_shared<PixelBlock>();
    block->memory = uninitialised(size);
    block->data = block->memory.get();
    if (cleared) {
        std::memset(block->data, 0, size);
    }
    block->size = size;
    return block;
}

} // namespace qrb
