#include "support/SpecialFiles.h"

#include <cstring>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/un.h>
#include <unistd.h>

namespace qrb::test {

namespace {

bool makeFifo(const std::filesystem::path& path) {
    return ::mkfifo(path.c_str(), 0644) == 0;
}

bool makeSocket(const std::filesystem::path& path) {
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const std::string name = path.string();
    if (fd < 0 || name.size() >= sizeof address.sun_path) {
        return false;
    }
    std::memcpy(address.sun_path, name.c_str(), name.size() + 1);
    // The socket file stays after the socket is closed.
    const bool bound = ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
    ::close(fd);
    return bound;
}

bool makeDevice(const std::filesystem::path& path) {
    // A private node of the null device: nothing outside the test folder is at risk.
    return ::mknod(path.c_str(), S_IFCHR | 0666, makedev(1, 3)) == 0;
}

bool makeFolder(const std::filesystem::path& path) {
    return std::filesystem::create_directory(path);
}

} // namespace

std::vector<SpecialFile> specialFiles() {
    return {
        {"fifo", makeFifo}, {"socket", makeSocket}, {"device", makeDevice}, {"folder", makeFolder}};
}

HangGuard::HangGuard(unsigned seconds) {
    ::alarm(seconds);
}

HangGuard::~HangGuard() {
    ::alarm(0);
}

} // namespace qrb::test
