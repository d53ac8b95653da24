#pragma once

// The platform's file names for the language files: how a Qt file name
// becomes the standard library's path, and which characters end a folder's
// name.

#include <QString>

#include <filesystem>

namespace pellix {

// `fileName` as a path for the standard library's files: its UTF-16 units on
// Windows; elsewhere the bytes of QFile::encodeName, so that a name Qt read
// from the disk finds the same file.
std::filesystem::path ToFsPath(const QString& fileName);

// Whether `folder` ends in a separator: '/', and on Windows also '\'.
bool EndsWithSeparator(const QString& folder);

} // namespace pellix
