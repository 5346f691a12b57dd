// The three handlers of Form1. Each runs inside the form's error frame: an
// error ends it at once and is reported, with the controls as the steps
// before the error left them.
#include <QComboBox>
#include <QLineEdit>
#include <QLocale>
#include <QPlainTextEdit>

#include "core/bmi.h"
#include "runtime/forms/controls.h"
#include "ui/form1.h"
#include "units/unit_lists.h"

namespace parvolin {

void Form1::handleLoad() { fillUnitLists(UnitSystem::Imperial, *combo2_, *combo3_); }

void Form1::handleMethodChange() { rebuildUnitLists(controlText(*combo1_), *combo2_, *combo3_); }

void Form1::handleCalculate() {
    const MeasurementInput input{controlText(*combo1_), controlText(*combo3_),
                                 controlText(*text1_), controlText(*text2_)};
    // The user's locale, read at each press: it decides the decimal separator.
    const CalcResult result = computeResult(input, numberLocaleOf(QLocale()));
    setControlText(*text4_, result.bmiText);
    setControlText(*text3_, result.statusText);
}

}  // namespace parvolin
