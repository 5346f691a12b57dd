#pragma once

#include "runtime/forms/form.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace parvolin {

// The program's one window. Controls keep their designer names, also as
// object names (Label1, Combo1, Text1, Command1, ...).
class Form1 final : public Form {
public:
    explicit Form1(ErrorReporter& reporter, QWidget* parent = nullptr);

    // Client area in logical pixels.
    static constexpr QSize clientSize() { return {217, 243}; }

protected:
    // Fills the unit boxes for the Imperial system.
    void handleLoad() override;

private:
    // A pick from Combo1's list: rebuilds the unit boxes for the picked system.
    void handleMethodChange();
    // A press of "Calculate!": Text4 gets the BMI, then Text3 its status, and
    // neither changes unless the whole calculation succeeds.
    void handleCalculate();

    void createControls();
    void setUpFrame();
    void describeForAccessibility();

    QLabel* label1_ = nullptr;
    QComboBox* combo1_ = nullptr;
    QLabel* label2_ = nullptr;
    QLabel* label3_ = nullptr;
    QLineEdit* text1_ = nullptr;
    QLineEdit* text2_ = nullptr;
    QComboBox* combo2_ = nullptr;
    QComboBox* combo3_ = nullptr;
    QPushButton* command1_ = nullptr;
    QPlainTextEdit* text3_ = nullptr;
    QLineEdit* text4_ = nullptr;
    QLabel* label4_ = nullptr;
    QLabel* label5_ = nullptr;
};

}  // namespace parvolin
