#include "formclasses.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStackedWidget>
#include <QTabBar>
#include <QTabWidget>
#include <QTableWidget>
#include <QTextEdit>
#include <QToolButton>
#include <QVariant>

namespace pellix::formclasses {

namespace {

template <class T>
bool Is(const QObject* o) {
    return qobject_cast<const T*>(o) != nullptr;
}

template <class T>
T* As(QObject* o) {
    return qobject_cast<T*>(o);
}
template <class T>
const T* As(const QObject* o) {
    return qobject_cast<const T*>(o);
}

bool IsMaskedEdit(const QObject* o) {
    const auto* e = As<QLineEdit>(o);
    return e != nullptr && !e->inputMask().isEmpty();
}

bool IsPage(const QObject* o) {
    return PageControl(o) != nullptr;
}

// Widgets: the tool tip is the hint.
QString WidgetHint(const QObject* o) {
    return As<QWidget>(o)->toolTip();
}
void SetWidgetHint(QObject* o, const QString& s) {
    As<QWidget>(o)->setToolTip(s);
}

// An action shows its text as tool tip until one is set; that one is no hint.
QString ActionHint(const QAction* a) {
    const QString tip = a->toolTip();
    QAction plain;
    plain.setText(a->text());
    if (a->text().isEmpty()) {
        plain.setIconText(a->iconText());
    }
    return tip == plain.toolTip() ? QString() : tip;
}

QStringList TextLines(const QString& text) {
    return text.isEmpty() ? QStringList() : text.split(QLatin1Char('\n'));
}

template <class T>
void SetItemTexts(T* w, const QStringList& items, int current) {
    // The common items are renamed, so a selection on them stays.
    const int common = std::min(int(items.size()), int(w->count()));
    for (int i = 0; i < common; ++i) {
        if constexpr (std::is_same_v<T, QComboBox>) {
            w->setItemText(i, items[i]);
        } else {
            w->item(i)->setText(items[i]);
        }
    }
    while (w->count() > items.size()) {
        if constexpr (std::is_same_v<T, QComboBox>) {
            w->removeItem(w->count() - 1);
        } else {
            delete w->takeItem(w->count() - 1);
        }
    }
    for (auto i = qsizetype(common); i < items.size(); ++i) {
        w->addItem(items[i]);
    }
    if (current < w->count()) {
        if constexpr (std::is_same_v<T, QComboBox>) {
            w->setCurrentIndex(current);
        } else {
            w->setCurrentRow(current);
        }
    }
}

const TTextAccess WidgetHintAccess{WidgetHint, SetWidgetHint};

const TTextAccess ButtonText{
    [](const QObject* o) { return As<QAbstractButton>(o)->text(); },
    [](QObject* o, const QString& s) { As<QAbstractButton>(o)->setText(s); }};

std::vector<TClassRow> MakeTable() {
    using R = TReadRule;
    using W = TWriteRule;
    std::vector<TClassRow> t;
    t.push_back({"QWidget or QDialog window",
                 "TForm",
                 IsForm,
                 {[](const QObject* o) { return As<QWidget>(o)->windowTitle(); },
                  [](QObject* o, const QString& s) { As<QWidget>(o)->setWindowTitle(s); }},
                 WidgetHintAccess,
                 {},
                 R::CaptionHint,
                 W::CaptionHint});
    t.push_back({"page of a QTabWidget",
                 "TTabSheet",
                 IsPage,
                 {[](const QObject* o) {
                      QTabWidget* tw = PageControl(o);
                      return tw->tabText(tw->indexOf(As<QWidget>(o)));
                  },
                  [](QObject* o, const QString& s) {
                      QTabWidget* tw = PageControl(o);
                      tw->setTabText(tw->indexOf(As<QWidget>(o)), s);
                      tw->update();
                  }},
                 {[](const QObject* o) {
                      QTabWidget* tw = PageControl(o);
                      return tw->tabToolTip(tw->indexOf(As<QWidget>(o)));
                  },
                  [](QObject* o, const QString& s) {
                      QTabWidget* tw = PageControl(o);
                      tw->setTabToolTip(tw->indexOf(As<QWidget>(o)), s);
                      tw->update();
                  }},
                 {},
                 R::CaptionHint,
                 W::CaptionHint});
    t.push_back({"QPushButton",
                 "TBitBtn, TButton",
                 Is<QPushButton>,
                 ButtonText,
                 WidgetHintAccess,
                 {},
                 R::CaptionHint,
                 W::CaptionHint});
    t.push_back({"QToolButton",
                 "TSpeedButton, TToolButton",
                 Is<QToolButton>,
                 ButtonText,
                 WidgetHintAccess,
                 {},
                 R::CaptionHint,
                 W::CaptionHint});
    const TTextAccess editText{[](const QObject* o) { return As<QLineEdit>(o)->text(); },
                               [](QObject* o, const QString& s) { As<QLineEdit>(o)->setText(s); }};
    t.push_back({"QLineEdit with input mask",
                 "TMaskEdit",
                 IsMaskedEdit,
                 editText,
                 WidgetHintAccess,
                 {},
                 R::CaptionHint,
                 W::CaptionHint});
    t.push_back({"QLineEdit",
                 "TEdit",
                 Is<QLineEdit>,
                 editText,
                 WidgetHintAccess,
                 {},
                 R::CaptionHint,
                 W::Hint});
    t.push_back({"QPlainTextEdit",
                 "TMemo",
                 Is<QPlainTextEdit>,
                 {},
                 WidgetHintAccess,
                 {[](const QObject* o) { return TextLines(As<QPlainTextEdit>(o)->toPlainText()); },
                  [](QObject* o, const QStringList& lines) {
                      As<QPlainTextEdit>(o)->setPlainText(lines.join(QLatin1Char('\n')));
                  }},
                 R::HintSingleAndLines,
                 W::HintSingle});
    t.push_back({"QTextEdit",
                 "TRichEdit",
                 Is<QTextEdit>,
                 {},
                 WidgetHintAccess,
                 {[](const QObject* o) { return TextLines(As<QTextEdit>(o)->toPlainText()); },
                  [](QObject* o, const QStringList& lines) {
                      As<QTextEdit>(o)->setPlainText(lines.join(QLatin1Char('\n')));
                  }},
                 R::LinesReplace,
                 W::List});
    t.push_back({"QCheckBox",
                 "TCheckBox",
                 Is<QCheckBox>,
                 ButtonText,
                 WidgetHintAccess,
                 {},
                 R::CaptionHint,
                 W::CaptionHint});
    t.push_back({"QRadioButton",
                 "TRadioButton",
                 Is<QRadioButton>,
                 ButtonText,
                 WidgetHintAccess,
                 {},
                 R::CaptionHint,
                 W::CaptionHint});
    t.push_back({"QGroupBox",
                 "TGroupBox, TRadioGroup",
                 Is<QGroupBox>,
                 {[](const QObject* o) { return As<QGroupBox>(o)->title(); },
                  [](QObject* o, const QString& s) { As<QGroupBox>(o)->setTitle(s); }},
                 WidgetHintAccess,
                 {},
                 R::CaptionHint,
                 W::CaptionHint});
    t.push_back({"QLabel",
                 "TLabel",
                 Is<QLabel>,
                 {[](const QObject* o) { return As<QLabel>(o)->text(); },
                  [](QObject* o, const QString& s) { As<QLabel>(o)->setText(s); }},
                 WidgetHintAccess,
                 {},
                 R::CaptionHint,
                 W::CaptionHint});
    t.push_back({"QListWidget",
                 "TListBox",
                 Is<QListWidget>,
                 {},
                 WidgetHintAccess,
                 {[](const QObject* o) {
                      const auto* w = As<QListWidget>(o);
                      QStringList items;
                      for (int i = 0; i < w->count(); ++i) {
                          items << w->item(i)->text();
                      }
                      return items;
                  },
                  [](QObject* o, const QStringList& items) {
                      auto* w = As<QListWidget>(o);
                      SetItemTexts(w, items, w->currentRow());
                  }},
                 R::ItemsUpdate,
                 W::List});
    t.push_back({"QComboBox",
                 "TComboBox",
                 Is<QComboBox>,
                 {},
                 WidgetHintAccess,
                 {[](const QObject* o) {
                      const auto* w = As<QComboBox>(o);
                      QStringList items;
                      for (int i = 0; i < w->count(); ++i) {
                          items << w->itemText(i);
                      }
                      return items;
                  },
                  [](QObject* o, const QStringList& items) {
                      auto* w = As<QComboBox>(o);
                      SetItemTexts(w, items, w->currentIndex());
                  }},
                 R::ItemsUpdate,
                 W::List});
    t.push_back({"QMenu",
                 "TMenuItem with sub-items",
                 Is<QMenu>,
                 {[](const QObject* o) { return As<QMenu>(o)->title(); },
                  [](QObject* o, const QString& s) { As<QMenu>(o)->setTitle(s); }},
                 {[](const QObject* o) { return ActionHint(As<QMenu>(o)->menuAction()); },
                  [](QObject* o, const QString& s) { As<QMenu>(o)->menuAction()->setToolTip(s); }},
                 {},
                 R::CaptionHint,
                 W::CaptionHint});
    t.push_back({"QAction",
                 "TMenuItem, TAction",
                 Is<QAction>,
                 {[](const QObject* o) { return As<QAction>(o)->text(); },
                  [](QObject* o, const QString& s) { As<QAction>(o)->setText(s); }},
                 {[](const QObject* o) { return ActionHint(As<QAction>(o)); },
                  [](QObject* o, const QString& s) { As<QAction>(o)->setToolTip(s); }},
                 {},
                 R::CaptionHint,
                 W::CaptionHint});
    t.push_back(
        {"QMenuBar", "TMainMenu", Is<QMenuBar>, {}, WidgetHintAccess, {}, R::MainMenu, W::Nothing});
    t.push_back({"QTabWidget",
                 "TPageControl",
                 Is<QTabWidget>,
                 {},
                 WidgetHintAccess,
                 {},
                 R::Nothing,
                 W::Hint});
    t.push_back(
        {"QTabBar", "TTabControl", Is<QTabBar>, {}, WidgetHintAccess, {}, R::Hint, W::Hint});
    t.push_back({"QTableWidget",
                 "TStringGrid",
                 Is<QTableWidget>,
                 {},
                 WidgetHintAccess,
                 {},
                 R::Hint,
                 W::Hint});
    // A frame has no caption of its own; its hint is translated as a panel's.
    t.push_back({"QFrame", "TPanel", Is<QFrame>, {}, WidgetHintAccess, {}, R::Hint, W::Hint});
    return t;
}

} // namespace

bool IsForm(const QObject* o) {
    const auto* w = qobject_cast<const QWidget*>(o);
    if (w == nullptr || !w->isWindow()) {
        return false;
    }
    switch (w->windowType()) {
    case Qt::Popup:
    case Qt::ToolTip:
    case Qt::SplashScreen:
        return false;
    default:
        return true;
    }
}

bool IsHelper(const QObject* o) {
    return o != nullptr && o->objectName().startsWith(QLatin1String("qt_"));
}

QObject* Owner(const QObject* o) {
    if (o == nullptr || IsForm(o)) {
        return nullptr;
    }
    QObject* p = o->parent();
    while (p != nullptr && IsHelper(p)) {
        p = p->parent();
    }
    return p;
}

std::vector<QObject*> OwnedComponents(const QObject* o) {
    std::vector<QObject*> out;
    if (o == nullptr) {
        return out;
    }
    for (QObject* c : o->children()) {
        if (IsHelper(c)) {
            const std::vector<QObject*> inner = OwnedComponents(c);
            out.insert(out.end(), inner.begin(), inner.end());
        } else {
            out.push_back(c);
        }
    }
    return out;
}

QString ClassName(const QObject* o) {
    const QString full = QString::fromLatin1(o->metaObject()->className());
    const qsizetype at = full.lastIndexOf(QLatin1String("::"));
    return at < 0 ? full : full.mid(at + 2);
}

int Tag(const QObject* o) {
    bool ok = false;
    const int tag = o->property(TagProperty).toInt(&ok);
    return ok ? tag : 0;
}

QTabWidget* PageControl(const QObject* o) {
    const auto* w = qobject_cast<const QWidget*>(o);
    if (w == nullptr || qobject_cast<QStackedWidget*>(w->parentWidget()) == nullptr) {
        return nullptr;
    }
    auto* tw = qobject_cast<QTabWidget*>(w->parentWidget()->parentWidget());
    return (tw != nullptr && tw->indexOf(const_cast<QWidget*>(w)) >= 0) ? tw : nullptr;
}

const std::vector<TClassRow>& ClassTable() {
    static const std::vector<TClassRow> table = MakeTable();
    return table;
}

const TClassRow* FindRow(const QObject* o) {
    if (o == nullptr) {
        return nullptr;
    }
    for (const TClassRow& row : ClassTable()) {
        if (row.Is(o)) {
            return &row;
        }
    }
    return nullptr;
}

int MenuItemCount(const QObject* menuBar) {
    const auto* bar = qobject_cast<const QMenuBar*>(menuBar);
    return bar == nullptr ? 0 : int(bar->actions().size());
}

void SetMenuItemCaption(QObject* menuBar, int index, const QString& caption) {
    auto* bar = qobject_cast<QMenuBar*>(menuBar);
    if (bar != nullptr && index >= 0 && index < bar->actions().size()) {
        bar->actions().at(index)->setText(caption);
    }
}

} // namespace pellix::formclasses
