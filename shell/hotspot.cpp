#include "hotspot.h"

#include "base/rounding.h"
#include "faceaccessible.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QTimerEvent>

#include <cmath>

namespace pellix {

int DesignFontPoints(const FaceItem& item) {
    return RoundEven(item.FontPixels * 0.75);
}

THotSpot::THotSpot(const FaceKey* key, const char* control, QWidget* parent)
    : QWidget(parent), FKey(key) {
    setObjectName(QString::fromLatin1(control));
    setAttribute(Qt::WA_NoSystemBackground);
    setAttribute(Qt::WA_TranslucentBackground);
    setMouseTracking(false);
    setFocusPolicy(Qt::TabFocus);
    if (key != nullptr) {
        if (const std::string_view tip = LookOf(*key).Tooltip; !tip.empty()) {
            setToolTip(QString::fromUtf8(tip.data(), qsizetype(tip.size())));
        }
    }
    SetNames(TFaceNames());
}

void THotSpot::SetNames(const TFaceNames& names) {
    if (FKey == nullptr) {
        setAccessibleName(names.About);
        return;
    }
    setAccessibleName(SpokenLegend(FKey->Legend));
    // The tooltip, unless it is only the letter the key binding gives already.
    QStringList about;
    if (!toolTip().isEmpty() && toolTip().compare(KeyBindingOf(FKey), Qt::CaseInsensitive) != 0) {
        about << toolTip();
    }
    if (!FKey->FName.empty()) {
        about << names.FShift.arg(SpokenLegend(FKey->FName));
    }
    if (!FKey->GName.empty()) {
        about << names.GShift.arg(SpokenLegend(FKey->GName));
    }
    setAccessibleDescription(about.join(QStringLiteral(", ")));
}

void THotSpot::SetBounds(const QRect& r) {
    FBounds = r;
    setGeometry(r);
}

void THotSpot::mousePressEvent(QMouseEvent* event) {
    event->accept();
    emit MouseDown(this);
}

void THotSpot::mouseReleaseEvent(QMouseEvent* event) {
    event->accept();
    Release(event->position().toPoint());
}

void THotSpot::Release(QPoint pos) {
    if (rect().contains(pos)) {
        emit Click(this);
    }
    emit MouseUp(this, pos.x());
}

void THotSpot::Press() {
    // One pointer holds one key: a press still held is released first, so
    // quick presses key in the order they came.
    if (QWidget* face = parentWidget()) {
        for (THotSpot* s : face->findChildren<THotSpot*>(Qt::FindDirectChildrenOnly)) {
            if (s->FPressTimer.isActive()) {
                s->FinishPress();
            }
        }
    }
    emit MouseDown(this);
    FPressTimer.start(100, this); // as long as a button's animated click
}

void THotSpot::FinishPress() {
    // Stopped first: the About badge's click waits in its box's event loop,
    // where the timer would fire again.
    FPressTimer.stop();
    Release(rect().center());
}

void THotSpot::timerEvent(QTimerEvent* event) {
    if (event->timerId() == FPressTimer.timerId()) {
        FinishPress();
    } else {
        QWidget::timerEvent(event);
    }
}

void THotSpot::keyPressEvent(QKeyEvent* event) {
    // Escape gives the focus back to the window, which hands it to the
    // display; every other key means what it means anywhere on the face.
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier &&
        parentWidget() != nullptr) {
        parentWidget()->setFocus(Qt::OtherFocusReason);
        event->accept();
        return;
    }
    event->ignore();
}

void THotSpot::paintEvent(QPaintEvent*) {
    if (!hasFocus()) {
        return;
    }
    // A frame in two colours, seen on the dark keys and on the light face alike.
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal width = std::max(1.5, height() / 16.0);
    const QRectF outer = QRectF(rect()).adjusted(width / 2, width / 2, -width / 2, -width / 2);
    p.setPen(QPen(QColor(255, 214, 0), width));
    p.drawRoundedRect(outer, width * 2, width * 2);
    p.setPen(QPen(Qt::black, width / 2, Qt::DotLine));
    p.drawRoundedRect(outer.adjusted(width, width, -width, -width), width, width);
}

