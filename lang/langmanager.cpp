#include "langmanager.h"

#include "formclasses.h"
#include "langcomponent.h"
#include "langtext.h"
#include "seam/filepath.h"
#include "seam/vendor.h"

#include <QCoreApplication>
#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QPointer>
#include <QTabWidget>
#include <QThread>
#include <QWidget>

#include <algorithm>

namespace pellix {

using namespace formclasses;

namespace {

const QString WidgetBreak = QStringLiteral("\n");
const QString TextBreak = QStringLiteral("\r\n");

QString Quoted(const QString& s) {
    return QLatin1Char('"') + s + QLatin1Char('"');
}

QString ListKey(const QString& name, int n) {
    return name + QLatin1String(".List[") + QString::number(n) + QLatin1Char(']');
}

QString MenuKey(const QString& name, int n) {
    return name + QLatin1String(".Menu[") + QString::number(n) + QLatin1Char(']');
}

// Deletes a file; when one was there, waits a moment so that the file system
// has let go of it before the name is used again.
void DeleteAndSettle(const QString& path) {
    if (QFileInfo::exists(path) && QFile::remove(path)) {
        QThread::msleep(100);
    }
}

} // namespace

TLangManager::TLangManager(QObject* owner)
    : QObject(owner), FLanguage(QStringLiteral("\"English\"")),
      FCommonLanguageFile(QStringLiteral("Common.ori")), FLangExtension(QStringLiteral(".lan")) {
    QString organisation = QCoreApplication::organizationName();
    if (organisation.isEmpty()) {
        organisation = QString::fromLatin1(ProgramName);
    }
    FCreated = Quoted(ShortDate() + QLatin1String(" by ") + organisation);
}

TLangManager::~TLangManager() = default;

QString TLangManager::AppTitle() {
    return QString::fromLatin1(ApplicationTitle);
}

QString TLangManager::ShortDate() {
    return QLocale::system().toString(QDate::currentDate(), QLocale::ShortFormat);
}

void TLangManager::SetDialogs(std::shared_ptr<ILangDialogs> dialogs) {
    FDialogs = std::move(dialogs);
}

ILangDialogs& TLangManager::Dialogs() {
    if (!FDialogs) {
        FDialogs = std::make_shared<TQtLangDialogs>();
    }
    return *FDialogs;
}

TLangFile* TLangManager::FileFor(bool common) const {
    return common ? FIniCommon.get() : FIniApp.get();
}

// --- Bound forms ---------------------------------------------------------

void TLangManager::AddForm(TLangComponent* c) {
    if (std::find(FFormList.begin(), FFormList.end(), c) == FFormList.end()) {
        FFormList.push_back(c);
    }
}

void TLangManager::RemoveForm(TLangComponent* c) {
    std::erase(FFormList, c);
}

void TLangManager::WatchLanguage(QObject* receiver, std::function<void()> retranslate) {
    if (receiver != nullptr && retranslate) {
        FWatchers.emplace_back(receiver, std::move(retranslate));
    }
}

void TLangManager::NotifyForms() {
    // A form translated now may process events that destroy other bound
    // forms, or this manager: each is looked for again before it is told.
    const QPointer<TLangManager> self(this);
    const std::vector<QPointer<TLangComponent>> targets(FFormList.begin(), FFormList.end());
    for (const QPointer<TLangComponent>& target : targets) {
        if (!self) {
            return;
        }
        if (!target ||
            std::find(FFormList.begin(), FFormList.end(), target.data()) == FFormList.end()) {
            continue;
        }
        QEvent e(LanguageChangedEvent());
        QCoreApplication::sendEvent(target.data(), &e);
    }
    std::erase_if(FWatchers, [](const auto& w) { return w.first.isNull(); });
    const auto watchers = FWatchers; // a watcher may add another
    for (const auto& [receiver, retranslate] : watchers) {
        if (!self) {
            return;
        }
        if (receiver) {
            retranslate();
        }
    }
}

void TLangManager::FireBeforeLanguageChanged() {
    if (FOnBeforeLanguageChanged) {
        FOnBeforeLanguageChanged(this);
    }
}

void TLangManager::PerformLanguageChanged() {
    FireBeforeLanguageChanged();
    ShownForms.clear();
    NotifyForms();
}

// --- Files and languages -------------------------------------------------

void TLangManager::SetLanguageFolder(const QString& value) {
    if (value.isEmpty() || !QFileInfo(value).isDir()) {
        return;
    }
    QString folder = value;
    if (!EndsWithSeparator(folder)) {
        folder += QLatin1Char('/');
    }
    ScanLanguageFolder(folder);
    if (!FLangList.isEmpty()) {
        FLanguageFolder = folder;
    }
}

void TLangManager::ScanLanguageFolder(const QString& folder) {
    FFileList.clear();
    FLangList.clear();
    const QStringList names =
        QDir(folder).entryList({QLatin1Char('*') + FLangExtension}, QDir::Files | QDir::Hidden,
                               QDir::Name | QDir::IgnoreCase);
    const QString title = AppTitle();
    for (const QString& name : names) {
        const TLangFile file = TLangFile::Open(folder + name);
        if (file.SectionHasKeys(title)) {
            FLangList << OuterQuote(file.ReadString(title, QStringLiteral("Language"), {}));
            FFileList << name;
        }
    }
}

void TLangManager::SetAppFileName(const QString& value) {
    FAppFileName = value;
    if (!FBuildLanguage) {
        FIniApp = std::make_unique<TLangFile>(TLangFile::Open(value));
        const QString t = AppTitle();
        FLanguage = FIniApp->ReadString(t, QStringLiteral("Language"), Language());
        FCreated = FIniApp->ReadString(t, QStringLiteral("Created"), FCreated);
        FModified = FIniApp->ReadString(t, QStringLiteral("Modified"), FModified);
        FVersion = FIniApp->ReadString(t, QStringLiteral("Version"), FVersion);
        FCommonLanguageFile =
            FIniApp->ReadString(t, QStringLiteral("CommonLanguageFile"), FCommonLanguageFile);
        FCommonPath.clear();
    }
    ShownForms.clear();
}

QString TLangManager::Language() const {
    return OuterQuote(FLanguage);
}

void TLangManager::SetLanguage(const QString& value) {
    qsizetype index = -1;
    for (qsizetype i = 0; i < FLangList.size(); ++i) {
        if (FLangList[i].compare(value, Qt::CaseInsensitive) == 0) {
            index = i;
            break;
        }
    }
    if (index < 0) {
        return;
    }
    SetAppFileName(FLanguageFolder + FFileList[index]);
    LoadCommonFile(FCommonLanguageFile);
    // The files have been replaced, so the forms are translated again even when
    // the new file's header names the language exactly as asked.
    FLanguage = value;
    FireBeforeLanguageChanged();
    ShownForms.clear();
    NotifyForms();
}

void TLangManager::LoadCommonFile(const QString& name) {
    const QString file = OuterQuote(name);
    const QString path = QDir::isAbsolutePath(file) ? file : FLanguageFolder + file;
    FCommonPath = path;
    FIniCommon = std::make_unique<TLangFile>(TLangFile::Open(path));
    if (!FBuildLanguage && !QFileInfo(path).isFile()) {
        Dialogs().ErrorBox(QStringLiteral("Error reading common language file :\r\n%1").arg(path));
    }
}

// --- Build mode ----------------------------------------------------------

void TLangManager::SetBuildLanguage(bool value) {
    FBuildLanguage = value;
    if (value) {
        StartBuild();
    }
}

void TLangManager::StartBuild() {
    if (!FBuildLanguage || !FFirst) {
        return;
    }
    const QFileInfo exe(QCoreApplication::applicationFilePath());
    QString proposed = FOriginalFile;
    if (proposed.isEmpty()) {
        proposed = exe.completeBaseName() + QLatin1String(".ori");
    }
    FFirst = false;
    TSaveDialogRequest request;
    request.Title = QStringLiteral("Build Language File");
    request.Filter = QStringLiteral("Original Language Files (*.ori)|*.ORI");
    request.DefaultExt = QStringLiteral(".ori");
    request.FileName = proposed;
    request.InitialDir = (!FLanguageFolder.isEmpty() && QFileInfo(FLanguageFolder).isDir())
                             ? FLanguageFolder
                             : exe.absolutePath();
    request.OverwritePrompt = true;
    const std::optional<QString> chosen = Dialogs().SaveFileName(request);
    if (!chosen) {
        FCancelAll = true;
    } else {
        FOriginalFile = *chosen;
        DeleteAndSettle(FOriginalFile);
        FIniApp = std::make_unique<TLangFile>(TLangFile::Open(FOriginalFile));
        const QString today = ShortDate();
        const QString commonName = OuterQuote(FCommonLanguageFile);
        const QString t = AppTitle();
        FIniApp->WriteString(t, QStringLiteral("Language"), QStringLiteral("\"ORIGINAL\""));
        FIniApp->WriteString(t, QStringLiteral("Created"), today);
        FIniApp->WriteString(t, QStringLiteral("Modified"), today);
        FIniApp->WriteString(t, QStringLiteral("Version"), QStringLiteral("0.0.0"));
        FIniApp->WriteString(t, QStringLiteral("CommonLanguageFile"), Quoted(commonName));

        const QString commonPath = FCommonPath.isEmpty() ? commonName : FCommonPath;
        if (Dialogs().YesNoBox(
                QStringLiteral("Do you want to delete the common language file : \r\n\r\n%1")
                    .arg(commonPath))) {
            DeleteAndSettle(commonPath);
        }
        FIniCommon = std::make_unique<TLangFile>(TLangFile::Open(commonPath));
        const QString c = QStringLiteral("Common");
        FIniCommon->WriteString(c, QStringLiteral("Language"), QStringLiteral("\"ORIGINAL\""));
        FIniCommon->WriteString(c, QStringLiteral("Created"), today);
        FIniCommon->WriteString(c, QStringLiteral("Modified"), today);
        FIniCommon->WriteString(c, QStringLiteral("Version"), QStringLiteral("0.0.0"));
    }
    FireBeforeLanguageChanged();
    NotifyForms();
}

// --- Texts and lists -----------------------------------------------------

void TLangManager::MakeText(const QString& ASection, const QString& AName, QString& AValue,
                            bool UseCommonFile) {
    StartBuild();
    TLangFile* file = FileFor(UseCommonFile);
    if (file == nullptr) {
        return;
    }
    if (!FBuildLanguage) {
        if (const std::optional<QString> v = file->Value(ASection, AName)) {
            AValue = OuterQuote(DecodeLineBreaks(*v, TextBreak));
        }
    } else if (!FCancelAll) {
        AValue = EncodeLineBreaks(AValue);
        if (file->WriteString(ASection, AName, Quoted(AValue))) {
            file->UpdateFile();
        }
    }
}

void TLangManager::MakeText(const QString& ASection, const QString& AName, std::string& AValue,
                            bool UseCommonFile) {
    QString value = QString::fromStdString(AValue);
    MakeText(ASection, AName, value, UseCommonFile);
    AValue = value.toStdString();
}

void TLangManager::MakeStringList(const QString& ASection, const QString& AName,
                                  QStringList& AValue, bool Common) {
    StartBuild();
    TLangFile* file = FileFor(Common);
    if (file == nullptr || AName.isEmpty()) {
        return;
    }
    if (!FBuildLanguage) {
        const std::optional<QString> first = file->Value(ASection, ListKey(AName, 0));
        if (!first || first->isEmpty()) {
            return;
        }
        AValue.clear();
        for (int n = 0;; ++n) {
            const QString entry =
                ExtractQuotedStr(file->ReadString(ASection, ListKey(AName, n), {}));
            if (entry.isEmpty()) {
                break;
            }
            AValue << entry;
        }
    } else if (!FCancelAll) {
        for (int n = 0; n <= 200; ++n) {
            file->DeleteKey(ASection, ListKey(AName, n));
        }
        for (qsizetype n = 0; n < AValue.size(); ++n) {
            file->WriteString(ASection, ListKey(AName, int(n)), QuotedStr(OneLine(AValue[n])));
        }
        file->UpdateFile();
    }
}

// --- Forms ---------------------------------------------------------------

QString TLangManager::FormSection(const QWidget* form) const {
    return FOptions.Contains(lmClassNames) ? ClassName(form) : form->objectName();
}

void TLangManager::MakeForm(QWidget* AForm, bool ForceIt, bool UseCommonFile) {
    StartBuild();
    if (!FIniApp || AForm == nullptr) {
        return;
    }
    const QString name = AForm->objectName();
    if (!ForceIt && ShownForms.contains(name, Qt::CaseInsensitive)) {
        return;
    }
    const QPointer<QWidget> form(AForm);
    if (!FBuildLanguage) {
        ReadForm(AForm, UseCommonFile);
    } else if (!FCancelAll) {
        WriteForm(AForm, UseCommonFile);
    }
    if (form) {
        ShownForms << name;
    }
}

void TLangManager::ReadForm(QWidget* AForm, bool UseCommonFile) {
    if (AForm == nullptr || AForm->objectName().isEmpty()) {
        return;
    }
    ForEachComponent(AForm, AForm->objectName(), FormSection(AForm), UseCommonFile ? 1 : 0, true);
}

void TLangManager::WriteForm(QWidget* AForm, bool UseCommonFile) {
    // A form without a name has no section to be read from, so nothing of it
    // is harvested either.
    if (AForm == nullptr || AForm->objectName().isEmpty()) {
        return;
    }
    ForEachComponent(AForm, AForm->objectName(), FormSection(AForm), UseCommonFile ? 1 : 0, false);
    if (FIniApp) {
        FIniApp->UpdateFile();
    }
    if (FIniCommon) {
        FIniCommon->UpdateFile();
    }
}

void TLangManager::ReadComponent(QObject* AComp, bool UseCommonFile) {
    if (!FIniApp || !FIniCommon || AComp == nullptr) {
        return;
    }
    ForEachComponent(AComp, AComp->objectName(), AComp->objectName(), UseCommonFile ? 1 : 0, true);
}

QString TLangManager::GetFullName(const QString& ActComponentName,
                                  const QObject* AComponent) const {
    if (AComponent == nullptr) {
        return {};
    }
    if (IsForm(AComponent)) {
        return AComponent->objectName();
    }
    QStringList names;
    const QObject* current = AComponent;
    while (current != nullptr && !current->objectName().isEmpty() &&
           ClassName(current).compare(ActComponentName, Qt::CaseInsensitive) != 0) {
        const QObject* owner = Owner(current);
        if (owner != nullptr && !owner->objectName().isEmpty()) {
            names.prepend(current->objectName());
        }
        current = owner;
    }
    return names.join(QLatin1Char('.'));
}

void TLangManager::ForEachComponent(QObject* root, const QString& formName, const QString& section,
                                    int common, bool read) {
    const QPointer<QObject> guard(root);
    QCoreApplication::processEvents();
    const auto apply = [&](QObject* c) {
        if (c == nullptr) {
            return;
        }
        if (read) {
            ReadComponentTexts(formName, section, c, common);
        } else {
            WriteComponentTexts(formName, section, c, common);
        }
    };
    if (!guard) {
        return;
    }
    apply(root);
    const std::vector<QObject*> owned = OwnedComponents(root);
    const std::vector<QPointer<QObject>> components(owned.begin(), owned.end());
    for (const QPointer<QObject>& c : components) {
        if (!c || IsForm(c)) {
            continue;
        }
        apply(c);
        if (c && !OwnedComponents(c).empty()) {
            ForEachComponent(c, formName, section, common, read);
        }
        if (const QPointer<QTabWidget> pages = qobject_cast<QTabWidget*>(c.data())) {
            for (int i = 0; pages && i < pages->count(); ++i) {
                apply(pages->widget(i));
            }
        }
    }
}

void TLangManager::ReadComponentTexts(const QString& formName, const QString& section,
                                      QObject* component, int common) {
    Q_UNUSED(formName);
    const TLangFile* file = FileFor(common == 1);
    const TClassRow* row = FindRow(component);
    if (file == nullptr || row == nullptr) {
        return;
    }
    // A component without a full name has no keys.
    const QString full = GetFullName(section, component);
    if (full.isEmpty()) {
        return;
    }
    const auto value = [&](const QString& suffix) { return file->Value(section, full + suffix); };
    const auto readCaption = [&] {
        if (row->Caption.Get == nullptr) {
            return;
        }
        std::optional<QString> v = value(QStringLiteral(".Caption"));
        const QString text = (v && !v->isEmpty()) ? *v : row->Caption.Get(component);
        row->Caption.Set(component, DecodeLineBreaks(OuterQuote(text), WidgetBreak));
    };
    const auto readHint = [&] {
        std::optional<QString> v = value(QStringLiteral(".Hint"));
        const QString text = v ? *v : row->Hint.Get(component);
        row->Hint.Set(component, DecodeLineBreaks(OuterQuote(text), WidgetBreak));
    };
    const auto readList = [&](bool replace) {
        const std::optional<QString> first = file->Value(section, ListKey(full, 0));
        if (!first || first->isEmpty()) {
            return;
        }
        QStringList items = replace ? QStringList() : row->List.Get(component);
        for (int n = 0;; ++n) {
            const QString entry = OuterQuote(file->ReadString(section, ListKey(full, n), {}));
            if (entry.isEmpty()) {
                break;
            }
            if (n < items.size()) {
                items[n] = entry;
            } else {
                items << entry;
            }
        }
        row->List.Set(component, items);
    };
    switch (row->Read) {
    case TReadRule::Nothing:
        break;
    case TReadRule::CaptionHint:
        readCaption();
        readHint();
        break;
    case TReadRule::Hint:
        readHint();
        break;
    case TReadRule::HintSingleAndLines: {
        std::optional<QString> v = value(QStringLiteral(".Hint"));
        const QString text = (v && !v->isEmpty()) ? *v : row->Hint.Get(component);
        row->Hint.Set(component, OuterQuote(text));
        readList(false);
        break;
    }
    case TReadRule::LinesReplace:
        readList(true);
        break;
    case TReadRule::ItemsUpdate:
        readList(false);
        break;
    case TReadRule::MainMenu:
        for (int n = 0;; ++n) {
            const std::optional<QString> v = file->Value(section, MenuKey(full, n));
            if (!v) {
                break;
            }
            if (n < MenuItemCount(component)) {
                SetMenuItemCaption(component, n, ExtractQuotedStr(*v));
            }
        }
        break;
    }
}

void TLangManager::WriteComponentTexts(const QString& formName, const QString& section,
                                       QObject* component, int common) {
    Q_UNUSED(formName);
    TLangFile* file = FileFor(common == 1);
    const TClassRow* row = FindRow(component);
    if (file == nullptr || row == nullptr || Tag(component) == NoHarvestTag) {
        return;
    }
    const QString full = GetFullName(section, component);
    if (full.isEmpty()) {
        return;
    }
    const auto writeText = [&](const QString& suffix, const QString& text) {
        if (!text.isEmpty()) {
            file->WriteString(section, full + suffix, Quoted(text));
        }
    };
    switch (row->Write) {
    case TWriteRule::Nothing:
        break;
    case TWriteRule::CaptionHint:
        writeText(QStringLiteral(".Caption"), EncodeLineBreaks(row->Caption.Get(component)));
        writeText(QStringLiteral(".Hint"), EncodeLineBreaks(row->Hint.Get(component)));
        break;
    case TWriteRule::Hint:
        writeText(QStringLiteral(".Hint"), EncodeLineBreaks(row->Hint.Get(component)));
        break;
    case TWriteRule::HintSingle:
        writeText(QStringLiteral(".Hint"), OneLine(row->Hint.Get(component)));
        break;
    case TWriteRule::List: {
        const QStringList items = row->List.Get(component);
        for (qsizetype n = 0; n < items.size(); ++n) {
            file->WriteString(section, ListKey(full, int(n)), Quoted(OneLine(items[n])));
        }
        break;
    }
    }
}

} // namespace pellix
