#include "langdialogs.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QMessageBox>

namespace pellix {

namespace {

// "\r\n" of the messages is one line break on screen.
QString ScreenText(const QString& text) {
    QString out = text;
    return out.replace(QLatin1String("\r\n"), QLatin1String("\n"));
}

// "Description|*.A;*.B" as Qt's "Description (*.a *.A *.b *.B)": patterns are
// offered in both letter cases, as on a file system that ignores case.
QString QtFilter(const QString& filter) {
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList out;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString description = parts[i];
        const qsizetype open = description.indexOf(QLatin1Char('('));
        if (open >= 0) {
            description = description.left(open).trimmed();
        }
        QStringList patterns;
        for (const QString& p : parts[i + 1].split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
            for (const QString& q : {p.toLower(), p.toUpper()}) {
                if (!patterns.contains(q)) {
                    patterns << q;
                }
            }
        }
        out << description + QLatin1String(" (") + patterns.join(QLatin1Char(' ')) +
                   QLatin1Char(')');
    }
    return out.join(QLatin1String(";;"));
}

} // namespace

std::optional<QString> TQtLangDialogs::SaveFileName(const TSaveDialogRequest& request) {
    QFileDialog dialog(QApplication::activeWindow(), request.Title, request.InitialDir,
                       QtFilter(request.Filter));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    QString ext = request.DefaultExt;
    if (ext.startsWith(QLatin1Char('.'))) {
        ext.remove(0, 1);
    }
    dialog.setDefaultSuffix(ext);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, !request.OverwritePrompt);
    dialog.selectFile(QDir(request.InitialDir).filePath(request.FileName));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return std::nullopt;
    }
    return dialog.selectedFiles().constFirst();
}

void TQtLangDialogs::ErrorBox(const QString& text) {
    QMessageBox::critical(QApplication::activeWindow(), QApplication::applicationName(),
                          ScreenText(text), QMessageBox::Ok);
}

bool TQtLangDialogs::YesNoBox(const QString& text) {
    return QMessageBox::question(QApplication::activeWindow(), QApplication::applicationName(),
                                 ScreenText(text), QMessageBox::Yes | QMessageBox::No,
                                 QMessageBox::No) == QMessageBox::Yes;
}

} // namespace pellix
