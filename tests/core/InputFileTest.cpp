#include "core/InputFile.h"
#include "core/FileError.h"
#include "support/SpecialFiles.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <random>

namespace qrb {
namespace {

using test::TempDir;

// Anything but a regular file is refused at once: a FIFO without a writer must not
// block the open, a socket must not say "No such device", a device's data is not read.
TEST(InputFile, RefusesEverythingButARegularFileWithoutWaiting) {
    test::HangGuard guard;
    TempDir dir;
    for (const auto& special : test::specialFiles()) {
        const auto path = dir / special.name;
        if (!special.make(path)) {
            continue;
        }
        const std::string expected = special.name == "folder"
                                         ? "cannot open: it is a folder"
                                         : "cannot open: it is not a regular file";
        for (const auto& given : {path, dir / (special.name + "-link")}) {
            if (given != path) {
                std::filesystem::create_symlink(path, given);
            }
            try {
                InputFile file(given);
                ADD_FAILURE() << special.name << " opened";
            } catch (const FileError& e) {
                EXPECT_EQ(e.reason(), expected) << given;
            }
        }
    }
    EXPECT_THROW(InputFile("/dev/null"), FileError);

    std::filesystem::create_symlink(dir / "nowhere", dir / "dangling");
    try {
        InputFile file(dir / "dangling");
        ADD_FAILURE() << "opened";
    } catch (const FileError& e) {
        EXPECT_EQ(e.reason(), "cannot open: No such file or directory");
    }
}

// Seeks forward past the buffer, back into it and across it, mixed with small and large
// reads: every read returns the bytes at the position the stream says it is at.
TEST(InputFile, SeeksAndReadsAnywhere) {
    TempDir dir;
    std::vector<std::uint8_t> bytes(1'300'000);
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        bytes[i] = static_cast<std::uint8_t>(i * 7 + i / 251);
    }
    InputFile file(test::writeFile(dir / "data", bytes));
    ASSERT_EQ(file.size(), bytes.size());
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
        if (i % 2) {
            ASSERT_TRUE(in.seekg(at - here, std::ios::cur));
        } else {
            ASSERT_TRUE(in.seekg(at));
        }
        ASSERT_EQ(long(in.tellg()), at);
        // A few reads in a row, small ones (from the buffer) and large ones (past it).
        for (int k = 0; k < 3; ++k) {
            const long from = long(in.tellg());
            const std::size_t n =
                std::min(length(random) >> ((i + k) % 4 * 4), bytes.size() - std::size_t(from));
            got.resize(n);
            in.read(reinterpret_cast<char*>(got.data()), std::streamsize(n));
            ASSERT_EQ(std::size_t(in.gcount()), n);
            ASSERT_TRUE(std::equal(got.begin(), got.end(), bytes.begin() + from)) << "at " << from;
        }
    }
}

} // namespace
} // namespace qrb
