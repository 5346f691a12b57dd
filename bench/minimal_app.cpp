// The least a Qt Widgets program does to show a window: the floors that
// Parvolin's start-up is measured against. Built three times: as it is, an
// empty window that never draws a letter; with PARVOLIN_ONE_LABEL, a window
// showing one label, which loads the fonts as every window with text must;
// and with PARVOLIN_SAME_CONTROLS, the fair floor: a bare window with
// Parvolin's thirteen controls, texts and items at the same places and size,
// without its layout rules, display check or window-manager hints.
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QWidget>

namespace {

void label(QWidget& window, const char* text, int left, int top) {
    (new QLabel(QString::fromLatin1(text), &window))->move(left, top);
}

void comboBox(QWidget& window, const QStringList& items, QRect place) {
    auto* box = new QComboBox(&window);
    box->setEditable(true);
    box->addItems(items);
    box->setGeometry(place);
}

void lineEdit(QWidget& window, QRect place) { (new QLineEdit(&window))->setGeometry(place); }

void addSameControls(QWidget& window) {
    label(window, "Method:", 9, 12);
    comboBox(window, {QStringLiteral("Imperial"), QStringLiteral("Metric")}, {60, 9, 148, 21});
    label(window, "Weight:", 9, 45);
    lineEdit(window, {60, 42, 70, 21});
    label(window, "Height:", 9, 78);
    lineEdit(window, {60, 75, 70, 21});
    comboBox(window, {QStringLiteral("Pounds")}, {138, 42, 70, 21});
    comboBox(window, {QStringLiteral("Feet"), QStringLiteral("Inches")}, {138, 75, 70, 21});
    (new QPushButton(QStringLiteral("Calculate!"), &window))->setGeometry(60, 108, 91, 25);
    label(window, "Status:", 9, 183);
    (new QPlainTextEdit(&window))->setGeometry(60, 180, 148, 54);
    label(window, "BMI:", 9, 150);
    lineEdit(window, {60, 147, 148, 21});
}

}  // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QWidget window;
#if defined(PARVOLIN_SAME_CONTROLS)
    window.setWindowTitle(QStringLiteral("Minimal with controls"));
    addSameControls(window);
#elif defined(PARVOLIN_ONE_LABEL)
    window.setWindowTitle(QStringLiteral("Minimal with a label"));
    new QLabel(QStringLiteral("Method:"), &window);
#else
    window.setWindowTitle(QStringLiteral("Minimal"));
    [[maybe_unused]] auto unused = &addSameControls;
#endif
    window.resize(217, 243);
    window.show();
    return QApplication::exec();
}
