#include "about/aboutbox.h"

#include <QFile>
#include <QStringList>

#include <gtest/gtest.h>

using namespace pellix;

namespace {

// The value of a field in a paragraph of a machine-readable copyright file.
QString Field(const QString& paragraph, const QString& name) {
    for (const QString& line : paragraph.split(QLatin1Char('\n')))
        if (line.startsWith(name + QStringLiteral(": ")))
            return line.mid(name.size() + 2);
    return {};
}

} // namespace

// The package's copyright file gives the project's files the holder in the
// very words of the About box.
TEST(CopyrightFile, StatesTheAboutBoxsCopyrightLineForTheProjectsFiles) {
    QString aboutLine;
    for (const QString& line : BuiltInAboutText().split(QStringLiteral("\r\n")))
        if (line.startsWith(QStringLiteral("Copyright")))
            aboutLine = line;
    ASSERT_FALSE(aboutLine.isEmpty());

    QFile f(QStringLiteral(PELLIX_COPYRIGHT_FILE));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QStringList paragraphs = QString::fromUtf8(f.readAll()).split(QStringLiteral("\n\n"));
    ASSERT_TRUE(paragraphs.first().startsWith(QStringLiteral(
        "Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/\n")));
    int projectParagraphs = 0;
    for (const QString& p : paragraphs) {
        if (Field(p, QStringLiteral("Files")) == QStringLiteral("*")) {
            ++projectParagraphs;
            EXPECT_EQ(Field(p, QStringLiteral("Copyright")).toStdString(), aboutLine.toStdString());
        }
    }
    EXPECT_EQ(projectParagraphs, 1);
}
