#include "settingspaths.h"

#include "seam/filepath.h"

#include <QCoreApplication>
#include <QFileInfo>

namespace pellix {

bool FolderWritable(const std::filesystem::path& folder) {
    return QFileInfo(DisplayPath(folder)).isWritable();
}

bool FileWritable(const std::filesystem::path& path) {
    return QFileInfo(DisplayPath(path)).isWritable();
}

std::filesystem::path ProgramFile() {
    // The program's own module: Windows has no loader that stands in for it.
    return SystemPath(QCoreApplication::applicationFilePath());
}

} // namespace pellix
