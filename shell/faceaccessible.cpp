#include "faceaccessible.h"

#include "facelook.h"
#include "keypad/entry.h"

#include "hotspot.h"
#include "keypad/keyboard.h"
#include "zunmain.h"

#include <QAccessibleWidget>
#include <QBasicTimer>
#include <QKeySequence>
#include <QTimerEvent>

#include <algorithm>
#include <array>
#include <climits>
#include <utility>
#include <vector>

namespace pellix {

namespace {

// The face's row of a key: the key table runs row by row, left to right.
int RowOf(const FaceKey& key) {
    static const auto rows = [] {
        std::array<int, FaceKeys.size()> r{};
        for (std::size_t i = 1; i < FaceKeys.size(); ++i) {
            const bool wraps =
                LookOf(FaceKeys[i]).Bounds.Left < LookOf(FaceKeys[i - 1]).Bounds.Left;
            r[i] = r[i - 1] + (wraps ? 1 : 0);
        }
        return r;
    }();
    return rows[static_cast<std::size_t>(&key - FaceKeys.data())];
}

// A hidden notification inside the display, renamed and shown once a key is
// done. Screen readers do not speak a label's changes unasked, but they do
// speak a notification that appears.
class TFaceAnnouncer : public QWidget {
public:
    explicit TFaceAnnouncer(TFaceLabel* display) : QWidget(display) {
        setObjectName(QStringLiteral("lbAnnounce"));
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setAttribute(Qt::WA_NoSystemBackground);
        setGeometry(0, 0, 1, 1);
        hide();
    }

    static TFaceAnnouncer& Of(TFaceLabel& display) {
        auto* a = display.findChild<TFaceAnnouncer*>(QString(), Qt::FindDirectChildrenOnly);
        return a != nullptr ? *a : *new TFaceAnnouncer(&display);
    }

    TFaceNames Names;

    // Keeps the text a label had before the key; the key's end is the next turn
    // of the event loop, when the labels show its result.
    void Changed(TFaceLabel& label, const QString& oldText) {
        const auto known = [&label](const auto& b) { return b.first == &label; };
        if (std::none_of(FBefore.begin(), FBefore.end(), known)) {
            FBefore.emplace_back(&label, oldText);
        }
        FTimer.start(0, this);
    }

protected:
    void timerEvent(QTimerEvent* event) override {
        if (event->timerId() != FTimer.timerId()) {
            QWidget::timerEvent(event);
            return;
        }
        FTimer.stop();
        const auto before = std::exchange(FBefore, {});
        const auto* display = static_cast<TFaceLabel*>(parentWidget());
        QStringList said;
        QStringList off;
        for (const auto& [label, was] : before) {
            const QString now = label->text();
            if (label == display) {
                if (SpokenDisplay(was) != SpokenDisplay(now)) {
                    said.prepend(SpokenDisplay(now));
                }
            } else if (now != was) {
                if (now.isEmpty()) {
                    off << Names.Off.arg(was);
                } else {
                    said << now;
                }
            }
        }
        // An annunciator that goes out is news only when nothing else is:
        // a prefix pressed again, not the prefix used by the key it shifted.
        if (said.isEmpty()) {
            said = off;
        }
        if (said.isEmpty()) {
            return;
        }
        setAccessibleName(said.join(QStringLiteral(", ")));
        if (QAccessible::isActive() && window()->isVisible()) {
            hide();
            show();
        }
    }

private:
    QBasicTimer FTimer;
    std::vector<std::pair<TFaceLabel*, QString>> FBefore; // in the order of their change
};

// A hot spot as a push button: its name in words, the f and g functions as its
// description, the key a keyboard user types for it, and "Press", which does
// what a mouse click does.
class THotSpotAccessible : public QAccessibleWidget {
public:
    explicit THotSpotAccessible(THotSpot* spot) : QAccessibleWidget(spot, QAccessible::Button) {}

    QString text(QAccessible::Text t) const override {
        switch (t) {
        case QAccessible::Accelerator:
            return KeyBindingOf(Spot()->Key());
        case QAccessible::Description:
            return Spot()->accessibleDescription(); // no fallback to the tooltip: see SetNames
        default:
            return QAccessibleWidget::text(t);
        }
    }

    QAccessible::State state() const override {
        QAccessible::State s = QAccessibleWidget::state();
        s.pressed = Spot()->IsPressed();
        return s;
    }

