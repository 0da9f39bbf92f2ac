#pragma once
// Libraries the repository ships, built in code so their content is stated here: the
// bundled sample library and the seed inputs of the library reader's fuzz target.
// tests/tileset/SampleLibrariesTest.cpp checks the committed files against these and,
// with QRB_REGENERATE_SAMPLES=1 in the environment, rewrites them.

#include "support/QrbFixture.h"

#include <string>
#include <utility>
#include <vector>

namespace qrb::test {

// resources/samples/sample.qrb: five 40 x 40 tiles (20 x 20 halves) in clearly different
// colours, each with its own simple motif, and one 48 x 32 tile (24 x 16 half).
QrbFixture sampleLibrary();

// fuzz/seeds/fuzz_qrb_reader/: small libraries in every accepted depth, an empty one and
// a few near-misses. Each pair is a file name and the bytes.
std::vector<std::pair<std::string, std::vector<std::uint8_t>>> readerFuzzSeeds();

} // namespace qrb::test
