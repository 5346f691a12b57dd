#include "ui/form1.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <utility>

#include "runtime/forms/controls.h"

namespace parvolin {
namespace {

// Positions and sizes come in twips (1/1440 inch), as the window was designed;
// 15 twips make one logical pixel, and Qt's high-DPI scaling does the rest.
constexpr int kTwipsPerPixel = 15;

QRect fromTwips(int left, int top, int width, int height) {
    return {left / kTwipsPerPixel, top / kTwipsPerPixel, width / kTwipsPerPixel,
            height / kTwipsPerPixel};
}

template <typename Control>
Control* place(QWidget* parent, const char* name, QRect geometry) {
    auto* control = new Control(parent);
    control->setObjectName(QString::fromLatin1(name));
    control->setGeometry(geometry);
    return control;
}

// Labels size themselves to their captions at the given position.
QLabel* placeLabel(QWidget* parent, const char* name, const QString& caption, int left, int top) {
    auto* label = new QLabel(caption, parent);
    label->setObjectName(QString::fromLatin1(name));
    label->move(left / kTwipsPerPixel, top / kTwipsPerPixel);
    label->adjustSize();
    return label;
}

}  // namespace

Form1::Form1(ErrorReporter& reporter, QWidget* parent) : Form(reporter, parent) {
    setObjectName(QStringLiteral("Form1"));
    createControls();
    setUpFrame();
    describeForAccessibility();

    connect(combo1_, &QComboBox::activated, this, [this] { runHandler([this] { handleMethodChange(); }); });
    connect(command1_, &QPushButton::clicked, this, [this] { runHandler([this] { handleCalculate(); }); });
}

// Created in tab order: Qt chains the focus in creation order, and each combo
// is made editable right away so that its line edit joins the chain in place.
// (setTabOrder on editable combos breaks the chain in Qt 6.4.)
void Form1::createControls() {
    label1_ = placeLabel(this, "Label1", QStringLiteral("Method:"), 135, 180);
    combo1_ = place<QComboBox>(this, "Combo1", fromTwips(900, 135, 2220, 315));
    makePlainDropDown(*combo1_);
    combo1_->addItems({QStringLiteral("Imperial"), QStringLiteral("Metric")});
    combo1_->setEditText(QStringLiteral("Imperial"));
    label2_ = placeLabel(this, "Label2", QStringLiteral("Weight:"), 135, 675);
    label3_ = placeLabel(this, "Label3", QStringLiteral("Height:"), 135, 1170);
    text1_ = place<QLineEdit>(this, "Text1", fromTwips(900, 630, 1050, 315));
    text2_ = place<QLineEdit>(this, "Text2", fromTwips(900, 1125, 1050, 315));
    combo2_ = place<QComboBox>(this, "Combo2", fromTwips(2070, 630, 1050, 315));
    makePlainDropDown(*combo2_);
    combo3_ = place<QComboBox>(this, "Combo3", fromTwips(2070, 1125, 1050, 315));
    makePlainDropDown(*combo3_);
    command1_ = place<QPushButton>(this, "Command1", fromTwips(900, 1620, 1365, 375));
    command1_->setText(QStringLiteral("Calculate!"));
    // Never the default button: Enter in another box must not press it. A plain
    // widget has no default-button mechanism at all, so autoDefault only makes
    // Enter press the button while the button itself has the focus.
    command1_->setDefault(false);
    command1_->setAutoDefault(true);
    text3_ = place<QPlainTextEdit>(this, "Text3", fromTwips(900, 2700, 2220, 810));
    text3_->setWordWrapMode(QTextOption::WordWrap);  // Qt's default also breaks inside words
    text3_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    text3_->setTabChangesFocus(true);
    text4_ = place<QLineEdit>(this, "Text4", fromTwips(900, 2205, 2220, 315));
    label4_ = placeLabel(this, "Label4", QStringLiteral("Status:"), 135, 2745);
    label5_ = placeLabel(this, "Label5", QStringLiteral("BMI:"), 135, 2250);
}

// A fixed dialog frame with a caption and a close box only. A plain widget
// rather than a QDialog: a dialog would press a button on Enter and close on
// Escape.
void Form1::setUpFrame() {
    setWindowTitle(QStringLiteral("Parvolin"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    setFixedSize(clientSize());
}

// Each label names the box beside it for screen readers. The unit boxes have no
// label of their own: they get a name, and a description too, because on
// Linux Qt announces an editable combo box by its text and a label relation.
void Form1::describeForAccessibility() {
    label1_->setBuddy(combo1_);
    label2_->setBuddy(text1_);
    label3_->setBuddy(text2_);
    label4_->setBuddy(text3_);
    label5_->setBuddy(text4_);
    for (auto [box, meaning] : {std::pair{combo2_, QStringLiteral("Weight unit")},
                                std::pair{combo3_, QStringLiteral("Height unit")}}) {
        box->setAccessibleName(meaning);
        box->setAccessibleDescription(meaning);
    }
}

}  // namespace parvolin
