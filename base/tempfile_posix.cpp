#include "tempfile.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace pellix {

namespace {

std::error_code LastError() {
    return {errno, std::generic_category()};
}

bool SameFile(int fd, const std::filesystem::path& path) {
    struct stat opened {};
    struct stat named {};
    return ::fstat(fd, &opened) == 0 && ::lstat(path.c_str(), &named) == 0 &&
           opened.st_dev == named.st_dev && opened.st_ino == named.st_ino;
}

// Writes all of bytes at the file's offset, then flushes them to the disk.
std::error_code WriteAllAndSync(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return LastError();
        }
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    if (::fsync(fd) != 0)
        return LastError();
    return {};
}

} // namespace

std::error_code TTempFile::Create(const std::filesystem::path& path,
                                  std::optional<std::filesystem::perms> perms) {
    Close();
    // Created private and given its final permissions before the first byte.
    const mode_t initial = perms ? S_IRUSR | S_IWUSR : 0666;
    FHandle = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, initial);
    if (FHandle < 0)
        return LastError();
    const int fd = static_cast<int>(FHandle);
    std::error_code ec;
    if (perms && ::fchmod(fd, static_cast<mode_t>(*perms) & 07777) != 0)
        ec = LastError();
    // The lock marks the file as in use; a cleaner may have taken the name
    // away between the creation and the lock.
    if (!ec && ::flock(fd, LOCK_EX) != 0)
        ec = LastError();
    if (!ec && !SameFile(fd, path))
        ec = std::make_error_code(std::errc::operation_canceled);
    if (ec) {
        ::unlink(path.c_str());
        Close();
    }
    return ec;
}

std::error_code TTempFile::WriteAndSync(std::string_view bytes) {
    return WriteAllAndSync(static_cast<int>(FHandle), bytes);
}

bool TTempFile::TakeIdentityOf(const std::filesystem::path& target) {
    struct stat old {};
    struct stat now {};
    const int fd = static_cast<int>(FHandle);
    if (::stat(target.c_str(), &old) != 0 || ::fstat(fd, &now) != 0)
        return true; // nothing to keep
    if (old.st_nlink > 1)
        return false;
    if (old.st_uid == now.st_uid && old.st_gid == now.st_gid)
        return true;
    // A change of owner clears the set-id bits: the permissions go on again.
    return ::fchown(fd, old.st_uid, old.st_gid) == 0 && ::fchmod(fd, old.st_mode & 07777) == 0;
}

void TTempFile::BeforeRename() {
    // POSIX renames an open file; it stays locked until the rename is done.
}

void TTempFile::Close() {
    if (FHandle >= 0)
        ::close(static_cast<int>(FHandle));
    FHandle = -1;
}

std::error_code WriteInPlace(const std::filesystem::path& path, std::string_view bytes,
                             bool& touched) {
    touched = false;
    const int fd = ::open(path.c_str(), O_WRONLY | O_CLOEXEC | O_NOFOLLOW);
    if (fd < 0)
        return LastError();
    touched = true;
    // Cut to the new length first: the flush then covers the length too.
    std::error_code ec;
    if (::ftruncate(fd, static_cast<off_t>(bytes.size())) != 0)
        ec = LastError();
    if (!ec)
        ec = WriteAllAndSync(fd, bytes);
    ::close(fd);
    return ec;
}

void SyncFolder(const std::filesystem::path& folder) {
    const int fd =
        ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return;
    ::fsync(fd);
    ::close(fd);
}

bool RemoveIfAbandoned(const std::filesystem::path& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return false;
    struct stat st {};
    bool removed = false;
    // A store in progress holds the lock; a killed one no longer does.
    if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && ::flock(fd, LOCK_EX | LOCK_NB) == 0 &&
        SameFile(fd, path))
        removed = ::unlink(path.c_str()) == 0;
    ::close(fd);
    return removed;
}

// An advisory flock on the file's folder; none where the folder cannot be opened.
TFileLock::TFileLock(const std::filesystem::path& path) {
    std::error_code ec;
    // The folder, not the file: a store replaces the file with a new one.
    const std::filesystem::path folder = FollowLink(path, ec).parent_path();
    const int fd =
        ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return;
    while (::flock(fd, LOCK_EX) != 0) {
        if (errno != EINTR) {
            ::close(fd);
            return;
        }
    }
    FHandle = fd;
}

TFileLock::~TFileLock() {
    if (FHandle >= 0)
        ::close(static_cast<int>(FHandle)); // releases the lock
}

} // namespace pellix
