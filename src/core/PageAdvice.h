#pragma once
// Large buffers that are about to be filled: asking the system to back them with large
// pages makes the first touch of each megabyte one page fault instead of hundreds.

#include <cstddef>

namespace qrb {

// Buffers smaller than this are left alone: they rarely cover a whole large page.
inline constexpr std::size_t kLargePageAdviceMinimum = 4 * 1024 * 1024;

// Advises the system that the whole large pages inside [data, data + size) will be
// written soon and may be backed by large pages. Only a hint: it changes no content, and
// where the system cannot follow it nothing happens.
void adviseLargePages(void* data, std::size_t size);

} // namespace qrb
