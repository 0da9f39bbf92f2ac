#pragma once
// Runs the built qrbtool as a user's shell would, for the command-line tests.

#include "support/TempDir.h"

#include <cstdlib>
#include <filesystem>
#include <string>
#include <sys/wait.h>
#include <vector>

namespace qrb::test {

struct Result {
    int code = -1;
    std::string out;
    std::string err;
};

inline std::string quoted(const std::string& arg) {
    std::string q = "'";
    for (char c : arg) {
        q += c == '\'' ? std::string("'\\''") : std::string(1, c);
    }
    return q + "'";
}

// Runs the built qrbtool with `args`, inside `dir`; its output goes to `output` when given.
// `environment` ("NAME=value ...") is set for it alone. A run that hangs is ended after a
// minute (exit code 124).
inline Result run(const TempDir& dir, const std::vector<std::string>& args,
                  const std::string& output = ".out", const std::string& environment = "") {
    std::string command = "cd " + quoted(dir.path().string()) + " && " + environment +
                          " timeout 60 " + quoted(QRBTOOL_PATH);
    for (const auto& a : args) {
        command += " " + quoted(a);
    }
    command += " >" + output + " 2>.err";
    const int status = std::system(command.c_str());
    auto take = [&dir](const char* name) {
        const auto bytes = readFile(dir / name);
        std::filesystem::remove(dir / name);
        return std::string(bytes.begin(), bytes.end());
    };
    return Result{WIFEXITED(status) ? WEXITSTATUS(status) : -1, take(".out"), take(".err")};
}

} // namespace qrb::test
