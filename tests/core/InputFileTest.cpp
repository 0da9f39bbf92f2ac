#include "core/InputFile.h"
#include "core/FileError.h"
#include "support/SpecialFiles.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <random>
#include <unistd.h>

namespace qrb {
namespace {

// Anything but a regular file is refused at once: a FIFO without a writer must not block
// the open (the alarm ends a test that hangs), a socket must not say "No such device".
TEST(InputFile, RefusesEverythingButARegularFileWithoutWaiting) {
    ::alarm(30);
    test::TempDir dir;
    std::filesystem::create_symlink(dir / "nowhere", dir / "dangling");
    std::vector<std::pair<std::filesystem::path, std::string>> cases{
        {dir / "dangling", "cannot open: No such file or directory"},
        {"/dev/null", "cannot open: it is not a regular file"}};
    for (const auto& special : test::specialFiles()) {
        if (special.make(dir / special.name)) {
            std::filesystem::create_symlink(dir / special.name, dir / (special.name + "-link"));
            const std::string reason = special.name == "folder"
                                           ? "cannot open: it is a folder"
                                           : "cannot open: it is not a regular file";
            cases.emplace_back(dir / special.name, reason);
            cases.emplace_back(dir / (special.name + "-link"), reason);
        }
    }
    for (const auto& [path, reason] : cases) {
        try {
            InputFile file(path);
            ADD_FAILURE() << path << " opened";
        } catch (const FileError& e) {
            EXPECT_EQ(e.reason(), reason) << path;
        }
    }
    ::alarm(0);
}

// Seeks anywhere and nearby, mixed with reads from the buffer and past it: every read
// returns the bytes at the position the stream says it is at.
TEST(InputFile, SeeksAndReadsAnywhere) {
    test::TempDir dir;
    std::vector<std::uint8_t> bytes(1'300'000);
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        bytes[i] = static_cast<std::uint8_t>(i * 7 + i / 251);
    }
    InputFile file(test::writeFile(dir / "data", bytes));
    std::istream& in = file.stream();
    std::mt19937 random(12345);
    std::uniform_int_distribution<long> anywhere(0, long(bytes.size()));
    std::uniform_int_distribution<long> nearby(-5'000, 5'000);
    std::uniform_int_distribution<std::size_t> length(1, 600'000);
    std::vector<std::uint8_t> got;
    for (int i = 0; i < 200; ++i) {
        const long here = long(in.tellg());
        const long at = i % 3 ? anywhere(random)
                              : std::clamp<long>(here + nearby(random), 0, long(bytes.size()));
        ASSERT_TRUE(i % 2 ? in.seekg(at - here, std::ios::cur) : in.seekg(at));
        ASSERT_EQ(long(in.tellg()), at);
        for (int k = 0; k < 3; ++k) {
            const long from = long(in.tellg());
            got.resize(std::min(length(random) >> ((i + k) % 4 * 4), bytes.size() - from));
            in.read(reinterpret_cast<char*>(got.data()), std::streamsize(got.size()));
            ASSERT_EQ(std::size_t(in.gcount()), got.size());
            ASSERT_TRUE(std::equal(got.begin(), got.end(), bytes.begin() + from)) << "at " << from;
        }
    }
}

} // namespace
} // namespace qrb
