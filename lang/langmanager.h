#pragma once

#include "langdialogs.h"
#include "langfile.h"
#include "seam/translator.h"

#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <memory>
#include <string>
#include <utility>
#include <vector>

class QWidget;

namespace pellix {

class TLangComponent;

// Options of the language manager.
enum TLMOptions : std::uint8_t {
    lmNumUnits = 0,  // build mode harvests the unit texts of numeric edit fields
    lmClassNames = 1 // a form's texts live in a section named after its class
};

// A set of TLMOptions, one bit per option (bit 0 lmNumUnits, bit 1 lmClassNames).
class TLMSetOptions {
public:
    constexpr TLMSetOptions() = default;
    constexpr TLMSetOptions(std::initializer_list<TLMOptions> options) {
        for (const TLMOptions o : options) {
            FBits = static_cast<std::uint8_t>(FBits | (1U << o));
        }
    }
    static constexpr TLMSetOptions FromBits(std::uint8_t bits) {
        TLMSetOptions s;
        s.FBits = static_cast<std::uint8_t>(bits & 0x03);
        return s;
    }
    constexpr std::uint8_t Bits() const { return FBits; }
    constexpr bool Contains(TLMOptions o) const { return (FBits & (1U << o)) != 0; }
    constexpr bool operator==(const TLMSetOptions&) const = default;

private:
    std::uint8_t FBits = 0;
};

// A handler of a notify event; sender is the object that fires it.
using TNotifyEvent = std::function<void(QObject* sender)>;

// Supplies translated texts from language files, re-translates the forms
// bound to it through TLangComponent when the language changes, and in build
// mode harvests the program's built-in texts into new original (.ori) files.
//
// Component names are object names; the owned components of a component are
// its QObject children, Qt's own helper objects (object names beginning with
// "qt_") being looked through. A form is a top-level QWidget (a window or a
// dialog; popups such as menus are not forms).
class TLangManager : public QObject, public ITranslator {
    Q_OBJECT
    Q_PROPERTY(QString AppFileName READ AppFileName WRITE SetAppFileName)
    Q_PROPERTY(QString LanguageFolder READ LanguageFolder WRITE SetLanguageFolder)
    Q_PROPERTY(QString Language READ Language WRITE SetLanguage)
    Q_PROPERTY(QString Created READ Created WRITE SetCreated)
    Q_PROPERTY(QString Modified READ Modified WRITE SetModified)
    Q_PROPERTY(QString Version READ Version WRITE SetVersion)
    Q_PROPERTY(bool BuildLanguage READ BuildLanguage WRITE SetBuildLanguage)
    Q_PROPERTY(QString LangExtension READ LangExtension WRITE SetLangExtension)
    Q_PROPERTY(uint Options READ OptionBits WRITE SetOptionBits)

public:
    explicit TLangManager(QObject* owner = nullptr);
    ~TLangManager() override;

    // The dialogs and message boxes; by default Qt's.
    void SetDialogs(std::shared_ptr<ILangDialogs> dialogs);

    // Published properties.
    QString AppFileName() const { return FAppFileName; }
    void SetAppFileName(const QString& value);
    QString LanguageFolder() const { return FLanguageFolder; }
    void SetLanguageFolder(const QString& value);
    QString Language() const;
    void SetLanguage(const QString& value);
    QString Created() const { return FCreated; }
    void SetCreated(const QString& value) { FCreated = value; }
    QString Modified() const { return FModified; }
    void SetModified(const QString& value) { FModified = value; }
    QString Version() const { return FVersion; }
    void SetVersion(const QString& value) { FVersion = value; }
    bool BuildLanguage() const { return FBuildLanguage; }
    void SetBuildLanguage(bool value);
    QString LangExtension() const { return FLangExtension; }
    void SetLangExtension(const QString& value) { FLangExtension = value; }
    TLMSetOptions Options() const { return FOptions; }
    void SetOptions(TLMSetOptions value) { FOptions = value; }
    uint OptionBits() const { return FOptions.Bits(); }
    void SetOptionBits(uint bits) { FOptions = TLMSetOptions::FromBits(std::uint8_t(bits & 0xFF)); }
    const TNotifyEvent& OnBeforeLanguageChanged() const { return FOnBeforeLanguageChanged; }
    void SetOnBeforeLanguageChanged(TNotifyEvent handler) {
        FOnBeforeLanguageChanged = std::move(handler);
    }

