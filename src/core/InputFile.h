#pragma once
// A file opened for reading through a buffered stream whose total size is known up front,
// so readers can check every size against the bytes that remain before allocating.

#include <cstdint>
#include <filesystem>
#include <istream>
#include <memory>

namespace qrb {

class InputFile {
public:
    // Opens `path`. Throws FileError ("cannot open: No such file or directory", "cannot
    // open: it is a folder", "cannot open: it is not a regular file", ...) when it cannot be
    // read. Only regular files are read: a FIFO, socket or device is refused at once,
    // without waiting for a writer or touching the device's data.
    explicit InputFile(std::filesystem::path path);
    ~InputFile();
    InputFile(const InputFile&) = delete;
    InputFile& operator=(const InputFile&) = delete;

    // Size of the file in bytes when it was opened.
    std::uint64_t size() const;
    // The content, from the first byte. A read error (as opposed to the end of the file)
    // sets badbit on the stream. The stream can seek; a seek past what is buffered costs
    // no system call and no read. Large reads go straight from the file into the caller's
    // memory.
    std::istream& stream();
    const std::filesystem::path& path() const;

    // Whether the file is still as it was opened: the same size, modification and status
    // change times, and its path still names it (not replaced by another file, renamed or
    // removed). A reader that reads the file more than once checks this between and after.
    bool unchanged() const;

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

} // namespace qrb
