#pragma once
// What tells one state of a file from another without reading it: the file it is (device
// and inode), its size and its modification time. A library's file is compared with the
// identity it had when it was last read or written, to notice another program's change.

#include <cstdint>
#include <filesystem>
#include <optional>

namespace qrb {

struct FileIdentity {
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    std::int64_t size = 0;
    std::int64_t modifiedSeconds = 0;
    std::int64_t modifiedNanoseconds = 0;
    bool operator==(const FileIdentity&) const = default;
};

// The identity of the file `path` names (following links); empty when there is none.
std::optional<FileIdentity> identityOf(const std::filesystem::path& path);

} // namespace qrb
