#pragma once

#include "inidocument.h"

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>

namespace pellix {

// Loads an INI file. A missing file gives an empty document; nullopt means
// that a file (or something else) is there but cannot be read, so that a
// caller does not overwrite what it could not see. Where a store that wrote
// the file in place died, its complete copy beside the file is read instead.
// Never throws.
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
// Where the rename would lose the target's identity (it has other hard links,
// or an owner or group this process cannot give the new file), the complete
// new content is put beside the target first (".NAME.copy", which LoadIniFile
// then reads) and the target is written in place; the copy goes when that is
// done. Should the writing in place fail halfway, the copy stays and stands
// for the file until the next store.
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
