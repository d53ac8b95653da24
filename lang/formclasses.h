#pragma once

#include <QString>
#include <QStringList>

#include <vector>

class QObject;
class QTabWidget;

namespace pellix::formclasses {

// How Qt's objects stand for the components of a translated form.

// A form: a top-level widget that is a window or a dialog (popups, tool tips
// and splash screens are not forms).
bool IsForm(const QObject* o);
// Qt's own helper objects inside its widgets (object names beginning with
// "qt_"): they are no components; their children count as owned by their owner.
bool IsHelper(const QObject* o);
// The owner: the nearest parent that is no helper; none for a form.
QObject* Owner(const QObject* o);
// The components an object owns, in the order of ownership.
std::vector<QObject*> OwnedComponents(const QObject* o);
// The class name without namespaces ("TFrmAbout" for pellix::TFrmAbout).
QString ClassName(const QObject* o);
// The integer Tag of a component: its property "Tag" (dynamic or declared), 0 without one.
int Tag(const QObject* o);
inline constexpr const char* TagProperty = "Tag";
// Components with this Tag are never harvested.
inline constexpr int NoHarvestTag = 98;

// What is read and what is harvested of a component.
enum class TReadRule {
    Nothing,
    CaptionHint,        // caption and hint
    Hint,               // hint only (caption and hint rule)
    HintSingleAndLines, // ".Hint" as single property, then its lines by update
    LinesReplace,       // its lines by replace
    ItemsUpdate,        // its items by update, selected index kept
    MainMenu            // top-level item captions by "<name>.Menu[<n>]"
};
enum class TWriteRule {
    Nothing,
    CaptionHint, // caption and hint
    Hint,        // hint only (caption and hint rule)
    HintSingle,  // ".Hint" as single property
    List         // every item under "<name>.List[<n>]"
};

struct TTextAccess {
    QString (*Get)(const QObject*) = nullptr;
    void (*Set)(QObject*, const QString&) = nullptr;
};
struct TListAccess {
    QStringList (*Get)(const QObject*) = nullptr;
    void (*Set)(QObject*, const QStringList&) = nullptr; // keeps the selected index
};

// One row of the table of handled classes.
struct TClassRow {
    const char* QtClass;     // the Qt class (or role) of the row
    const char* Counterpart; // the component class it stands for
    bool (*Is)(const QObject*);
    TTextAccess Caption;
    TTextAccess Hint;
    TListAccess List;
    TReadRule Read;
    TWriteRule Write;
};

// The first row whose class the object is or derives from; null for objects
// that are not translated.
const TClassRow* FindRow(const QObject* o);
const std::vector<TClassRow>& ClassTable();

// The top-level items of a menu bar (for "<name>.Menu[<n>]").
int MenuItemCount(const QObject* menuBar);
void SetMenuItemCaption(QObject* menuBar, int index, const QString& caption);

// The page control of a tab page, or null when o is no page.
QTabWidget* PageControl(const QObject* o);

} // namespace pellix::formclasses
