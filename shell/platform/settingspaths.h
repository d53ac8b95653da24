#pragma once

// The settings files' paths as the system has them.

#include <filesystem>

namespace pellix {

// Whether the current user may create files in folder.
bool FolderWritable(const std::filesystem::path& folder);

// Whether the current user may write to the existing file path.
bool FileWritable(const std::filesystem::path& path);

// The running program's file as the system's bytes, however it was started:
// also when a program loader started it and the system names the loader.
std::filesystem::path ProgramFile();

} // namespace pellix
