#pragma once

// Whether every text of Form1 fits its place as the window's font draws it:
// each label ends before its box, each combo box's edit field holds its
// widest item, the button holds "Calculate!", the BMI box a 15-digit BMI.
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyleOption>
#include <QtTest>

#include "runtime/forms/qt/controls.h"
#include "runtime/forms/qt/form.h"
#include "ui/form1.h"

inline void verifyTextFits(parvolin::qt::Form& form) {
    using namespace parvolin::form1;
    form.setText(kBmiBox, "22.7393404746902");
    const auto advance = [](const QWidget* widget, const QString& shown) {
        return widget->fontMetrics().horizontalAdvance(shown);
    };
    for (auto* label : form.findChildren<QLabel*>()) {
        QVERIFY2(label->width() >= advance(label, label->text()), qPrintable(label->text()));
        QVERIFY2(label->geometry().right() < label->buddy()->x(), qPrintable(label->text()));
    }
    // A line edit keeps 2 pixels free on each side of its text.
    for (auto* box : form.findChildren<QComboBox*>())
        for (int item = 0; item < box->count(); ++item)
            QVERIFY2(advance(box, box->itemText(item)) + 4 <= box->lineEdit()->width(),
                     qPrintable(box->itemText(item)));
    auto* button = form.findChild<QPushButton*>(parvolin::qt::fromUtf8(kCalculateButton));
    QStyleOptionButton buttonOption;
    buttonOption.initFrom(button);
    buttonOption.text = button->text();
    QVERIFY2(advance(button, button->text()) <=
                 button->style()
                     ->subElementRect(QStyle::SE_PushButtonContents, &buttonOption, button)
                     .width(),
             qPrintable(button->text()));
    auto* bmi = form.findChild<QLineEdit*>(parvolin::qt::fromUtf8(kBmiBox));
    QStyleOptionFrame frameOption;
    frameOption.initFrom(bmi);
    frameOption.lineWidth =
        bmi->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &frameOption, bmi);
    QVERIFY2(
        advance(bmi, bmi->text()) + 4 <=
            bmi->style()->subElementRect(QStyle::SE_LineEditContents, &frameOption, bmi).width(),
        qPrintable(bmi->text()));
}
