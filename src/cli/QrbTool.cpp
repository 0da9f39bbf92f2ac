#include "cli/QrbTool.h"

#include "tileset/BitmapExporter.h"
#include "tileset/LibraryFile.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdio>
#include <set>
#include <stdexcept>
#include <utility>

namespace qrb {

namespace {

const char* const kUsage =
    "Usage: qrbtool COMMAND ...\n"
    "Inspect, check, convert and split QRB tile library files.\n"
    "\n"
    "Commands:\n"
    "  info [--json] FILE     summary of the library: signature, version, tiles,\n"
    "                         small colours, image sizes and bit depths\n"
    "  check FILE             read the whole library; prints \"ok: N tiles\" or the\n"
    "                         problem with its tile number and byte offset\n"
    "  convert IN OUT         write IN to OUT in the layout the editor saves\n"
    "                         (24-bit images, signature QRBB, version 256)\n"
    "  export FILE PREFIX     write each tile's full-size image to PREFIX1.bmp,\n"
    "                         PREFIX2.bmp, ... (a trailing .bmp on PREFIX is dropped)\n"
    "  extract IN OUT LIST    write the tiles in LIST (e.g. 2,4-6) as a new library\n"
    "\n"
    "Options:\n"
    "  --help                 show this help\n"
    "  --version              show the version\n"
    "\n"
    "Exit status: 0 success, 1 bad input or input/output failure, 2 usage error.\n";

#ifndef QRB_VERSION
#define QRB_VERSION "2.1"
#endif

class UsageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// One item of a tile list: a single number or an inclusive range.
using TileRange = std::pair<long long, long long>;

long long parseNumber(const std::string& text, const std::string& list) {
    long long value = 0;
    const char* end = text.data() + text.size();
    auto [ptr, ec] = std::from_chars(text.data(), end, value);
    if (text.empty() || ec != std::errc() || ptr != end || value < 1) {
        throw UsageError("bad tile list '" + list + "': '" + text +
                         "' is not a tile number (1, 2, ...)");
    }
    return value;
}

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
                throw UsageError("bad tile list '" + list + "': the range '" + item +
                                 "' runs backwards");
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

std::string hexColour(std::uint32_t value) {
    char text[11];
    std::snprintf(text, sizeof text, "0x%08X", value);
    return text;
}

std::string jsonString(const std::string& text) {
    std::string out = "\"";
    for (unsigned char c : text) {
        if (c == '"' || c == '\\') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c < 0x20 || c >= 0x7F) {
            // Bytes outside printable ASCII are written as the code point of the same
            // value, so any signature and any path give valid JSON.
            char escaped[7];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
            out += escaped;
        } else {
            out += static_cast<char>(c);
        }
    }
    return out + "\"";
}

std::string printable(const std::array<std::uint8_t, 4>& bytes) {
    std::string out;
    for (std::uint8_t b : bytes) {
        if (b >= 0x20 && b < 0x7F) {
            out += static_cast<char>(b);
        } else {
            char escaped[5];
            std::snprintf(escaped, sizeof escaped, "\\x%02X", b);
            out += escaped;
        }
    }
    return out;
}

void requireArgs(const std::vector<std::string>& args, std::size_t n, const char* synopsis) {
    if (args.size() != n) {
        throw UsageError(std::string("usage: qrbtool ") + synopsis);
    }
}

int info(std::vector<std::string> args, std::ostream& out) {
    bool json = false;
    std::vector<std::string> rest;
    for (std::size_t i = 1; i < args.size(); ++i) {
        if (args[i] == "--json") {
            json = true;
        } else {
            rest.push_back(args[i]);
        }
    }
    if (rest.size() != 1) {
        throw UsageError("usage: qrbtool info [--json] FILE");
    }
    const std::string& path = rest[0];
    const TileSet set = LibraryFile::load(path);
    const std::string signature(set.signature.begin(), set.signature.end());

    if (json) {
        out << "{\"file\": " << jsonString(path) << ", \"signature\": " << jsonString(signature)
            << ", \"version\": " << set.version << ", \"count\": " << set.count()
            << ", \"tiles\": [";
        for (int i = 1; i <= set.count(); ++i) {
            const TileHeaderRecord& r = set.headerRecords[static_cast<std::size_t>(i)];
            auto image = [&](const BitmapInfoHeader& h) {
                out << "{\"width\": " << h.width << ", \"height\": " << h.height
                    << ", \"bits\": " << h.bitCount << "}";
            };
            out << (i > 1 ? ", " : "") << "{\"index\": " << i << ", \"small_colour\": \""
                << hexColour(set.tile(i).smallColour) << "\", \"full\": ";
            image(r.fullHeader);
            out << ", \"half\": ";
            image(r.halfHeader);
            out << "}";
        }
        out << "]}\n";
        return QrbTool::kOk;
    }

    out << "file: " << path << "\n"
        << "signature: " << printable(set.signature) << "\n"
        << "version: " << set.version << "\n"
        << "tiles: " << set.count() << "\n";
    for (int i = 1; i <= set.count(); ++i) {
        const TileHeaderRecord& r = set.headerRecords[static_cast<std::size_t>(i)];
        out << "  " << i << ": small colour " << hexColour(set.tile(i).smallColour) << ", full "
            << r.fullHeader.width << " x " << r.fullHeader.height << " " << r.fullHeader.bitCount
            << "-bit, half " << r.halfHeader.width << " x " << r.halfHeader.height << " "
            << r.halfHeader.bitCount << "-bit\n";
    }
    return QrbTool::kOk;
}

int check(const std::vector<std::string>& args, std::ostream& out) {
    requireArgs(args, 2, "check FILE");
    const TileSet set = LibraryFile::load(args[1]);
    out << "ok: " << set.count() << " tiles\n";
    return QrbTool::kOk;
}

int convert(const std::vector<std::string>& args, std::ostream& out) {
    requireArgs(args, 3, "convert IN OUT");
    const TileSet set = LibraryFile::load(args[1]);
    LibraryFile::save(args[2], set);
    out << "wrote " << set.count() << " tiles to " << args[2] << "\n";
    return QrbTool::kOk;
}

int exportBitmaps(const std::vector<std::string>& args, std::ostream& out) {
    requireArgs(args, 3, "export FILE PREFIX");
    const TileSet set = LibraryFile::load(args[1]);
    BitmapExporter::exportAll(set, args[2]);
    if (set.count() > 0) {
        const auto prefix = BitmapExporter::prefixFor(args[2]);
        out << "wrote " << set.count()
            << " bitmaps: " << BitmapExporter::fileNameFor(prefix, 1).string();
        if (set.count() > 1) {
            out << " ... " << BitmapExporter::fileNameFor(prefix, set.count()).string();
        }
        out << "\n";
    } else {
        out << "wrote 0 bitmaps: the library has no tiles\n";
    }
    return QrbTool::kOk;
}

int extract(const std::vector<std::string>& args, std::ostream& out) {
    requireArgs(args, 4, "extract IN OUT LIST");
    const std::vector<TileRange> ranges = parseTileList(args[3]);
    const TileSet set = LibraryFile::load(args[1]);
    std::set<int> chosen;
    for (const auto& [first, last] : ranges) {
        if (last > set.count()) {
            throw FileError(args[1], "tile " + std::to_string(last) +
                                         " is out of range: the library has " +
                                         std::to_string(set.count()) + " tiles");
        }
        for (long long i = first; i <= last; ++i) {
            chosen.insert(static_cast<int>(i));
        }
    }
    const std::vector<int> numbers(chosen.begin(), chosen.end());
    LibraryFile::save(args[2], set, std::span<const int>(numbers));
    out << "wrote " << numbers.size() << " tiles to " << args[2] << "\n";
    return QrbTool::kOk;
}

} // namespace

int QrbTool::run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    try {
        if (args.empty()) {
            throw UsageError("no command given");
        }
        const std::string& command = args[0];
        const bool helpAsked = std::find(args.begin(), args.end(), "--help") != args.end();
        if (helpAsked || command == "-h" || command == "help") {
            out << kUsage;
            return kOk;
        }
        if (command == "--version") {
            out << "qrbtool " << QRB_VERSION << "\n";
            return kOk;
        }
        if (command == "info") {
            return info(args, out);
        }
        if (command == "check") {
            return check(args, out);
        }
        if (command == "convert") {
            return convert(args, out);
        }
        if (command == "export") {
            return exportBitmaps(args, out);
        }
        if (command == "extract") {
            return extract(args, out);
        }
        throw UsageError("unknown command '" + command + "'");
    } catch (const UsageError& e) {
        err << "error: " << e.what() << "\n"
            << "Try 'qrbtool --help' for more information.\n";
        return kUsageError;
    } catch (const FileError& e) {
        err << "error: " << e.what() << "\n";
        return kFailed;
    } catch (const std::exception& e) {
        err << "error: " << e.what() << "\n";
        return kFailed;
    }
}

} // namespace qrb
