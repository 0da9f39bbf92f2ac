#include "core/InputFile.h"

#include "core/FileError.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace qrb {

namespace {

// An input buffer over a file descriptor that throws FileError on a failed read, so the
// stream that owns it (with badbit exceptions on) hands the reason to its caller.
class FdInputBuffer : public std::streambuf {
public:
    FdInputBuffer(int fd, std::filesystem::path name)
        : fd_(fd), name_(std::move(name)), buffer_(kBufferSize) {
        setg(buffer_.data(), buffer_.data(), buffer_.data());
    }

protected:
    int_type underflow() override {
        if (gptr() < egptr()) {
            return traits_type::to_int_type(*gptr());
        }
        const std::size_t n = readSome(buffer_.data(), nextFill_);
        // Reads right after a seek are small (a reader skipping pixel rows wants the next
        // header, not the next 256 KiB); sequential reads grow back to the whole buffer.
        nextFill_ = std::min(nextFill_ * 2, buffer_.size());
        setg(buffer_.data(), buffer_.data(), buffer_.data() + n);
        return n == 0 ? traits_type::eof() : traits_type::to_int_type(*gptr());
    }

    std::streamsize xsgetn(char* data, std::streamsize count) override {
        auto wanted = static_cast<std::size_t>(count);
        std::size_t done = 0;
        // First what is buffered, then large blocks (pixel rows) straight from the file
        // into their place, so that they are copied once.
        const auto buffered = std::min(wanted, static_cast<std::size_t>(egptr() - gptr()));
        std::memcpy(data, gptr(), buffered);
        gbump(static_cast<int>(buffered));
        done += buffered;
        while (done < wanted) {
            if (wanted - done >= kDirectRead) {
                // The buffer no longer holds the bytes just before the file offset. What
                // follows a large block is usually a small header: fill little next time.
                setg(buffer_.data(), buffer_.data(), buffer_.data());
                nextFill_ = kFirstFill;
                const std::size_t n = readSome(data + done, wanted - done);
                if (n == 0) {
                    break;
                }
                done += n;
            } else {
                if (traits_type::eq_int_type(underflow(), traits_type::eof())) {
                    break;
                }
                const auto part =
                    std::min(wanted - done, static_cast<std::size_t>(egptr() - gptr()));
                std::memcpy(data + done, gptr(), part);
                gbump(static_cast<int>(part));
                done += part;
            }
        }
        return static_cast<std::streamsize>(done);
    }

    pos_type seekoff(off_type off, std::ios_base::seekdir dir,
                     std::ios_base::openmode which) override {
        if (!(which & std::ios_base::in) || dir == std::ios_base::end) {
            return pos_type(off_type(-1));
        }
        const off_type here = fileOffset_ - (egptr() - gptr());
        const off_type target = dir == std::ios_base::cur ? here + off : off;
        return seekTo(target);
    }

    pos_type seekpos(pos_type pos, std::ios_base::openmode which) override {
        return seekoff(off_type(pos), std::ios_base::beg, which);
    }

private:
    static constexpr std::size_t kBufferSize = 256 * 1024;
    static constexpr std::size_t kFirstFill = 4096;
    static constexpr std::size_t kDirectRead = 64 * 1024;

    pos_type seekTo(off_type target) {
        if (target < 0) {
            return pos_type(off_type(-1));
        }
        const off_type bufferStart = fileOffset_ - (egptr() - eback());
        if (target >= bufferStart && target <= fileOffset_) {
            setg(eback(), eback() + (target - bufferStart), egptr());
            return pos_type(target);
        }
        // Reads say where they read from, so a seek costs no system call.
        fileOffset_ = target;
        nextFill_ = kFirstFill;
        setg(buffer_.data(), buffer_.data(), buffer_.data());
        return pos_type(target);
    }

    std::size_t readSome(char* data, std::size_t n) {
        for (;;) {
            const ssize_t got = ::pread(fd_, data, n, fileOffset_);
            if (got >= 0) {
                fileOffset_ += got;
                return static_cast<std::size_t>(got);
            }
            if (errno != EINTR) {
                throw FileError(name_, "cannot read: " + std::string(std::strerror(errno)));
            }
        }
    }

    int fd_;
    std::filesystem::path name_;
    std::vector<char> buffer_;
    off_type fileOffset_ = 0; // file offset of the byte after the buffered ones
    std::size_t nextFill_ = kBufferSize;
};

[[noreturn]] void refuse(const std::filesystem::path& path, const struct stat& info) {
    throw FileError(path, S_ISDIR(info.st_mode) ? "cannot open: it is a folder"
                                                : "cannot open: it is not a regular file");
}

} // namespace

struct InputFile::Impl {
    std::filesystem::path path;
    int fd = -1;
    std::uint64_t size = 0;
    struct stat opened {};
    std::unique_ptr<FdInputBuffer> buffer;
    std::unique_ptr<std::istream> stream;

    ~Impl() {
        if (fd >= 0) {
            ::close(fd);
        }
    }
};

InputFile::InputFile(std::filesystem::path path) : impl_(std::make_unique<Impl>()) {
    impl_->path = std::move(path);
    const std::filesystem::path& name = impl_->path;
    // Non-blocking, so that opening a FIFO does not wait for a writer before the type
    // check below can refuse it; O_NOCTTY so that a terminal never becomes ours.
    const int fd = ::open(name.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (fd < 0) {
        const int error = errno;
        // A socket cannot be opened at all; say what it is rather than "No such device".
        struct stat info {};
        if (::stat(name.c_str(), &info) == 0 && !S_ISREG(info.st_mode)) {
            refuse(name, info);
        }
        throw FileError(name, "cannot open: " + std::string(std::strerror(error)));
    }
    impl_->fd = fd;
    struct stat info {};
    if (::fstat(fd, &info) != 0) {
        throw FileError(name, "cannot open: " + std::string(std::strerror(errno)));
    }
    if (!S_ISREG(info.st_mode)) {
        refuse(name, info);
    }
    const int flags = ::fcntl(fd, F_GETFL);
    if (flags < 0 || ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) != 0) {
        throw FileError(name, "cannot open: " + std::string(std::strerror(errno)));
    }
    impl_->size = static_cast<std::uint64_t>(info.st_size);
    impl_->opened = info;
    impl_->buffer = std::make_unique<FdInputBuffer>(fd, name);
    impl_->stream = std::make_unique<std::istream>(impl_->buffer.get());
    impl_->stream->exceptions(std::ios::badbit);
}

InputFile::~InputFile() = default;

std::uint64_t InputFile::size() const {
    return impl_->size;
}

std::istream& InputFile::stream() {
    return *impl_->stream;
}

const std::filesystem::path& InputFile::path() const {
    return impl_->path;
}

bool InputFile::unchanged() const {
    const struct stat& was = impl_->opened;
    struct stat now {};
    struct stat named {};
    const auto same = [](const timespec& a, const timespec& b) {
        return a.tv_sec == b.tv_sec && a.tv_nsec == b.tv_nsec;
    };
    return ::fstat(impl_->fd, &now) == 0 && now.st_size == was.st_size &&
           same(now.st_mtim, was.st_mtim) && same(now.st_ctim, was.st_ctim) &&
           ::stat(impl_->path.c_str(), &named) == 0 && named.st_dev == was.st_dev &&
           named.st_ino == was.st_ino;
}

} // namespace qrb
