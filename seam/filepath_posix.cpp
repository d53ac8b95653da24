#include "filepath.h"

#include <QByteArray>
#include <QFile>

#include <string>

namespace pellix {

// A path's bytes are Qt's 8-bit file-name encoding of the name (UTF-8), so
// that a name Qt read from the disk finds the same file.
std::filesystem::path SystemPath(const QString& fileName) {
    const QByteArray local = QFile::encodeName(fileName);
    return std::filesystem::path(
        std::string(local.constData(), static_cast<std::size_t>(local.size())));
}

QString DisplayPath(const std::filesystem::path& path) {
    return QFile::decodeName(QByteArray::fromStdString(path.string()));
}

bool EndsWithSeparator(const QString& folder) {
    return folder.endsWith(QLatin1Char('/'));
}

} // namespace pellix
