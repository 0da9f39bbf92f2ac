#include "cli/Command.h"

#include "core/InputText.h"
#include "core/MemorySize.h"
#include "core/OrderedWork.h"

#include <charconv>

namespace qrb::cli {

namespace {

const char* const kMaxMemory = "--max-memory";
const char* const kJobs = "--jobs";
// More threads than this would only wait for one another.
constexpr int kMostJobs = 1024;

} // namespace

const char* const kOutputNote =
    "Output files are replaced atomically: the old file stays whole until the new one is\n"
    "complete, and a write that fails leaves it as it was. A write killed in the instant\n"
    "between naming the complete file and putting it in place (or at any time on a file\n"
    "system without unnamed files) leaves a hidden .NAME.qrbtmp-XXXXXX beside the old\n"
    "file; the next write of that file removes it. No other file is ever removed. A\n"
    "command that writes several files (sheet's PNG pages, export's bitmaps) writes all or\n"
    "none (only a run killed while renaming them into place can leave some replaced). When\n"
    "an output is a symbolic link, the file it points to is replaced, or created where it\n"
    "points; a loop of links is refused, and so is an output that is a folder, FIFO,\n"
    "socket or device. In a folder that is sticky and writable by everyone (/tmp), a link\n"
    "is followed only when it is yours or the folder owner's.\n";

const char* const kMemoryNote =
    "Reading decodes every image to 24 bits a pixel, so a 1-bit image takes 24 times its\n"
    "size in the file. A library whose images need more memory than the budget is refused\n"
    "before any image is read. The budget is the smaller of 2 GiB and half the physical\n"
    "memory unless --max-memory SIZE sets it: a number of bytes with an optional unit K, M,\n"
    "G or T (1024-based), e.g. 512M or 4G. info and check read no pixels and need none;\n"
    "convert holds one tile at a time, so only its largest tile must fit; letter holds IN,\n"
    "one new tile and the table's pictures and icons; sheet holds IN and a band of the PNG\n"
    "page it draws, within the budget. A library is checked whole before any image is\n"
    "allocated.\n";

const char* const kJobsNote =
    "--jobs N does the work on N threads (the default is one a core); the output is the\n"
    "same byte for byte and in the same order as with --jobs 1, which works on one. The\n"
    "items in hand at once (rows, pictures, bands of a page) are counted against the\n"
    "memory limit, and an error names the first item in order that fails.\n";

namespace {

long long parseNumber(const std::string& text, const std::string& list) {
    long long value = 0;
    const char* end = text.data() + text.size();
    auto [ptr, ec] = std::from_chars(text.data(), end, value);
    if (text.empty() || ec != std::errc() || ptr != end || value < 1) {
        throw UsageError("bad tile list " + quotedInput(list, 60, '\'') + ": " +
                         quotedInput(text, 60, '\'') + " is not a tile number (1, 2, ...)");
    }
    return value;
}

} // namespace

std::vector<TileRange> parseTileList(const std::string& list) {
    std::vector<TileRange> ranges;
    std::size_t start = 0;
    while (true) {
        const std::size_t comma = list.find(',', start);
        const std::string item = list.substr(start, comma - start);
        const std::size_t dash = item.find('-');
        if (dash == std::string::npos) {
            const long long n = parseNumber(item, list);
            ranges.emplace_back(n, n);
        } else {
            const long long first = parseNumber(item.substr(0, dash), list);
            const long long last = parseNumber(item.substr(dash + 1), list);
            if (last < first) {
                throw UsageError("bad tile list " + quotedInput(list, 60, '\'') + ": the range " +
                                 quotedInput(item, 60, '\'') + " runs backwards");
            }
            ranges.emplace_back(first, last);
        }
        if (comma == std::string::npos) {
            break;
        }
        start = comma + 1;
    }
    return ranges;
}

int parseCount(const std::string& text, const std::string& option, int least, int most) {
    long long value = 0;
    bool digits = !text.empty() && text.size() <= 9;
    for (const char c : text)
        digits = digits && c >= '0' && c <= '9';
    if (digits)
        value = std::stoll(text);
    if (!digits || value < least || value > most)
        throw UsageError(quotedInput(text, 60, '\'') + " is not a number from " +
                         std::to_string(least) + " to " + std::to_string(most) + " for " + option);
    return int(value);
}

std::pair<int, int> parseDimensions(const std::string& text, const std::string& option, int most) {
    const std::size_t x = text.find_first_of("xX");
    try {
        if (x == std::string::npos)
            throw UsageError("");
        return {parseCount(text.substr(0, x), option, 1, most),
                parseCount(text.substr(x + 1), option, 1, most)};
    } catch (const UsageError&) {
        throw UsageError(quotedInput(text, 60, '\'') + " is not a size WxH for " + option +
                         " (e.g. 32x32, each from 1 to " + std::to_string(most) + ")");
    }
}

ArgumentParser withMemoryOption() {
    ArgumentParser options;
    options.option(kMaxMemory, "SIZE", "memory the decoded images may take (512M, 2G, ...)");
    return options;
}

ArgumentParser withBatchOptions() {
    ArgumentParser options = withMemoryOption();
    options.option(kJobs, "N", "threads to work on (default: one a core)");
    return options;
}

int jobCount(const ParsedArguments& args) {
    const auto text = args.value(kJobs);
    return text ? parseCount(*text, kJobs, 1, kMostJobs) : batchThreads();
}

std::uint64_t memoryBudget(const ParsedArguments& args) {
    const auto text = args.value(kMaxMemory);
    if (!text) {
        return defaultMemoryBudget();
    }
    const auto size = parseMemorySize(*text);
    if (!size) {
        throw UsageError("bad size " + quotedInput(*text, 60, '\'') +
                         " for --max-memory (for example 512M or 2G)");
    }
    return *size;
}

} // namespace qrb::cli
