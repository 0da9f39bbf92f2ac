#include "core/AtomicFile.h"

#include "core/FileError.h"

#include <array>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace qrb {

namespace {

std::string systemReason(int error) {
    return std::strerror(error);
}

// An output buffer over a file descriptor that throws FileError on a failed write, so the
// stream that owns it (with badbit exceptions on) hands the reason to its caller.
class FdOutputBuffer : public std::streambuf {
public:
    FdOutputBuffer(int fd, std::filesystem::path name)
        : fd_(fd), name_(std::move(name)), buffer_(kBufferSize) {
        setp(buffer_.data(), buffer_.data() + buffer_.size());
    }

    // Writes out what is buffered; throws FileError on failure.
    void flushBuffer() {
        writeAll(pbase(), static_cast<std::size_t>(pptr() - pbase()));
        setp(buffer_.data(), buffer_.data() + buffer_.size());
    }

protected:
    int_type overflow(int_type ch) override {
        flushBuffer();
        if (!traits_type::eq_int_type(ch, traits_type::eof())) {
            *pptr() = traits_type::to_char_type(ch);
            pbump(1);
        }
        return traits_type::not_eof(ch);
    }

    std::streamsize xsputn(const char* data, std::streamsize count) override {
        const auto n = static_cast<std::size_t>(count);
        if (n <= static_cast<std::size_t>(epptr() - pptr())) {
            std::memcpy(pptr(), data, n);
            pbump(static_cast<int>(n));
            return count;
        }
        // Large blocks (pixel rows) go straight to the file.
        flushBuffer();
        if (n < buffer_.size()) {
            std::memcpy(pptr(), data, n);
            pbump(static_cast<int>(n));
        } else {
            writeAll(data, n);
        }
        return count;
    }

    int sync() override {
        flushBuffer();
        return 0;
    }

private:
    static constexpr std::size_t kBufferSize = 256 * 1024;

    void writeAll(const char* data, std::size_t n) {
        while (n > 0) {
            const ssize_t written = ::write(fd_, data, n);
            if (written < 0) {
                if (errno == EINTR) {
                    continue;
                }
                throw FileError(name_, "cannot write: " + systemReason(errno));
            }
            data += written;
            n -= static_cast<std::size_t>(written);
        }
    }

    int fd_;
    std::filesystem::path name_;
    std::vector<char> buffer_;
};

} // namespace

struct AtomicFile::Impl {
    std::filesystem::path given;
    std::filesystem::path target;
    std::filesystem::path temp;
    int fd = -1;
    bool committed = false;
    std::unique_ptr<FdOutputBuffer> buffer;
    std::unique_ptr<std::ostream> stream;

    void discard() {
        if (fd >= 0) {
            ::close(fd);
            fd = -1;
        }
        if (!temp.empty()) {
            ::unlink(temp.c_str());
            temp.clear();
        }
    }
};

AtomicFile::AtomicFile(std::filesystem::path target) : impl_(std::make_unique<Impl>()) {
    impl_->given = target;
    std::error_code ec;
    if (std::filesystem::is_symlink(target, ec)) {
        // Replace the file the link points to, not the link itself.
        auto resolved = std::filesystem::weakly_canonical(target, ec);
        if (!ec) {
            target = resolved;
        }
    }
    impl_->target = target;

    std::filesystem::path folder = target.parent_path();
    if (folder.empty()) {
        folder = ".";
    }
    // A hidden name beside the target: ".NAME.XXXXXX" (built step by step; a chained
    // concatenation trips a false g++ 12 warning in optimised builds).
    std::string hidden(".");
    hidden.append(target.filename().string());
    hidden.append(".XXXXXX");
    const std::string pattern = (folder / hidden).string();
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    const int fd = ::mkstemp(name.data());
    if (fd < 0) {
        throw FileError(impl_->given,
                        "cannot create a new file in its folder: " + systemReason(errno));
    }
    ::fcntl(fd, F_SETFD, FD_CLOEXEC);
    impl_->fd = fd;
    impl_->temp = name.data();

    // The new file gets the old file's permissions, or the usual ones for a new file.
    struct stat old {};
    mode_t mode = 0;
    if (::stat(target.c_str(), &old) == 0 && S_ISREG(old.st_mode)) {
        mode = old.st_mode & 07777;
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        mode = 0666 & ~mask;
    }
    ::fchmod(fd, mode);

    impl_->buffer = std::make_unique<FdOutputBuffer>(fd, impl_->given);
    impl_->stream = std::make_unique<std::ostream>(impl_->buffer.get());
    impl_->stream->exceptions(std::ios::badbit);
}

AtomicFile::~AtomicFile() {
    if (!impl_->committed) {
        impl_->discard();
    }
}

std::ostream& AtomicFile::stream() {
    return *impl_->stream;
}

const std::filesystem::path& AtomicFile::target() const {
    return impl_->target;
}

void AtomicFile::commit() {
    Impl& d = *impl_;
    if (d.committed || d.fd < 0) {
        throw FileError(d.given, "cannot write: the file was already closed");
    }
    try {
        if (!*d.stream) {
            throw FileError(d.given, "cannot write: the output failed");
        }
        d.buffer->flushBuffer();
        if (::fsync(d.fd) != 0) {
            throw FileError(d.given, "cannot write to disk: " + systemReason(errno));
        }
        const int fd = d.fd;
        d.fd = -1;
        if (::close(fd) != 0) {
            throw FileError(d.given, "cannot write to disk: " + systemReason(errno));
        }
        if (::rename(d.temp.c_str(), d.target.c_str()) != 0) {
            throw FileError(d.given, "cannot replace the file: " + systemReason(errno));
        }
    } catch (...) {
        d.discard();
        throw;
    }
    d.temp.clear();
    d.committed = true;

    // Make the rename itself durable; a failure here no longer endangers any data.
    std::filesystem::path folder = d.target.parent_path();
    if (folder.empty()) {
        folder = ".";
    }
    const int dirFd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dirFd >= 0) {
        ::fsync(dirFd);
        ::close(dirFd);
    }
}

} // namespace qrb
