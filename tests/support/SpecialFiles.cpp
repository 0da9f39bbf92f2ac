#include "support/SpecialFiles.h"

#include <cstring>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/un.h>
#include <unistd.h>

namespace qrb::test {

std::vector<SpecialFile> specialFiles() {
    using Path = const std::filesystem::path&;
    return {
        {"fifo", [](Path p) { return ::mkfifo(p.c_str(), 0644) == 0; }},
        {"socket",
         [](Path p) {
             sockaddr_un address{};
             address.sun_family = AF_UNIX;
             std::strncpy(address.sun_path, p.c_str(), sizeof address.sun_path - 1);
             const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
             // The socket file stays after the socket is closed.
             const bool bound =
                 ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
             ::close(fd);
             return bound;
         }},
        // A private node of the null device: nothing outside the test folder is at risk.
        {"device", [](Path p) { return ::mknod(p.c_str(), S_IFCHR | 0666, makedev(1, 3)) == 0; }},
        {"folder", [](Path p) { return std::filesystem::create_directory(p); }},
    };
}

} // namespace qrb::test
