#pragma once
// A failure to read or write one file, named by its path. what() is the one-line message
// the user sees: "PATH: reason".

#include "core/InputText.h"

#include <filesystem>
#include <stdexcept>
#include <string>

namespace qrb {

class FileError : public std::runtime_error {
public:
    // The path is shown with its control characters escaped (core/InputText.h).
    FileError(std::filesystem::path path, const std::string& reason)
        : std::runtime_error(escapedControls(path.string()) + ": " + reason),
          path_(std::move(path)), reason_(reason) {}

    // The file concerned.
    const std::filesystem::path& path() const { return path_; }
    // The message without the path, e.g. "cannot open: Permission denied".
    const std::string& reason() const { return reason_; }

private:
    std::filesystem::path path_;
    std::string reason_;
};

} // namespace qrb
