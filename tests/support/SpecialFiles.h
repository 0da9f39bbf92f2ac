#pragma once
// Files that are not regular files, for tests of what readers and writers refuse.

#include <filesystem>
#include <string>
#include <vector>

namespace qrb::test {

// A kind of special file and how to make one at a path.
struct SpecialFile {
    std::string name; // "fifo", "socket", "device", "folder"
    // Creates it at `path`; false when this system does not allow it (a device node needs
    // the right to create one).
    bool (*make)(const std::filesystem::path& path);
};

// One of each kind.
std::vector<SpecialFile> specialFiles();

// Ends the test process when it is still running after `seconds`, so a call that would
// block for ever fails the test instead of hanging the run.
class HangGuard {
public:
    explicit HangGuard(unsigned seconds = 30);
    ~HangGuard();
    HangGuard(const HangGuard&) = delete;
    HangGuard& operator=(const HangGuard&) = delete;
};

} // namespace qrb::test
