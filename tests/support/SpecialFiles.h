#pragma once
// Files that are not regular files, for tests of what readers and writers refuse.

#include <filesystem>
#include <string>
#include <vector>

namespace qrb::test {

struct SpecialFile {
    std::string name; // "fifo", "socket", "device", "folder"
    // Creates one at `path`; false where the system does not allow it (a device node
    // needs the right to make one).
    bool (*make)(const std::filesystem::path& path);
};

std::vector<SpecialFile> specialFiles();

} // namespace qrb::test
