// Language files of any bytes, with and without byte-order marks: read,
// looked up, edited and written back.

#include "lang/langfile.h"
#include "lang/langtext.h"

#include <QCoreApplication>

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    pellix::TLangFile file(bytes);
    if (file.Bytes() != bytes) {
        std::abort(); // an unchanged file is written back byte for byte
    }
    for (const QString& section : file.Sections()) {
        for (const QString& key : file.SectionKeys(section)) {
            (void)file.ReadString(section, key, QString());
        }
    }
    if (file.WriteString(QStringLiteral("FrmAbout"), QStringLiteral("SVersion"),
                         QStringLiteral("\"Pellix %s\""))) {
        pellix::TLangFile again(file.Bytes());
        if (again.Value(QStringLiteral("frmabout"), QStringLiteral("sversion")) !=
            QStringLiteral("\"Pellix %s\"")) {
            std::abort(); // a stored value reads back
        }
    }
    return 0;
}
