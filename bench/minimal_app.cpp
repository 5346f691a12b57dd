// The least a Qt Widgets program does to show a window: the floors that
// Parvolin's start-up is measured against. Built twice: as it is, an empty
// window that never draws a letter, and with PARVOLIN_ONE_LABEL, a window
// showing one label, which loads the fonts as every window with text must.
#include <QApplication>
#include <QLabel>
#include <QWidget>

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QWidget window;
#ifdef PARVOLIN_ONE_LABEL
    window.setWindowTitle(QStringLiteral("Minimal with a label"));
    new QLabel(QStringLiteral("Method:"), &window);
#else
    window.setWindowTitle(QStringLiteral("Minimal"));
#endif
    window.resize(217, 243);
    window.show();
    return QApplication::exec();
}
