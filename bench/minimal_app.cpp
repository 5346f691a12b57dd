// The least a Qt Widgets program does to show a window: the floor that
// Parvolin's start-up is measured against.
#include <QApplication>
#include <QWidget>

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("Minimal"));
    window.resize(217, 243);
    window.show();
    return QApplication::exec();
}
