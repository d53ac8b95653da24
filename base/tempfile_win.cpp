#include "tempfile.h"

#include "hashname.h"

// windows.h first: the other Windows headers build on it.
#include <windows.h>

#include <cwctype>
#include <string>

namespace pellix {

namespace {

std::error_code LastError() {
    return {static_cast<int>(::GetLastError()), std::system_category()};
}

// Writes all of bytes at the file's position, ends the file there and flushes
// it to the disk.
std::error_code WriteAllAndSync(HANDLE h, std::string_view bytes) {
    while (!bytes.empty()) {
        const DWORD chunk =
            bytes.size() > 0x40000000 ? 0x40000000 : static_cast<DWORD>(bytes.size());
        DWORD written = 0;
        if (!::WriteFile(h, bytes.data(), chunk, &written, nullptr))
            return LastError();
        bytes.remove_prefix(written);
    }
    if (!::SetEndOfFile(h) || !::FlushFileBuffers(h))
        return LastError();
    return {};
}

} // namespace

std::error_code TTempFile::Create(const std::filesystem::path& path,
                                  std::optional<std::filesystem::perms>) {
    Close();
    // Not shared for deleting: RemoveIfAbandoned cannot take it while it is open.
    HANDLE h = ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                             FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return LastError();
    FHandle = reinterpret_cast<std::intptr_t>(h);
    return {};
}

std::error_code TTempFile::WriteAndSync(std::string_view bytes) {
    return WriteAllAndSync(reinterpret_cast<HANDLE>(FHandle), bytes);
}

bool TTempFile::TakeIdentityOf(const std::filesystem::path& target) {
    // The owner and the permissions come from the folder: only hard links
    // would be lost (the C library's stat counts one link always).
    HANDLE h =
        ::CreateFileW(target.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                      nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return true;
    BY_HANDLE_FILE_INFORMATION info{};
    const bool linked = ::GetFileInformationByHandle(h, &info) && info.nNumberOfLinks > 1;
    ::CloseHandle(h);
    return !linked;
}

void TTempFile::BeforeRename() {
    Close(); // Windows does not rename a file that is open without delete sharing
}

void TTempFile::Close() {
    if (FHandle != -1)
        ::CloseHandle(reinterpret_cast<HANDLE>(FHandle));
    FHandle = -1;
}

std::error_code WriteInPlace(const std::filesystem::path& path, std::string_view bytes,
                             bool& touched) {
    touched = false;
    HANDLE h = ::CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                             nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return LastError();
    touched = true;
    const std::error_code ec = WriteAllAndSync(h, bytes);
    ::CloseHandle(h);
    return ec;
}

void SyncFolder(const std::filesystem::path&) {
    // NTFS journals the rename itself; a folder cannot be flushed.
}

bool RemoveIfAbandoned(const std::filesystem::path& path) {
    // Opening without sharing fails while a store has the file open.
    HANDLE h = ::CreateFileW(path.c_str(), DELETE, 0, nullptr, OPEN_EXISTING,
                             FILE_FLAG_DELETE_ON_CLOSE | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return false;
    ::CloseHandle(h);
    return true;
}

// A mutex named after the file's full path, in the session's namespace.
TFileLock::TFileLock(const std::filesystem::path& path) {
    std::error_code ec;
    std::wstring name =
        std::filesystem::weakly_canonical(std::filesystem::absolute(path, ec), ec).wstring();
    if (ec)
        name = path.wstring();
    // Windows' file names ignore case; a hash keeps the mutex name short.
    for (wchar_t& c : name)
        c = static_cast<wchar_t>(std::towlower(static_cast<wint_t>(c)));
    const std::string digits = HashName(std::wstring_view(name));
    const std::wstring mutexName =
        L"Local\\pellix-settings-" + std::wstring(digits.begin(), digits.end());
    HANDLE h = ::CreateMutexW(nullptr, FALSE, mutexName.c_str());
    if (h == nullptr)
        return;
    // WAIT_ABANDONED: the holder ended without letting go; it is ours now.
    const DWORD waited = ::WaitForSingleObject(h, INFINITE);
    if (waited != WAIT_OBJECT_0 && waited != WAIT_ABANDONED) {
        ::CloseHandle(h);
        return;
    }
    FHandle = reinterpret_cast<std::intptr_t>(h);
}

TFileLock::~TFileLock() {
    if (FHandle != -1) {
        ::ReleaseMutex(reinterpret_cast<HANDLE>(FHandle));
        ::CloseHandle(reinterpret_cast<HANDLE>(FHandle));
    }
}

} // namespace pellix
