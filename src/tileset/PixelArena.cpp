#include "tileset/PixelArena.h"

#include "core/PageAdvice.h"

#include <algorithm>
#include <limits>
#include <new>

namespace qrb {

namespace {

std::shared_ptr<std::uint8_t[]> uninitialised(std::size_t size) {
    std::shared_ptr<std::uint8_t[]> memory(new std::uint8_t[size]);
    adviseLargePages(memory.get(), size);
    return memory;
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
    block->memory =
        cleared ? std::shared_ptr<std::uint8_t[]>(new std::uint8_t[size]()) : uninitialised(size);
    block->data = block->memory.get();
    block->size = size;
    return block;
}

} // namespace qrb
