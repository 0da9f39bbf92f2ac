#include "core/InputFile.h"

#include "core/FileError.h"

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
        const std::size_t n = readSome(buffer_.data(), buffer_.size());
        setg(buffer_.data(), buffer_.data(), buffer_.data() + n);
        return n == 0 ? traits_type::eof() : traits_type::to_int_type(*gptr());
    }

    std::streamsize xsgetn(char* data, std::streamsize count) override {
        auto wanted = static_cast<std::size_t>(count);
        std::size_t done = 0;
        // First what is buffered, then large blocks (pixel rows) straight from the file.
        const auto buffered = std::min(wanted, static_cast<std::size_t>(egptr() - gptr()));
        std::memcpy(data, gptr(), buffered);
        gbump(static_cast<int>(buffered));
        done += buffered;
        while (done < wanted) {
            if (wanted - done >= buffer_.size()) {
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

private:
    static constexpr std::size_t kBufferSize = 256 * 1024;

    std::size_t readSome(char* data, std::size_t n) {
        for (;;) {
            const ssize_t got = ::read(fd_, data, n);
            if (got >= 0) {
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
};

} // namespace

struct InputFile::Impl {
    std::filesystem::path path;
    int fd = -1;
    std::uint64_t size = 0;
    std::unique_ptr<FdInputBuffer> buffer;
    std::unique_ptr<std::istream> stream;
};

InputFile::InputFile(std::filesystem::path path) : impl_(std::make_unique<Impl>()) {
    impl_->path = std::move(path);
    const int fd = ::open(impl_->path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        throw FileError(impl_->path, "cannot open: " + std::string(std::strerror(errno)));
    }
    impl_->fd = fd;
    struct stat info {};
    if (::fstat(fd, &info) != 0) {
        const int error = errno;
        ::close(fd);
        throw FileError(impl_->path, "cannot open: " + std::string(std::strerror(error)));
    }
    if (S_ISDIR(info.st_mode)) {
        ::close(fd);
        throw FileError(impl_->path, "cannot open: it is a folder");
    }
    if (!S_ISREG(info.st_mode)) {
        ::close(fd);
        throw FileError(impl_->path, "cannot open: it is not a regular file");
    }
    impl_->size = static_cast<std::uint64_t>(info.st_size);
    impl_->buffer = std::make_unique<FdInputBuffer>(fd, impl_->path);
    impl_->stream = std::make_unique<std::istream>(impl_->buffer.get());
    impl_->stream->exceptions(std::ios::badbit);
}

InputFile::~InputFile() {
    if (impl_->fd >= 0) {
        ::close(impl_->fd);
    }
}

std::uint64_t InputFile::size() const {
    return impl_->size;
}

std::istream& InputFile::stream() {
    return *impl_->stream;
}

const std::filesystem::path& InputFile::path() const {
    return impl_->path;
}

} // namespace qrb
