#include "settingspaths.h"

#include <QByteArray>
#include <QFile>

#include <unistd.h>

#include <string>

namespace pellix {

std::filesystem::path SystemPath(const QString& fileName) {
    const QByteArray local = QFile::encodeName(fileName);
    return std::filesystem::path(
        std::string(local.constData(), static_cast<std::size_t>(local.size())));
}

QString DisplayPath(const std::filesystem::path& path) {
    return QFile::decodeName(QByteArray::fromStdString(path.string()));
}

bool FolderWritable(const std::filesystem::path& folder) {
    return ::access(folder.c_str(), W_OK) == 0;
}

qsizetype FileNameStart(const QString& path) {
    return path.lastIndexOf(QLatin1Char('/')) + 1;
}

} // namespace pellix
