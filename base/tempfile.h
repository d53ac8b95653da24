#pragma once

// The system steps of the safe save that the C++ library does not offer:
// creating a file with its final permissions before the first byte, flushing
// it and its folder to the disk, and telling a temporary file that a store in
// progress still uses from one a killed store left behind.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string_view>
#include <system_error>

namespace pellix {

class TTempFile {
public:
    TTempFile() = default;
    ~TTempFile() { Close(); }
    TTempFile(const TTempFile&) = delete;
    TTempFile& operator=(const TTempFile&) = delete;

    // Creates path, which must not exist, for writing. With perms the file has
    // exactly those permissions before anything is written; without, the
    // system's defaults for a new file. The file is marked as in use until
    // Close, so that RemoveIfAbandoned leaves it alone.
    std::error_code Create(const std::filesystem::path& path,
                           std::optional<std::filesystem::perms> perms);

    // Writes all of bytes, then flushes them to the disk.
    std::error_code WriteAndSync(std::string_view bytes);

    // Whether renaming the file over target keeps target's identity: its
    // owner and group (given to the file here where the system allows it) and
    // its other hard links, which a rename would split off.
    bool TakeIdentityOf(const std::filesystem::path& target);

    // Called before the file is renamed (where an open file cannot be).
    void BeforeRename();

    void Close();

private:
    std::intptr_t FHandle = -1; // file descriptor or HANDLE; -1 when closed
};

// Writes bytes over the content of the existing file path in place and
// flushes them to the disk. touched tells, on failure, whether the file may
// have been changed already.
std::error_code WriteInPlace(const std::filesystem::path& path, std::string_view bytes,
                             bool& touched);

// The file a symbolic link at path leads to, or path itself where it is no
// link. Where the link leads nowhere, ec tells why and path itself is returned.
inline std::filesystem::path FollowLink(const std::filesystem::path& path, std::error_code& ec) {
    ec.clear();
    std::error_code missing; // a path that is not there is no link
    if (!std::filesystem::is_symlink(std::filesystem::symlink_status(path, missing)))
        return path;
    std::filesystem::path target = std::filesystem::canonical(path, ec);
    return ec ? path : target;
}

// Keeps every other holder of a lock on the same file, in this or another
// process, waiting while it lives, so that a read, the changes made from it and
// their store are one step. It survives the store's replacing of the file,
// and is advisory: it binds only those that take it. Waits as long as another
// holds it; where the system refuses a lock, there is none.
class TFileLock {
public:
    explicit TFileLock(const std::filesystem::path& path);
    ~TFileLock();
    TFileLock(const TFileLock&) = delete;
    TFileLock& operator=(const TFileLock&) = delete;

private:
    std::intptr_t FHandle = -1; // folder descriptor or mutex HANDLE; -1 for none
};

// Flushes the entries of folder (a rename in it) to the disk; best effort.
void SyncFolder(const std::filesystem::path& folder);

// Removes path when it is a regular file that no store is writing any more.
// Returns whether it was removed.
bool RemoveIfAbandoned(const std::filesystem::path& path);

} // namespace pellix
