#include "filepath.h"

namespace pellix {

// Windows' file names are UTF-16, as QString is; '\' separates folders as '/' does.
std::filesystem::path SystemPath(const QString& fileName) {
    return std::filesystem::path(fileName.toStdWString());
}

QString DisplayPath(const std::filesystem::path& path) {
    return QString::fromStdWString(path.wstring());
}

bool EndsWithSeparator(const QString& folder) {
    return folder.endsWith(QLatin1Char('/')) || folder.endsWith(QLatin1Char('\\'));
}

} // namespace pellix
