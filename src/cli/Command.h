#pragma once
// One qrbtool command, and what several commands share: the notes of their help, tile
// lists and the memory budget of reading a library.

#include "cli/ArgumentParser.h"

#include <cstdint>
#include <functional>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

namespace qrb::cli {

// One command: its operands, options and what it does.
struct Command {
    std::string name;
    std::string operands; // as shown in the synopsis: "IN OUT"
    std::size_t operandCount;
    std::string summary;
    std::vector<const char*> notes;
    ArgumentParser options;
    std::function<int(const ParsedArguments&, std::ostream&)> run;
    // Changes no file (info, check): its output is all it gives.
    bool readsOnly = false;

    std::string usage() const {
        const std::string opts = options.synopsis();
        return "qrbtool " + name + (opts.empty() ? "" : " " + opts) + " " + operands;
    }
};

// Help notes: how outputs are written, and the memory budget of reading.
extern const char* const kOutputNote;
extern const char* const kMemoryNote;
extern const char* const kJobsNote;

// One item of a tile list: a single number or an inclusive range.
using TileRange = std::pair<long long, long long>;

// "2,4-6": tile numbers and ranges, in the order given. Throws UsageError for anything
// else (a number below 1, a range that runs backwards, an empty item).
std::vector<TileRange> parseTileList(const std::string& list);

// A whole number from `least` to `most` given to `option`; UsageError otherwise.
int parseCount(const std::string& text, const std::string& option, int least, int most);
// "32x32" (or "32X32") given to `option`: two whole numbers from 1 to `most`; UsageError
// otherwise.
std::pair<int, int> parseDimensions(const std::string& text, const std::string& option, int most);

// Options with --max-memory SIZE.
ArgumentParser withMemoryOption();
// Options with --max-memory SIZE and --jobs N: a batch command's.
ArgumentParser withBatchOptions();
// The threads --jobs N sets, or every core without it; throws UsageError for a bad count.
int jobCount(const ParsedArguments& args);
// The budget --max-memory sets, or the default without it; throws UsageError for a bad size.
std::uint64_t memoryBudget(const ParsedArguments& args);

} // namespace qrb::cli
