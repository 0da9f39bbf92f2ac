#include "support/SampleLibraries.h"
#include "support/TempDir.h"
#include "tileset/QrbReader.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace qrb {
namespace {

// The checkout the test was built from, whatever folder it runs in and however the compiler
// was given the file's name.
const std::filesystem::path kRoot = QRB_SOURCE_ROOT;

bool regenerating() {
    const char* flag = std::getenv("QRB_REGENERATE_SAMPLES");
    return flag != nullptr && std::string(flag) == "1";
}

// The committed files are what the generators make (run with QRB_REGENERATE_SAMPLES=1 to
// rewrite them after changing a generator).
void checkOrWrite(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes) {
    if (regenerating()) {
        std::filesystem::create_directories(path.parent_path());
        test::writeFile(path, bytes);
    }
    EXPECT_EQ(test::readFile(path), bytes) << path << " is out of date";
}

TEST(SampleLibraries, SampleIsReadableAndUpToDate) {
    const auto bytes = test::sampleLibrary().bytes();
    const TileSet set = QrbReader::read(bytes);
    ASSERT_EQ(set.count(), 6);
    EXPECT_EQ(set.tile(6).full.width(), 48);
    EXPECT_EQ(set.tile(6).full.height(), 32);
    checkOrWrite(kRoot / "resources/samples/sample.qrb", bytes);
}

TEST(SampleLibraries, FuzzSeedsAreUpToDate) {
    for (const auto& [name, bytes] : test::readerFuzzSeeds()) {
        checkOrWrite(kRoot / "fuzz/seeds/fuzz_qrb_reader" / name, bytes);
    }
}

} // namespace
} // namespace qrb