    // Looks a text up (section, key), or harvests the built-in text in build
    // mode. A text without translation keeps its value.
    void MakeText(const QString& ASection, const QString& AName, QString& AValue,
                  bool UseCommonFile = false) override;
    void MakeText(const QString& ASection, const QString& AName, std::string& AValue,
                  bool UseCommonFile = false); // UTF-8
    // Looks a list up ("<name>.List[<n>]" keys), or harvests it.
    void MakeStringList(const QString& ASection, const QString& AName, QStringList& AValue,
                        bool Common = false);
    // Windows that translate their own texts: told after the bound forms.
    void WatchLanguage(QObject* receiver, std::function<void()> retranslate) override;
    // Re-translates every bound form without changing the language.
    void PerformLanguageChanged();
    // The number of available languages.
    int Count() const { return int(FLangList.size()); }
    void MakeConsts() {}

    // Form translation.
    void MakeForm(QWidget* AForm, bool ForceIt, bool UseCommonFile);
    void ReadForm(QWidget* AForm, bool UseCommonFile);
    void WriteForm(QWidget* AForm, bool UseCommonFile);
    void ReadComponent(QObject* AComp, bool UseCommonFile);
    QString GetFullName(const QString& ActComponentName, const QObject* AComponent) const;
    // Harvests or reads one component; common 1 names the common file.
    virtual void WriteComponentTexts(const QString& formName, const QString& section,
                                     QObject* component, int common);
    virtual void ReadComponentTexts(const QString& formName, const QString& section,
                                    QObject* component, int common);

    // Names of the forms translated or harvested since the last change of
    // file or language.
    QStringList ShownForms;

    // Read access for the program and its tests.
    const QStringList& LangList() const { return FLangList; }
    const QStringList& FileList() const { return FFileList; }
    QString CommonLanguageFile() const { return FCommonLanguageFile; }
    QString OriginalFile() const { return FOriginalFile; }
    void SetOriginalFile(const QString& value) { FOriginalFile = value; }
    bool CancelAll() const { return FCancelAll; }
    const TLangFile* AppFile() const { return FIniApp.get(); }
    const TLangFile* CommonFile() const { return FIniCommon.get(); }
    const std::vector<TLangComponent*>& FormList() const { return FFormList; }

    // The section of the application file's header: the application title.
    static QString AppTitle();
    // Today in the system's short date format.
    static QString ShortDate();

private:
    friend class TLangComponent;
    void AddForm(TLangComponent* c);
    void RemoveForm(TLangComponent* c);
    void NotifyForms();
    void FireBeforeLanguageChanged();

    void ScanLanguageFolder(const QString& folder);
    void LoadCommonFile(const QString& name);
    void StartBuild();
    TLangFile* FileFor(bool common) const;
    QString FormSection(const QWidget* form) const;
    void ForEachComponent(QObject* root, const QString& formName, const QString& section,
                          int common, bool read);
    ILangDialogs& Dialogs();

    bool FFirst = true;
    bool FCancelAll = false;
    QString FLanguage;
    QString FLanguageFolder;
    QStringList FLangList;
    QStringList FFileList;
    QString FCreated;
    QString FModified;
    QString FVersion;
    std::unique_ptr<TLangFile> FIniApp;
    std::unique_ptr<TLangFile> FIniCommon;
    QString FAppFileName;
    QString FCommonLanguageFile;
    QString FCommonPath; // where the common file was opened by the last switch
    QString FOriginalFile;
    QString FLangExtension;
    TNotifyEvent FOnBeforeLanguageChanged;
    bool FBuildLanguage = false;
    TLMSetOptions FOptions{lmNumUnits};
    std::vector<TLangComponent*> FFormList;
    std::vector<std::pair<QPointer<QObject>, std::function<void()>>> FWatchers;
    std::shared_ptr<ILangDialogs> FDialogs;
};

} // namespace pellix
