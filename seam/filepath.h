#pragma once

// File names as the platform has them: how a Qt file name becomes the
// standard library's path and back, and which characters end a folder's name.
// What each platform does is said in its source.

#include <QString>

#include <filesystem>

namespace pellix {

// fileName as a path for the standard library's files, naming the same file
// that Qt's own file classes open with fileName.
std::filesystem::path SystemPath(const QString& fileName);

// A path for messages and for Qt's file classes, decoded the same way.
QString DisplayPath(const std::filesystem::path& path);

// Whether folder ends in one of the platform's folder separators.
bool EndsWithSeparator(const QString& folder);

} // namespace pellix