void THotSpot::mouseDoubleClickEvent(QMouseEvent* event) {
    // A quick second click is a second key press.
    mousePressEvent(event);
}

void THotSpot::contextMenuEvent(QContextMenuEvent* event) {
    event->accept(); // the right button keys the key; no menu over keys
}

TFaceLabel::TFaceLabel(const FaceItem& item, QWidget* parent)
    : QLabel(parent), FItem(item), FPoints(DesignFontPoints(item)), FAutoSize(item.AutoSize) {
    setObjectName(QString::fromUtf8(item.Control.data(), qsizetype(item.Control.size())));
    setAttribute(Qt::WA_TranslucentBackground);
    setAutoFillBackground(false);
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
    setTextFormat(Qt::PlainText);
    setWordWrap(false);
    QFont f;
    if (item.Control == "lbDisplay") {
        f.setFamilies({QString::fromUtf8(item.Font.data(), qsizetype(item.Font.size())),
                       QStringLiteral("Comic Neue"), QStringLiteral("DejaVu Sans"),
                       QStringLiteral("Arial")});
    } else {
        f.setFamilies({QString::fromUtf8(item.Font.data(), qsizetype(item.Font.size())),
                       QStringLiteral("DejaVu Sans"), QStringLiteral("Segoe UI"),
                       QStringLiteral("Arial")});
    }
    f.setBold(item.Bold);
    setFont(f);
    if (item.Control == "lbDisplay") {
        setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        FShrinkToFit = true;
        // The keyboard focus rests here, so that a screen reader starts at the number.
        setFocusPolicy(Qt::TabFocus);
    }
    SetNames(TFaceNames());
    SetFontPoints(FPoints);
    SetBounds(QRect(item.Bounds.Left, item.Bounds.Top, item.Bounds.Width, item.Bounds.Height));
}

void TFaceLabel::SetFontPoints(int points) {
    FPoints = points;
    Fit();
}

void TFaceLabel::SetBounds(const QRect& r) {
    FBounds = r;
    Fit();
}

void TFaceLabel::SetNames(const TFaceNames& names) {
    if (objectName() == QLatin1String("lbDisplay")) {
        SetDisplayNames(*this, names);
    }
}

void TFaceLabel::SetCaption(const QString& text) {
    if (text != this->text()) {
        const QString old = this->text();
        setText(text);
        Fit();
        NotifyCaptionChanged(*this, old);
    }
}

void TFaceLabel::Fit() {
    // Points at the design's 96 dots per inch, whatever the screen reports.
    const int base = std::max(1, RoundEven(FPoints * 96.0 / 72.0));
    QFont f = font();
    f.setPixelSize(base);
    // Up to 14 characters fit the display in any of its fonts; only longer
    // texts are measured (measuring loads the font, which start-up need not wait for).
    if (FShrinkToFit && text().size() > 14) {
        // A long number gets a smaller font instead of losing its last digits.
        const int room = std::max(1, FBounds.width() - 2);
        const int smallest = std::max(1, base * 3 / 5);
        int size = base;
        while (size > smallest && QFontMetrics(f).horizontalAdvance(text()) > room) {
            f.setPixelSize(--size);
        }
    }
    if (f != font()) {
        setFont(f);
    }
    if (FAutoSize) {
        const QSize hint = text().isEmpty() ? QSize(0, 0) : sizeHint();
        FBounds.setSize(hint);
    }
    QRect shown = FBounds;
    if (!FShrinkToFit && !text().isEmpty()) {
        // An annunciator whose box is too small for its text grows to it, ink
        // overhanging the last advance included.
        const QFontMetrics fm(f);
        const int ink = std::max(fm.horizontalAdvance(text()), fm.boundingRect(text()).right() + 1);
        shown.setSize(shown.size().expandedTo(sizeHint()).expandedTo(QSize(ink, fm.height())));
    }
    setGeometry(shown);
}

void TFaceLabel::mousePressEvent(QMouseEvent* event) {
    event->accept();
}

void TFaceLabel::mouseReleaseEvent(QMouseEvent* event) {
    event->accept();
    if (rect().contains(event->position().toPoint())) {
        emit Click(this);
    }
}

} // namespace pellix
