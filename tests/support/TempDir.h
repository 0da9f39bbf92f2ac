#pragma once
// A fresh folder for one test, removed with everything in it afterwards, and whole-file
// reads and writes for the tests that look at bytes on disk.

#include <cstdint>
#include <filesystem>
#include <vector>

namespace qrb::test {

class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& path() const { return path_; }
    std::filesystem::path operator/(const std::filesystem::path& name) const {
        return path_ / name;
    }
    // Files and folders directly inside, to see that nothing was left behind.
    std::size_t entries() const;

private:
    std::filesystem::path path_;
};

// The whole file; empty when it cannot be read.
std::vector<std::uint8_t> readFile(const std::filesystem::path& path);
// Writes `bytes` as the whole file and returns its path; throws when it cannot.
std::filesystem::path writeFile(const std::filesystem::path& path,
                                const std::vector<std::uint8_t>& bytes);

} // namespace qrb::test
