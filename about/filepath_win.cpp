#include "filepath.h"

namespace pellix {

std::filesystem::path ToFsPath(const QString& fileName) {
    return std::filesystem::path(fileName.toStdWString());
}

bool EndsWithSeparator(const QString& folder) {
    return folder.endsWith(QLatin1Char('/')) || folder.endsWith(QLatin1Char('\\'));
}

} // namespace pellix
