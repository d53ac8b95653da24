#include "filepath.h"

#include <QFile>

namespace pellix {

std::filesystem::path ToFsPath(const QString& fileName) {
    return std::filesystem::path(QFile::encodeName(fileName).toStdString());
}

bool EndsWithSeparator(const QString& folder) {
    return folder.endsWith(QLatin1Char('/'));
}

} // namespace pellix
