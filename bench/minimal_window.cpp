// The yardstick for Pellix's start-up: the smallest Qt Widgets program that
// shows one frameless 641 x 404 window with a label.

#include <QApplication>
#include <QLabel>
#include <QWidget>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QWidget window(nullptr, Qt::Window | Qt::FramelessWindowHint);
    window.setWindowTitle(QStringLiteral("Minimal"));
    window.setFixedSize(641, 404);
    QLabel label(QStringLiteral("0.000000000"), &window);
    label.setGeometry(123, 40, 286, 51);
    window.show();
    return app.exec();
}
