#pragma once

// Helpers of the language tests: files in temporary folders and dialogs that
// answer themselves.

#include "lang/langdialogs.h"
#include "lang/langmanager.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <optional>
#include <ostream>
#include <vector>

QT_BEGIN_NAMESPACE
inline void PrintTo(const QString& s, std::ostream* os) {
    *os << '"' << s.toStdString() << '"';
}
inline void PrintTo(const QStringList& l, std::ostream* os) {
    *os << '[' << l.join(QLatin1String("|")).toStdString() << ']';
}
QT_END_NAMESPACE

namespace pellix::test {

inline QByteArray ReadBytes(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

inline void WriteBytes(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        throw std::runtime_error("cannot write test file");
    }
    f.write(bytes);
}

// The header section of application language files.
inline QString Title() {
    return TLangManager::AppTitle();
}

// An application language file: its header and the lines that follow.
inline QByteArray LanFile(const QString& language, const QString& rest,
                          const QString& common = QStringLiteral("\"Common.lan\"")) {
    return (QLatin1Char('[') + Title() + QLatin1String("]\r\nLanguage=\"") + language +
            QLatin1String("\"\r\nCreated=01.02.2020\r\nModified=02.02.2020\r\nVersion=1.2.3\r\n") +
            (common.isNull()
                 ? QString()
                 : QLatin1String("CommonLanguageFile=") + common + QLatin1String("\r\n")) +
            rest)
        .toUtf8();
}

// Dialogs that answer as told and remember what they were asked.
class TFakeDialogs : public ILangDialogs {
public:
    std::optional<QString> SaveAnswer;
    bool YesAnswer = false;
    std::vector<TSaveDialogRequest> SaveRequests;
    QStringList Errors;
    QStringList Questions;

    std::optional<QString> SaveFileName(const TSaveDialogRequest& request) override {
        SaveRequests.push_back(request);
        return SaveAnswer;
    }
    void ErrorBox(const QString& text) override { Errors << text; }
    bool YesNoBox(const QString& text) override {
        Questions << text;
        return YesAnswer;
    }
};

// Makes a temporary folder the working directory for the life of the object.
class TWorkingDir {
public:
    explicit TWorkingDir(const QString& dir) : FOld(QDir::currentPath()) { QDir::setCurrent(dir); }
    ~TWorkingDir() { QDir::setCurrent(FOld); }
    TWorkingDir(const TWorkingDir&) = delete;
    TWorkingDir& operator=(const TWorkingDir&) = delete;

private:
    QString FOld;
};

} // namespace pellix::test
