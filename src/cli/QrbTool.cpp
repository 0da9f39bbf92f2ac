#include "cli/QrbTool.h"

#include "cli/ArgumentParser.h"
#include "cli/Command.h"
#include "cli/JsonText.h"
#ifdef QRB_DRAWING_COMMANDS
#include "cli/DeckCommand.h"
#include "cli/LetterCommand.h"
#include "cli/TileCommands.h"
#include "cli/sheet/SheetCommands.h"
#endif
#include "core/FileLock.h"
#include "core/InputText.h"
#include "core/MemorySize.h"
#include "tileset/BitmapExporter.h"
#include "tileset/LibraryFile.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <functional>
#include <new>
#include <optional>
#include <set>
#include <stdexcept>
#include <utility>

namespace qrb {

namespace {

using cli::ArgumentParser;
using cli::Command;
using cli::kMemoryNote;
using cli::kOutputNote;
using cli::memoryBudget;
using cli::ParsedArguments;
using cli::parseTileList;
using cli::TileRange;
using cli::UsageError;
using cli::withMemoryOption;

const char* const kOptionsNote =
    "Options go anywhere before \"--\"; every argument after \"--\" is a file name, so\n"
    "\"qrbtool check -- -x.qrb\" checks a file named -x.qrb.\n";

const char* const kJsonNote =
    "info --json writes file names and signatures as UTF-8; a byte that is not valid UTF-8\n"
    "is written as \\ufffd, the replacement character.\n";

const char* const kExitNote =
    "Exit status: 0 success; 1 bad input or input/output failure (the message says what,\n"
    "if anything, was written); 2 usage error. A command that made its change but cannot\n"
    "write its summary (its output on a full disk) exits 0 and says so on the error\n"
    "output, so that a script does not make the change twice; info and check, which\n"
    "change nothing, exit 1 when their output cannot be written.\n";

std::string hexColour(std::uint32_t value) {
    char text[11];
    std::snprintf(text, sizeof text, "0x%08X", value);
    return text;
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

int info(const ParsedArguments& args, std::ostream& out) {
    const std::string& path = args.operands()[0];
    const LibraryHeaders headers = LibraryFile::inspect(path);
    const std::string signature(headers.signature.begin(), headers.signature.end());

    if (args.has("--json")) {
        out << "{\"file\": " << cli::jsonString(path)
            << ", \"signature\": " << cli::jsonString(signature)
            << ", \"version\": " << headers.version << ", \"count\": " << headers.count()
            << ", \"tiles\": [";
        for (int i = 1; i <= headers.count(); ++i) {
            const TileHeaderRecord& r = headers.records[static_cast<std::size_t>(i)];
            auto image = [&](const BitmapInfoHeader& h) {
                out << "{\"width\": " << h.width << ", \"height\": " << h.height
                    << ", \"bits\": " << h.bitCount << "}";
            };
            out << (i > 1 ? ", " : "") << "{\"index\": " << i << ", \"small_colour\": \""
                << hexColour(r.smallColour) << "\", \"full\": ";
            image(r.fullHeader);
            out << ", \"half\": ";
            image(r.halfHeader);
            out << "}";
        }
        out << "]}\n";
        return QrbTool::kOk;
    }

    out << "file: " << escapedControls(path) << "\n"
        << "signature: " << printable(headers.signature) << "\n"
        << "version: " << headers.version << "\n"
        << "tiles: " << headers.count() << "\n";
    for (int i = 1; i <= headers.count(); ++i) {
        const TileHeaderRecord& r = headers.records[static_cast<std::size_t>(i)];
        out << "  " << i << ": small colour " << hexColour(r.smallColour) << ", full "
            << r.fullHeader.width << " x " << r.fullHeader.height << " " << r.fullHeader.bitCount
            << "-bit, half " << r.halfHeader.width << " x " << r.halfHeader.height << " "
            << r.halfHeader.bitCount << "-bit\n";
    }
    return QrbTool::kOk;
}

int check(const ParsedArguments& args, std::ostream& out) {
    const LibraryHeaders headers = LibraryFile::inspect(args.operands()[0]);
    out << "ok: " << headers.count() << " tiles\n";
    return QrbTool::kOk;
}

int convert(const ParsedArguments& args, std::ostream& out) {
    const auto& files = args.operands();
    // Written over its input, the library is read and written back whole: no other writer
    // may change it in between.
    std::optional<FileLock> lock;
    std::error_code error;
    if (std::filesystem::equivalent(files[0], files[1], error))
        lock.emplace(files[1]);
    const int count = LibraryFile::convert(files[0], files[1], memoryBudget(args));
    out << "wrote " << count << " tiles to " << escapedControls(files[1]) << "\n";
    return QrbTool::kOk;
}

#ifndef QRB_DRAWING_COMMANDS
int exportBitmaps(const ParsedArguments& args, std::ostream& out) {
    const auto& files = args.operands();
    if (files[1].empty())
        throw UsageError("PREFIX is empty; name the pictures, e.g. 'tiles/tile'");
    const TileSet set = LibraryFile::load(files[0], {}, memoryBudget(args));
    BitmapExporter::exportAll(set, files[1]);
    if (set.count() > 0) {
        const auto prefix = BitmapExporter::prefixFor(files[1]);
        out << "wrote " << set.count()
            << " bitmaps: " << escapedControls(BitmapExporter::fileNameFor(prefix, 1).string());
        if (set.count() > 1) {
            out << " ... "
                << escapedControls(BitmapExporter::fileNameFor(prefix, set.count()).string());
        }
        out << "\n";
    } else {
        out << "wrote 0 bitmaps: the library has no tiles\n";
    }
    return QrbTool::kOk;
}

#endif

int extract(const ParsedArguments& args, std::ostream& out) {
    const auto& files = args.operands();
    const std::vector<TileRange> ranges = parseTileList(files[2]);
    const TileSet set = LibraryFile::load(files[0], {}, memoryBudget(args));
    std::set<int> chosen;
    for (const auto& [first, last] : ranges) {
        if (last > set.count()) {
            throw FileError(files[0], "tile " + std::to_string(last) +
                                          " is out of range: the library has " +
                                          std::to_string(set.count()) + " tiles");
        }
        for (long long i = first; i <= last; ++i) {
            chosen.insert(static_cast<int>(i));
        }
    }
    const std::vector<int> numbers(chosen.begin(), chosen.end());
    LibraryFile::save(files[1], set, std::span<const int>(numbers));
    out << "wrote " << numbers.size() << " tiles to " << escapedControls(files[1]) << "\n";
    return QrbTool::kOk;
}

// Every command. A new verb is one more entry here.
const std::vector<Command>& commands() {
    static const std::vector<Command> all = [] {
        std::vector<Command> list;
        list.push_back({"info",
                        "FILE",
                        1,
                        "Summary of the library: signature, version, tiles, small colours, image\n"
                        "sizes and bit depths. Checks the whole structure; reads no pixels.",
                        {kJsonNote},
                        ArgumentParser().flag("--json", "one line of JSON instead of text"),
                        info,
                        true});
        list.push_back({"check",
                        "FILE",
                        1,
                        "Check every header, size and length of the library; prints \"ok: N "
                        "tiles\"\nor one line \"error: FILE: ...\" with the tile number and "
                        "byte offset.",
                        {},
                        ArgumentParser(),
                        check,
                        true});
        list.push_back({"convert",
                        "IN OUT",
                        2,
                        "Write IN to OUT in the layout the editor saves (24-bit images,\n"
                        "signature QRBB, version 256).",
                        {kOutputNote, kMemoryNote},
                        withMemoryOption(),
                        convert});
#ifdef QRB_DRAWING_COMMANDS
        list.push_back(cli::exportCommand());
        list.push_back(cli::atlasCommand());
#else
        list.push_back({"export",
                        "FILE PREFIX",
                        2,
                        "Write each tile's full-size image to PREFIX1.bmp, PREFIX2.bmp, ... (a\n"
                        "trailing .bmp on PREFIX is dropped). All or none: when a bitmap cannot\n"
                        "be written, no file is replaced.",
                        {kOutputNote, kMemoryNote},
                        withMemoryOption(),
                        exportBitmaps});
#endif
        list.push_back({"extract",
                        "IN OUT LIST",
                        3,
                        "Write the tiles in LIST (e.g. 2,4-6), in ascending order, as a new\n"
                        "library.",
                        {kOutputNote, kMemoryNote},
                        withMemoryOption(),
                        extract});
#ifdef QRB_DRAWING_COMMANDS
        list.push_back(cli::importCommand());
        list.push_back(cli::moveCommand());
        list.push_back(cli::deleteCommand());
        list.push_back(cli::letterCommand());
        list.push_back(cli::sheetCommand());
        list.push_back(cli::calibrationCommand());
#endif
        for (Command& c : list) {
            c.options.flag("--help", "show this help").alias("-h", "--help");
        }
        return list;
    }();
    return all;
}

std::string indented(const std::string& text, const std::string& indent) {
    std::string out = indent;
    for (std::size_t i = 0; i < text.size(); ++i) {
        out += text[i];
        if (text[i] == '\n' && i + 1 < text.size()) {
            out += indent;
        }
    }
    return out;
}

std::string overview() {
    std::string text =
        "Usage: qrbtool COMMAND [OPTIONS] ARGUMENTS\n"
        "       qrbtool COMMAND --help | qrbtool --help | qrbtool --version\n"
        "Inspect, check, convert, split and print QRB tile library files, build them from\n"
        "pictures, reorder and delete tiles, export them as pictures or deck images, and\n"
        "letter new tiles from a table.\n\nCommands:\n";
    for (const Command& c : commands()) {
        text += "  " + c.usage().substr(std::string("qrbtool ").size()) + "\n" +
                indented(c.summary, "      ") + "\n";
    }
    text += std::string("\n") + kOptionsNote + "\n";
    text += std::string(kOutputNote) + "\n" + kMemoryNote + "\n" + kJsonNote + "\n" + kExitNote;
    return text;
}

std::string helpFor(const Command& c) {
    std::string text = "Usage: " + c.usage() + "\n" + c.summary + "\n\nOptions:\n" +
                       c.options.describe() + "\n" + kOptionsNote;
    for (const char* note : c.notes) {
        text += std::string("\n") + note;
    }
    return text + "\n" + kExitNote;
}

const Command* findCommand(const std::string& name) {
    const auto& all = commands();
    const auto it =
        std::find_if(all.begin(), all.end(), [&](const Command& c) { return c.name == name; });
    return it == all.end() ? nullptr : &*it;
}

const Command& commandNamed(const std::string& name) {
    if (const Command* c = findCommand(name)) {
        return *c;
    }
    throw UsageError("unknown command '" + name + "'");
}

// Runs the command line; `current` is set once the command is known (for the hint after
// a usage error), `ran` once it has run.
int dispatch(const std::vector<std::string>& args, std::ostream& out, const Command*& current,
             bool& ran) {
    if (args.empty()) {
        throw UsageError("no command given");
    }
    const std::string& first = args[0];
    if (first == "--help" || first == "-h" || first == "help") {
        if (first == "help" && args.size() == 2) {
            out << helpFor(commandNamed(args[1]));
        } else if (args.size() == 1) {
            out << overview();
        } else {
            throw UsageError("unexpected argument '" + args[1] + "' after " + first);
        }
        return QrbTool::kOk;
    }
    if (first == "--version") {
        if (args.size() > 1) {
            throw UsageError("unexpected argument '" + args[1] + "' after --version");
        }
        out << "qrbtool " << QRB_VERSION << "\n";
        return QrbTool::kOk;
    }
    if (first.size() > 1 && first[0] == '-') {
        throw UsageError("unknown option '" + first + "' (the command comes first)");
    }
    const Command& command = commandNamed(first);
    current = &command;
    const ParsedArguments parsed =
        command.options.parse(std::span<const std::string>(args).subspan(1));
    if (parsed.has("--help")) {
        out << helpFor(command);
        return QrbTool::kOk;
    }
    // "IMAGE..." at the end: one or more.
    const bool more = command.operands.ends_with("...");
    const std::size_t given = parsed.operands().size();
    if (more ? given < command.operandCount : given != command.operandCount) {
        throw UsageError(
            std::string(given < command.operandCount ? "missing arguments" : "too many arguments") +
            "; usage: " + command.usage());
    }
    const int code = command.run(parsed, out);
    ran = true;
    return code;
}

} // namespace

int QrbTool::run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    const Command* command = nullptr;
    bool ran = false;
    int code = kOk;
    try {
        code = dispatch(args, out, command, ran);
    } catch (const UsageError& e) {
        err << "error: " << escapedControls(e.what()) << "\n"
            << "Try 'qrbtool " << (command ? command->name + " " : std::string()) << "--help' "
            << "for more information.\n";
        return kUsageError;
    } catch (const std::bad_alloc&) {
        // The readers say what they were reading and how much it needed; this is what is
        // left: memory ran out elsewhere.
        err << "error: out of memory"
            << (command ? " while running 'qrbtool " + command->name + "'" : std::string())
            << "; try smaller inputs or free some memory\n";
        code = kFailed;
    } catch (const std::exception& e) {
        // Messages quote what they were given; nothing in them may steer the terminal.
        err << "error: " << escapedControls(e.what()) << "\n";
        code = kFailed;
    }
    // Results that never reached their reader are a failure, unless the command changed
    // files and only its summary was lost. A write that failed already (output larger than
    // the stream's buffer) left its reason in errno; otherwise the flush gives it.
    const bool failedEarlier = !out;
    const int earlier = errno;
    errno = 0;
    out.flush();
    const int error = failedEarlier ? earlier : errno;
    if (!out) {
        const std::string reason = error != 0 ? std::string(": ") + std::strerror(error) : "";
        // The files are written; failing now would have a script make the change again.
        if (ran && code == kOk && !command->readsOnly) {
            err << "note: cannot write the summary" << reason << "; the change was made\n";
            return kOk;
        }
        err << "error: cannot write the output" << reason << "\n";
        return kFailed;
    }
    return code;
}

} // namespace qrb
