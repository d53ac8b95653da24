#include "tempfile.h"

// windows.h first: the other Windows headers build on it.
#include <windows.h>

namespace pellix {

namespace {

std::error_code LastError() {
    return {static_cast<int>(::GetLastError()), std::system_category()};
}

} // namespace

TTempFile::~TTempFile() {
    Close();
}

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
    const auto Handle = [this] { return reinterpret_cast<HANDLE>(FHandle); };
    while (!bytes.empty()) {
        const DWORD chunk =
            bytes.size() > 0x40000000 ? 0x40000000 : static_cast<DWORD>(bytes.size());
        DWORD written = 0;
        if (!::WriteFile(Handle(), bytes.data(), chunk, &written, nullptr))
            return LastError();
        bytes.remove_prefix(written);
    }
    if (!::FlushFileBuffers(Handle()))
        return LastError();
    return {};
}

void TTempFile::BeforeRename() {
    Close(); // Windows does not rename a file that is open without delete sharing
}

void TTempFile::Close() {
    if (FHandle != -1)
        ::CloseHandle(reinterpret_cast<HANDLE>(FHandle));
    FHandle = -1;
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

} // namespace pellix
