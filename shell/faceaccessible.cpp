#include "faceaccessible.h"

#include "facelook.h"

#include "hotspot.h"
#include "keyboard.h"
#include "zunmain.h"

#include <QAccessibleWidget>
#include <QKeySequence>

namespace pellix {

namespace {

// A hot spot as a push button: its name with the f and g functions, the key a
// keyboard user types for it, and "Press", which does what a mouse click does.
class THotSpotAccessible : public QAccessibleWidget {
public:
    explicit THotSpotAccessible(THotSpot* spot) : QAccessibleWidget(spot, QAccessible::Button) {}

    QString text(QAccessible::Text t) const override {
        switch (t) {
        case QAccessible::Accelerator:
            return KeyBindingOf(Spot()->Key());
        case QAccessible::Description: {
            // The tooltip, unless it is only the letter already given as key binding.
            const QString hint = QAccessibleWidget::text(t);
            return hint.compare(KeyBindingOf(Spot()->Key()), Qt::CaseInsensitive) == 0 ? QString()
                                                                                       : hint;
        }
        default:
            return QAccessibleWidget::text(t);
        }
    }

    QAccessible::State state() const override {
        QAccessible::State s = QAccessibleWidget::state();
        s.pressed = Spot()->IsPressed();
        return s;
    }

    QStringList actionNames() const override { return {pressAction()}; }

    void doAction(const QString& actionName) override {
        if (actionName == pressAction()) {
            Spot()->Press();
        }
    }

    QStringList keyBindingsForAction(const QString& actionName) const override {
        const QString binding = KeyBindingOf(Spot()->Key());
        if (actionName != pressAction() || binding.isEmpty()) {
            return {};
        }
        return {binding};
    }

private:
    THotSpot* Spot() const { return static_cast<THotSpot*>(widget()); }
};

// A face label as read-only text: its name is what it shows, and its text
// interface lets the changes be reported as text insertions and deletions.
class TFaceLabelAccessible : public QAccessibleWidget, public QAccessibleTextInterface {
public:
    explicit TFaceLabelAccessible(TFaceLabel* label)
        : QAccessibleWidget(label, QAccessible::StaticText) {}

    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Name && Label()->accessibleName().isEmpty()) {
            return Label()->text();
        }
        return QAccessibleWidget::text(t);
    }

    QAccessible::State state() const override {
        QAccessible::State s = QAccessibleWidget::state();
        s.readOnly = true;
        return s;
    }

    void* interface_cast(QAccessible::InterfaceType t) override {
        if (t == QAccessible::TextInterface) {
            return static_cast<QAccessibleTextInterface*>(this);
        }
        return QAccessibleWidget::interface_cast(t);
    }

    // Nothing of a label can be selected, and it has no caret.
    void selection(int, int* startOffset, int* endOffset) const override {
        *startOffset = 0;
        *endOffset = 0;
    }
    int selectionCount() const override { return 0; }
    void addSelection(int, int) override {}
    void removeSelection(int) override {}
    void setSelection(int, int, int) override {}
    int cursorPosition() const override { return 0; }
    void setCursorPosition(int) override {}
    void scrollToSubstring(int, int) override {} // always shown whole

    QString text(int startOffset, int endOffset) const override {
        return Label()->text().mid(startOffset, endOffset - startOffset);
    }
    int characterCount() const override { return int(Label()->text().size()); }

    QString attributes(int, int* startOffset, int* endOffset) const override {
        *startOffset = 0; // one font for the whole text
        *endOffset = characterCount();
        return {};
    }

    // Screen coordinates of one character, as the label lays out plain text.
    QRect characterRect(int offset) const override {
        const QString s = Label()->text();
        if (offset < 0 || offset >= s.size()) {
            return {};
        }
        const QFontMetrics fm(Label()->font());
        const QRect area = Label()->contentsRect();
        const int top = (Label()->alignment() & Qt::AlignVCenter) != 0
                            ? area.top() + (area.height() - fm.height()) / 2
                            : area.top();
        const int left = area.left() + fm.horizontalAdvance(s.left(offset));
        const int right = area.left() + fm.horizontalAdvance(s.left(offset + 1));
        return {Label()->mapToGlobal(QPoint(left, top)), QSize(right - left, fm.height())};
    }

    int offsetAtPoint(const QPoint& point) const override {
        for (int i = 0; i < characterCount(); ++i) {
            if (characterRect(i).contains(point)) {
                return i;
            }
        }
        return -1;
    }

private:
    TFaceLabel* Label() const { return static_cast<TFaceLabel*>(widget()); }
};

QAccessibleInterface* FaceFactory(const QString&, QObject* object) {
    if (auto* window = qobject_cast<TZunMain*>(object)) {
        // A frame for assistive technology, not a filler: it is the program's window.
        return new QAccessibleWidget(window, QAccessible::Window);
    }
    if (auto* spot = qobject_cast<THotSpot*>(object)) {
        return new THotSpotAccessible(spot);
    }
    if (auto* label = qobject_cast<TFaceLabel*>(object)) {
        return new TFaceLabelAccessible(label);
    }
    return nullptr;
}

} // namespace

void InstallFaceAccessibility() {
    static const bool installed = [] {
        QAccessible::installFactory(FaceFactory);
        return true;
    }();
    (void)installed;
}

void NotifyCaptionChanged(TFaceLabel& label, const QString& oldText) {
    if (!QAccessible::isActive()) {
        return; // no assistive technology listens: keep the key press lean
    }
    QAccessibleTextUpdateEvent event(&label, 0, oldText, label.text());
    QAccessible::updateAccessibility(&event);
}

QString KeyBindingOf(const FaceKey* key) {
    if (key == nullptr) {
        return {};
    }
    if (const char letter = LookOf(*key).Letter; letter != '\0') {
        return QString(QLatin1Char(letter));
    }
    // Of the table's rows, only those below the grave accent are reached by a
    // typed character; the later row wins, so the point key answers to '.'.
    QString binding;
    for (const KeyboardEntry& e : KeyboardTable) {
        if (e.Control != key->Control || e.Value >= 0x60) {
            continue;
        }
        if (e.Value == 0x08) {
            binding = QKeySequence(Qt::Key_Backspace).toString(QKeySequence::PortableText);
        } else if (e.Value == 0x0D) {
            binding = QKeySequence(Qt::Key_Return).toString(QKeySequence::PortableText);
        } else {
            binding = QString(QChar(e.Value));
        }
    }
    return binding;
}

} // namespace pellix
