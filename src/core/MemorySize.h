#pragma once
// Amounts of memory: the budget a library's decoded images may take, and sizes as people
// type and read them ("512M", "2G"; "48 MiB").

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

namespace qrb {

// The system would not give the memory some data needs. what() says which and how much:
// "not enough memory for its images (768 MiB needed)".
class NotEnoughMemory : public std::runtime_error {
public:
    NotEnoughMemory(const std::string& what, std::uint64_t bytes);
    std::uint64_t bytes() const { return bytes_; }

private:
    std::uint64_t bytes_;
};

// The memory the decoded images of one library may take unless the user says otherwise:
// the smaller of 2 GiB and half the physical memory.
std::uint64_t defaultMemoryBudget();

// A size written as a whole number with an optional binary unit: "300000" (bytes),
// "64K", "512M", "2G", "1T", upper or lower case, optionally followed by "B" or "iB"
// ("512MB", "512MiB"); K = 1024 bytes. Empty for anything else or a size beyond 64 bits.
std::optional<std::uint64_t> parseMemorySize(std::string_view text);

// "512 bytes", "48 MiB", "2 GiB"; a size that is not a whole number of its unit is given
// to one decimal with the exact count after it: "3.2 MiB (3354624 bytes)".
std::string describeMemorySize(std::uint64_t bytes);

} // namespace qrb
