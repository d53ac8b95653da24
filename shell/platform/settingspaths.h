#pragma once

// The settings files' paths as the system has them.

#include "seam/filepath.h"

#include <QString>

#include <filesystem>

namespace pellix {

// Whether the current user may create files in folder.
bool FolderWritable(const std::filesystem::path& folder);

// Whether the current user may write to the existing file path.
bool FileWritable(const std::filesystem::path& path);

// The running program's file as the system's bytes, however it was started:
// on Linux also when the dynamic loader started it (where /proc/self/exe and
// Qt name the loader).
std::filesystem::path ProgramFile();

// Where the file name starts in path: after its last folder separator ('/',
// and on Windows also '\'), 0 when there is none.
qsizetype FileNameStart(const QString& path);

} // namespace pellix