    // The keys of a row share one top and one bottom, so that a review reads
    // the face row by row; ENTER, two rows tall, belongs to the upper one.
    QRect rect() const override {
        const QRect own = QAccessibleWidget::rect();
        QWidget* face = Spot()->parentWidget();
        if (Spot()->Key() == nullptr || face == nullptr) {
            return own;
        }
        const int row = RowOf(*Spot()->Key());
        int top = INT_MAX;
        int bottom = INT_MAX;
        for (const THotSpot* s : face->findChildren<THotSpot*>(Qt::FindDirectChildrenOnly)) {
            if (s->Key() != nullptr && RowOf(*s->Key()) == row) {
                top = std::min(top, s->geometry().top());
                bottom = std::min(bottom, s->geometry().bottom());
            }
        }
        const int origin = face->mapToGlobal(QPoint(0, 0)).y();
        return {QPoint(own.left(), origin + top), QPoint(own.right(), origin + bottom)};
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
        // The desktop's accessibility bus joins these with ';' and reads them
        // as mnemonic, menu path and accelerator: the typed key is the
        // accelerator, which screen readers speak with the key's name.
        return {QString(), QString(), binding};
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
            return SpokenDisplay(Label()->text());
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
        return SpokenDisplay(Label()->text()).mid(startOffset, endOffset - startOffset);
    }
    int characterCount() const override { return int(SpokenDisplay(Label()->text()).size()); }

    QString attributes(int, int* startOffset, int* endOffset) const override {
        *startOffset = 0; // one font for the whole text
        *endOffset = characterCount();
        return {};
    }

    // Screen coordinates of one character, as the label lays out plain text.
    QRect characterRect(int offset) const override {
        const QString s = SpokenDisplay(Label()->text()); // the cursor comes last
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
    if (auto* announcer = dynamic_cast<TFaceAnnouncer*>(object)) {
        return new QAccessibleWidget(announcer, QAccessible::Notification);
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
    TFaceLabel* display = label.parentWidget() == nullptr
                              ? nullptr
                              : label.parentWidget()->findChild<TFaceLabel*>(
                                    QStringLiteral("lbDisplay"), Qt::FindDirectChildrenOnly);
    if (&label == display) {
        SetDisplayNames(label, TFaceAnnouncer::Of(label).Names);
    }
    if (display != nullptr) {
        TFaceAnnouncer::Of(*display).Changed(label, oldText);
    }
    if (!QAccessible::isActive()) {
        return; // no assistive technology listens: keep the key press lean
    }
    const QString was = SpokenDisplay(oldText);
    const QString now = SpokenDisplay(label.text());
    if (was != now) {
        QAccessibleTextUpdateEvent event(&label, 0, was, now);
        QAccessible::updateAccessibility(&event);
    }
}

void SetDisplayNames(TFaceLabel& display, const TFaceNames& names) {
    TFaceAnnouncer& announcer = TFaceAnnouncer::Of(display);
    if (&names != &announcer.Names) {
        announcer.Names = names;
    }
    const bool keying = display.text().endsWith(QLatin1Char(EntryCursor));
    const QString& description = keying ? names.DisplayKeying : names.Display;
    if (display.accessibleDescription() != description) {
        display.setAccessibleDescription(description);
    }
}

QString SpokenDisplay(const QString& shown) {
    return shown.endsWith(QLatin1Char(EntryCursor)) ? shown.chopped(1).trimmed() : shown;
}

QString SpokenLegend(std::string_view printed) {
    struct Spoken {
        std::string_view Printed;
        const char* Words;
    };
    static constexpr Spoken Table[] = {
        {"\u221Ax", "square root"},
        {"x\u00B2", "x squared"},
        {"e\u02E3", "e to the x"},
        {"LN", "natural logarithm"},
        {"10\u02E3", "10 to the x"},
        {"LOG", "common logarithm"},
        {"y\u02E3", "y to the x"},
        {"%", "percent"},
        {"1/x", "reciprocal"},
        {"\u0394%", "percent change"},
        {"CHS", "change sign"},
        {"ABS", "absolute value"},
        {"\u00F7", "divide"},
        {"SIN\u207B\u00B9", "arc sine"},
        {"COS\u207B\u00B9", "arc cosine"},
        {"TAN\u207B\u00B9", "arc tangent"},
        {"EEX", "enter exponent"},
        {"\u03C0", "pi"},
        {"\u00D7", "multiply"},
        {"R\u2193", "roll down"},
        {"R\u2191", "roll up"},
        {"x\u2277y", "exchange x and y"},
        {"\u2190", "back arrow"},
        {"RAN #", "random number"},
        {"LSTx", "last x"},
        {"\u2192R", "to rectangular"},
        {"\u2192P", "to polar"},
        {"\u2192H.MS", "to hours, minutes, seconds"},
        {"\u2192H", "to hours"},
        {"\u2192RAD", "to radians"},
        {"\u2192DEG", "to degrees"},
        {"\u2212", "subtract"},
        {"STO", "store"},
        {"RCL", "recall"},
        {"x!", "factorial"},
        {"\u00B7", "point"},
        {"\u03A3+", "sigma plus"},
        {"+", "add"},
    };
    for (const Spoken& s : Table) {
        if (s.Printed == printed) {
            return QString::fromLatin1(s.Words);
        }
    }
    return QString::fromUtf8(printed.data(), qsizetype(printed.size()));
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
