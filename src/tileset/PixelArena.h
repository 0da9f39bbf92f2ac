#pragma once
// Memory for pixel rows. The images of a library that is read share a few large chunks,
// allocated without clearing (every byte is written once, by the reader); an image made or
// changed later has its own block. The chunks ask for no large pages: in a program just
// started, the system may first have to compact memory to find them, which made reading
// a library three times slower than filling ordinary pages.

#include <cstddef>
#include <cstdint>
#include <memory>

namespace qrb {

// The bytes of one image. `memory` keeps them alive: the image's own buffer, or the whole
// chunk they were carved from, which lives until its last image is gone.
struct PixelBlock {
    std::uint8_t* data = nullptr;
    std::size_t size = 0;
    std::shared_ptr<std::uint8_t[]> memory;
};

class PixelArena {
public:
    // A block of `size` uninitialised bytes. When the current chunk cannot hold them a new
    // chunk is started with room for `expected` bytes (at least `size`): what the caller
    // expects to ask for from here on. Throws std::bad_alloc.
    std::shared_ptr<PixelBlock> allocate(std::size_t size, std::uint64_t expected);

    // A block of its own, uninitialised or cleared.
    static std::shared_ptr<PixelBlock> single(std::size_t size, bool cleared);

private:
    std::shared_ptr<std::uint8_t[]> chunk_;
    std::size_t used_ = 0;
    std::size_t capacity_ = 0;
};

} // namespace qrb
