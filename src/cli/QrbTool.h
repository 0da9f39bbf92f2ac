#pragma once
// qrbtool: inspect, check, convert, export, split and print tile libraries, and letter
// new tiles from a table, from the command line. The commands and their output are a
// stable interface for scripts.

#include <ostream>
#include <string>
#include <vector>

namespace qrb {

class QrbTool {
public:
    // Exit codes.
    static constexpr int kOk = 0;
    static constexpr int kFailed = 1;     // bad input file or input/output failure
    static constexpr int kUsageError = 2; // wrong command line

    // Runs one command; `args` excludes the program name. Results go to `out`, errors to
    // `err` as one line "error: ...". Output that cannot be written (a full disk, a closed
    // pipe) makes any command fail with kFailed.
    static int run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
};

} // namespace qrb
