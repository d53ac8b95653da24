// The yardstick for Pellix's start-up and key-to-screen latency: the smallest
// Qt Widgets program that shows one frameless 641 x 404 window with a label,
// and repaints the label with a new text on each key press.
// Usage: minimal_window [ZOOM]   (window, label and font scaled, default 1)

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QWidget>

#include <cstdlib>

namespace {

class Window : public QWidget {
public:
    explicit Window(double zoom) : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint) {
        auto z = [zoom](int v) { return qRound(v * zoom); };
        setWindowTitle(QStringLiteral("Minimal"));
        setFixedSize(z(641), z(404));
        label_ = new QLabel(QStringLiteral("0.000000000"), this);
        label_->setGeometry(z(123), z(40), z(286), z(51));
        QFont f = label_->font();
        f.setPointSizeF(f.pointSizeF() * zoom);
        label_->setFont(f);
    }

protected:
    void keyPressEvent(QKeyEvent* event) override {
        text_ = (text_ + event->text()).right(11);
        label_->setText(text_);
    }

private:
    QLabel* label_;
    QString text_;
};

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    Window window(argc > 1 ? std::atof(argv[1]) : 1.0);
    window.show();
    return app.exec();
}
