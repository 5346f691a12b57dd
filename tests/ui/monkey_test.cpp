// A seeded, reproducible monkey: thousands of random user actions on Form1
// (typing, pasting hostile texts, picking and typing combo items, pressing
// Calculate!, Tab, Enter, Escape), with the window's promises checked after
// each one. PARVOLIN_MONKEY_SEED and PARVOLIN_MONKEY_EVENTS override the run.
#include <QAbstractItemView>
#include <QClipboard>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <optional>
#include <random>

#include "core/bmi.h"
#include "qt_test_main.h"
#include "runtime/error_message.h"
#include "runtime/forms/qt/form.h"
#include "ui/form1.h"

using namespace parvolin;

namespace {

using namespace form1;

const std::string_view kBoxes[] = {kMethodBox,     kWeightBox, kHeightBox, kWeightUnitBox,
                                   kHeightUnitBox, kStatusBox, kBmiBox};

QString qs(std::string_view name) {
    return QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size()));
}

// Pieces the monkey types or pastes: numbers, near-numbers and hostile texts.
// clang-format off
const QString kPieces[] = {
    "70", "1.75", "154", "69", "5.75", "0", "-0", "1e308", "1e-308", "1e999999999999", ".", ",",
    "e", "-", "+", "Imperial", "Metric", "imperial", "Inches", "Feet", "inches", "Kg", "x",
    QStringLiteral("\u200F"), QStringLiteral("\u202E"), QStringLiteral("\U0001F600"),
    QStringLiteral("\u0661"), QStringLiteral("\u066B"), QStringLiteral("é"), " ", "\t", "\n",
    QString(QChar(0)), "<b>", "&amp;",
};
// clang-format on

}  // namespace

class MonkeyTest : public QObject {
    Q_OBJECT

    std::mt19937 random_;
    RecordingReporter reporter_;
    std::unique_ptr<qt::Form> form_;
    QString shownBmi_, shownStatus_;
    QString lastEvent_;

    int below(int n) { return std::uniform_int_distribution<int>(0, n - 1)(random_); }

    template <typename T>
    T* control(std::string_view name) const {
        return form_->findChild<T*>(qs(name));
    }

    QString randomText(int pieces) {
        QString text;
        for (int i = 0; i < pieces; ++i) text += kPieces[below(int(std::size(kPieces)))];
        return text;
    }

    MeasurementInput currentInput() const {
        return {form_->text(kMethodBox), form_->text(kHeightUnitBox), form_->text(kWeightBox),
                form_->text(kHeightBox)};
    }

    static bool isOutputBox(const QWidget* widget) {
        return widget &&
               (widget->objectName() == qs(kStatusBox) || widget->objectName() == qs(kBmiBox));
    }

    // Typing: printable pieces only, so that no Tab or Enter hides in it;
    // mostly a whole new number, as a user replaces a value.
    void typeInto(QWidget* box) {
        const bool replace = below(4) != 0;
        QString text = kPieces[below(below(4) != 0 ? 7 : 22)];
        if (below(6) == 0) text += kPieces[below(22)];
        lastEvent_ =
            (replace ? "replace with \"" : "type \"") + text + "\" in " + box->objectName();
        box->setFocus();
        if (replace) QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(box, text);
    }

    void pasteInto(QWidget* box) {
        QString text = randomText(1 + below(6));
        if (below(10) == 0) text += QString(30000 + below(5000), QLatin1Char('9'));
        lastEvent_ =
            "paste " + QString::number(text.size()) + " characters into " + box->objectName();
        QGuiApplication::clipboard()->setText(text);
        box->setFocus();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_V, Qt::ControlModifier);
    }

    void pick(QComboBox* box) {
        const int row = below(box->count() == 0 ? 1 : box->count());
        lastEvent_ = "pick row " + QString::number(row) + " of " + box->objectName();
        if (box->count() == 0) return;
        if (below(4) == 0) {
            box->showPopup();
            QAbstractItemView* view = box->view();
            QTest::mouseClick(view->viewport(), Qt::LeftButton, {},
                              view->visualRect(view->model()->index(row, 0)).center());
        } else {
            box->setFocus();
            QTest::keyClick(box, below(2) ? Qt::Key_Down : Qt::Key_Up);
        }
    }

    // Mostly the weight and height boxes, as a user's typing goes.
    QWidget* anyBox() {
        const std::string_view name = below(3) != 0 ? (below(2) ? kWeightBox : kHeightBox)
                                                    : kBoxes[below(int(std::size(kBoxes)))];
        return control<QWidget>(name);
    }

    // One random action, weighted the way people act; returns whether it
    // pressed Calculate!.
    bool act() {
        const int dice = below(100);
        if (dice < 40) {
            typeInto(anyBox());
            return false;
        }
        if (dice < 47) {
            pasteInto(anyBox());
            return false;
        }
        if (dice < 67) {
            pick(control<QComboBox>(below(2)   ? kMethodBox
                                    : below(2) ? kWeightUnitBox
                                               : kHeightUnitBox));
            return false;
        }
        if (dice < 85) {
            lastEvent_ = "click Calculate!";
            QTest::mouseClick(control<QPushButton>(kCalculateButton), Qt::LeftButton);
            return true;
        }
        {
            static const Qt::Key keys[] = {Qt::Key_Tab,   Qt::Key_Backtab, Qt::Key_Return,
                                           Qt::Key_Enter, Qt::Key_Escape,  Qt::Key_Space,
                                           Qt::Key_Down};
            const Qt::Key key = keys[below(int(std::size(keys)))];
            QWidget* focused = QApplication::focusWidget();
            lastEvent_ = "key " + QString::number(key, 16) + " on " +
                         (focused ? focused->objectName() : "nothing");
            if (focused == nullptr) return false;
            const bool presses =
                focused == control<QPushButton>(kCalculateButton) &&
                (key == Qt::Key_Space || key == Qt::Key_Return || key == Qt::Key_Enter);
            QTest::keyClick(focused, key);
            return presses;
        }
    }

    QString describe(int step, quint32 seed) const {
        return QStringLiteral("seed %1, step %2, after: %3").arg(seed).arg(step).arg(lastEvent_);
    }

