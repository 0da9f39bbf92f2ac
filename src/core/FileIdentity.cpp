#include "core/FileIdentity.h"

#include <sys/stat.h>

namespace qrb {

std::optional<FileIdentity> identityOf(const std::filesystem::path& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0)
        return std::nullopt;
    return FileIdentity{std::uint64_t(info.st_dev), std::uint64_t(info.st_ino),
                        std::int64_t(info.st_size), std::int64_t(info.st_mtim.tv_sec),
                        std::int64_t(info.st_mtim.tv_nsec)};
}

} // namespace qrb
