#pragma once

#include "inidocument.h"

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>

namespace pellix {

// Loads an INI file. A missing file gives an empty document; nullopt means
// that a file (or something else) is there but cannot be read, so that a
// caller does not overwrite what it could not see. Never throws.
std::optional<TIniDocument> LoadIniFile(const std::filesystem::path& path);

// Replaceable steps of SaveIniFile; tests use them to simulate failures.
struct TIniSaveHooks {
    // Moves the written temporary file over the target. The default is
    // std::filesystem::rename. A non-zero error code fails the save.
    std::function<std::error_code(const std::filesystem::path& temp,
                                  const std::filesystem::path& target)>
        Rename;
};

// Why a save failed.
struct TIniSaveFailure {
    // The file or its folder may not be changed by this user (read-only file,
    // file or folder without write permission, read-only file system).
    bool NotReplaceable = false;
    std::string Reason; // for a message, in English
};

// Writes bytes to path safely: the new content goes to a temporary file in
// the same folder, which is then renamed over the target, so the target holds
// either its old or its new bytes, never a mix. The temporary file has the
// target's permissions before its first byte, and file and folder are flushed
// to the disk, so that a power loss also leaves the old or the new content.
// Temporary files of the target left behind by killed stores are removed.
// Returns false when anything fails, with the reason in failure when given;
// the target is then unchanged and the temporary file removed.
//
// A target that exists but is read-only (no write permission bit, or not
// openable for writing) is left alone and the save fails, also where the
// folder would allow the rename. A symbolic link is followed: the file it
// points to is replaced. A new file gets the system's default permissions.
// Never throws.
bool SaveIniFile(const std::filesystem::path& path, std::string_view bytes,
                 const TIniSaveHooks& hooks = {}, TIniSaveFailure* failure = nullptr);

inline bool SaveIniFile(const std::filesystem::path& path, const TIniDocument& doc,
                        const TIniSaveHooks& hooks = {}, TIniSaveFailure* failure = nullptr) {
    return SaveIniFile(path, std::string_view(doc.Text()), hooks, failure);
}

} // namespace pellix
