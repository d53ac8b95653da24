#include "settingspaths.h"

#include <QFileInfo>

#include <algorithm>

namespace pellix {

std::filesystem::path SystemPath(const QString& fileName) {
    return std::filesystem::path(fileName.toStdWString());
}

QString DisplayPath(const std::filesystem::path& path) {
    return QString::fromStdWString(path.wstring());
}

bool FolderWritable(const std::filesystem::path& folder) {
    return QFileInfo(DisplayPath(folder)).isWritable();
}

qsizetype FileNameStart(const QString& path) {
    return std::max(path.lastIndexOf(QLatin1Char('/')), path.lastIndexOf(QLatin1Char('\\'))) + 1;
}

} // namespace pellix
