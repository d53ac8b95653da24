#pragma once

#include "inidocument.h"

#include <filesystem>
#include <functional>
#include <optional>
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

// Writes bytes to path safely: the new content goes to a temporary file in
// the same folder, which is then renamed over the target, so the target holds
// either its old or its new bytes, never a mix. Returns false when anything
// fails; the target is then unchanged and the temporary file removed.
//
// A target that exists but is read-only (no write permission bit, or not
// openable for writing) is left alone and the save fails, also where the
// folder would allow the rename. A symbolic link is followed: the file it
// points to is replaced. The new file gets the permissions of the old one.
// Never throws.
bool SaveIniFile(const std::filesystem::path& path, std::string_view bytes,
                 const TIniSaveHooks& hooks = {});

inline bool SaveIniFile(const std::filesystem::path& path, const TIniDocument& doc,
                        const TIniSaveHooks& hooks = {}) {
    return SaveIniFile(path, std::string_view(doc.Text()), hooks);
}

} // namespace pellix