private slots:
    void randomActionsKeepTheWindowsPromises() {
        const quint32 seed = qEnvironmentVariableIsSet("PARVOLIN_MONKEY_SEED")
                                 ? quint32(qEnvironmentVariableIntValue("PARVOLIN_MONKEY_SEED"))
                                 : 20261208u;
        const int events = qEnvironmentVariableIsSet("PARVOLIN_MONKEY_EVENTS")
                               ? qEnvironmentVariableIntValue("PARVOLIN_MONKEY_EVENTS")
                               : 3000;
        random_.seed(seed);
        form_ = std::make_unique<qt::Form>(form1Design(), reporter_);
        form_->load();
        form_->show();
        form_->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(form_.get()));
        auto* text3 = control<QPlainTextEdit>(kStatusBox);
        auto* text4 = control<QLineEdit>(kBmiBox);

        int presses = 0, failures = 0;
        for (int step = 0; step < events; ++step) {
            const MeasurementInput before = currentInput();
            const std::size_t reportsBefore = reporter_.messages.size();
            QWidget* focusedBefore = QApplication::focusWidget();
            const bool pressed = act();
            if (QWidget* popup = QApplication::activePopupWidget()) popup->close();
            const QString where = describe(step, seed);

            QCOMPARE(form_->size(), QSize(217, 243));
            QVERIFY2(QApplication::activeModalWidget() == nullptr, qPrintable(where));
            const QStringList weightItems{control<QComboBox>(kWeightUnitBox)->itemText(0)};
            QStringList heightItems;
            for (int i = 0; i < control<QComboBox>(kHeightUnitBox)->count(); ++i)
                heightItems << control<QComboBox>(kHeightUnitBox)->itemText(i);
            const bool imperial = weightItems == QStringList{"Pounds"} &&
                                  heightItems == QStringList{"Feet", "Inches"};
            const bool metric =
                weightItems == QStringList{"Kg"} && heightItems == QStringList{"Meters"};
            QVERIFY2(control<QComboBox>(kWeightUnitBox)->count() == 1 && (imperial || metric),
                     qPrintable(where));

            if (pressed) {
                ++presses;
                std::optional<CalcResult> result;
                std::optional<QString> message;
                try {
                    result = computeResult(before, form_->numberLocale());
                } catch (const CalcError& error) {
                    message = QString::fromStdString(errorMessage(error, form_->numberLocale()));
                }
                if (result) {
                    shownBmi_ = QString::fromStdString(result->bmiText);
                    shownStatus_ = QString::fromStdString(result->statusText);
                    QVERIFY2(reporter_.messages.size() == reportsBefore, qPrintable(where));
                } else {
                    ++failures;
                    QVERIFY2(reporter_.messages.size() == reportsBefore + 1, qPrintable(where));
                    QCOMPARE(QString::fromStdString(reporter_.messages.back()), *message);
                }
            } else {
                QVERIFY2(reporter_.messages.size() == reportsBefore, qPrintable(where));
                // The user may type into the output boxes: that is their own doing.
                if (isOutputBox(focusedBefore) || isOutputBox(QApplication::focusWidget())) {
                    shownBmi_ = text4->text();
                    shownStatus_ = text3->toPlainText();
                }
            }
            QVERIFY2(text4->text() == shownBmi_, qPrintable(where));
            QVERIFY2(text3->toPlainText() == shownStatus_, qPrintable(where));
        }
        qInfo("seed %u: %d actions, %d presses, %d of them reported errors", seed, events, presses,
              failures);
        QVERIFY(presses > 0 && failures > 0 && failures < presses);
    }
};

PARVOLIN_QTEST_MAIN(MonkeyTest)
#include "monkey_test.moc"
