#include "core/MemorySize.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <charconv>
#include <cstdio>
#include <unistd.h>

namespace qrb {

namespace {

constexpr std::uint64_t kGiB = std::uint64_t(1) << 30;
constexpr std::array<char, 4> kUnits{'K', 'M', 'G', 'T'};

} // namespace

std::uint64_t defaultMemoryBudget() {
    const long pages = ::sysconf(_SC_PHYS_PAGES);
    const long pageSize = ::sysconf(_SC_PAGESIZE);
    if (pages <= 0 || pageSize <= 0) {
        return 2 * kGiB;
    }
    const std::uint64_t physical = std::uint64_t(pages) * std::uint64_t(pageSize);
    return std::min(2 * kGiB, physical / 2);
}

std::optional<std::uint64_t> parseMemorySize(std::string_view text) {
    std::uint64_t value = 0;
    const char* end = text.data() + text.size();
    const auto [rest, ec] = std::from_chars(text.data(), end, value);
    if (ec != std::errc() || rest == text.data()) {
        return std::nullopt;
    }
    std::string unit(rest, end);
    for (char& c : unit) {
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
    if (unit.empty() || unit == "B") {
        return value;
    }
    const auto found = std::find(kUnits.begin(), kUnits.end(), unit[0]);
    const std::string tail = unit.substr(1);
    if (found == kUnits.end() || !(tail.empty() || tail == "B" || tail == "IB")) {
        return std::nullopt;
    }
    const int shift = 10 * static_cast<int>(found - kUnits.begin() + 1);
    if (value > (~std::uint64_t(0) >> shift)) {
        return std::nullopt;
    }
    return value << shift;
}

std::string describeMemorySize(std::uint64_t bytes) {
    if (bytes < 1024) {
        return std::to_string(bytes) + (bytes == 1 ? " byte" : " bytes");
    }
    int shift = 10;
    std::size_t unit = 0;
    while (unit + 1 < kUnits.size() && (bytes >> (shift + 10)) != 0) {
        shift += 10;
        ++unit;
    }
    const std::string name = std::string(1, kUnits[unit]) + "iB";
    const std::uint64_t whole = bytes >> shift;
    if ((whole << shift) == bytes) {
        return std::to_string(whole) + " " + name;
    }
    char text[64];
    std::snprintf(text, sizeof text, "%.1f %s (%llu bytes)",
                  static_cast<double>(bytes) / static_cast<double>(std::uint64_t(1) << shift),
                  name.c_str(), static_cast<unsigned long long>(bytes));
    return text;
}

NotEnoughMemory::NotEnoughMemory(const std::string& what, std::uint64_t bytes)
    : std::runtime_error("not enough memory for " + what + " (" + describeMemorySize(bytes) +
                         " needed)"),
      bytes_(bytes) {}

} // namespace qrb
