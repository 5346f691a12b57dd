// Hostile texts pasted into each box of the real window: every one gives a
// short, plain message naming the box (or a proper result where the text is a
// number after all), the outputs stay, and the window goes on working.
#include <QClipboard>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

#include "qt_test_main.h"
#include "ui/form1.h"

using namespace parvolin;

namespace {

struct Hostile {
    const char* name;
    QString text;
    QString quoted;  // how a message quotes it: shortened, controls made visible
};

QList<Hostile> hostileTexts() {
    const QString replacement(QChar(0xFFFD));
    return {
        {"32767 digits", QString(32767, QLatin1Char('9')),
         QString(40, QLatin1Char('9')) + QStringLiteral("…")},
        {"right-to-left mark", QStringLiteral("\u200F70"), replacement + "70"},
        {"bidi override", QStringLiteral("\u202E07"), replacement + "07"},
        {"emoji", QStringLiteral("\U0001F600"), QStringLiteral("\U0001F600")},
        {"NUL", QStringLiteral("7") + QChar(0) + QStringLiteral("0"), "7" + replacement + "0"},
        {"huge exponent", QStringLiteral("1e999999999999"), QStringLiteral("1e999999999999")},
        {"negative zero", QStringLiteral("-0"), QStringLiteral("-0")},
        {"blanks only", QStringLiteral("   "), QStringLiteral("   ")},
        {"pasted lines", QStringLiteral("70\n80\r\n"), QStringLiteral("70 80  ")},
    };
}

const QString kHint = QStringLiteral(" Type digits, with \".\" as the decimal separator.");

// What pressing Calculate! must give for a hostile text in one box, the other
// boxes holding a valid input: a message, or a BMI and status.
struct Outcome {
    QString message;
    QString bmi;
    QString status;
};

Outcome weightOutcome(const Hostile& h) {
    const QString name = QString::fromLatin1(h.name);
    if (name == "negative zero") return {{}, "0", "Underweight"};
    if (name == "blanks only")
        return {"The weight box is empty. Type the weight as a number.", {}, {}};
    if (name == "32767 digits" || name == "huge exponent")
        return {"The weight \"" + h.quoted + "\" is too large.", {}, {}};
    return {"The weight \"" + h.quoted + "\" is not a number." + kHint, {}, {}};
}

Outcome heightOutcome(const Hostile& h) {
    const QString name = QString::fromLatin1(h.name);
    if (name == "negative zero") return {"The height must not be zero.", {}, {}};
    if (name == "blanks only")
        return {"The height box is empty. Type the height as a number.", {}, {}};
    if (name == "32767 digits" || name == "huge exponent")
        return {"The height \"" + h.quoted + "\" is too large.", {}, {}};
    return {"The height \"" + h.quoted + "\" is not a number." + kHint, {}, {}};
}

}  // namespace

class HostileInputTest : public QObject {
    Q_OBJECT

    RecordingReporter reporter_;
    std::unique_ptr<qt::Form> form_;

    template <typename T>
    T* control(const QString& name) const {
        return form_->findChild<T*>(name);
    }

    void paste(QWidget* box, const QString& text) {
        box->setFocus();
        QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
        QGuiApplication::clipboard()->setText(text);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_V, Qt::ControlModifier);
    }

    void press() { QTest::mouseClick(control<QPushButton>("Command1"), Qt::LeftButton); }

private slots:
    void init() {
        reporter_.messages.clear();
        form_ = std::make_unique<qt::Form>(form1Design(), reporter_);
        form_->load();
        form_->show();
        form_->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(form_.get()));
    }

    void cleanup() { form_.reset(); }

    void hostileTextInEachBox_data() {
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("method");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("message");  // empty: a result instead
        QTest::addColumn<QString>("bmi");
        QTest::addColumn<QString>("status");
        for (const Hostile& h : hostileTexts()) {
            const auto row = [&](const char* box, const char* method, const Outcome& outcome) {
                QTest::addRow("%s in %s", h.name, box)
                    << box << method << h.text << outcome.message << outcome.bmi << outcome.status;
            };
            row("Text1", "Metric", weightOutcome(h));
            row("Text2", "Metric", heightOutcome(h));
            row("Combo1", "",
                {"Unknown unit system \"" + h.quoted + "\": choose Imperial or Metric.", {}, {}});
            row("Combo3", "Imperial",
                {"Unknown height unit \"" + h.quoted + "\": choose Feet or Inches.", {}, {}});
            // The weight unit is never read.
            row("Combo2", "Metric", {{}, "22.8571428571429", "Generally Considered Normal Weight"});
        }
    }

    void hostileTextInEachBox() {
        QFETCH(QString, box);
        QFETCH(QString, method);
        QFETCH(QString, text);
        QFETCH(QString, message);
        QFETCH(QString, bmi);
        QFETCH(QString, status);

        control<QLineEdit>("Text4")->setText(QStringLiteral("previous BMI"));
        control<QPlainTextEdit>("Text3")->setPlainText(QStringLiteral("previous status"));
        auto* combo1 = control<QComboBox>("Combo1");
        if (method == "Metric") {
            combo1->setFocus();
            QTest::keyClick(combo1, Qt::Key_Down);  // a pick: the units follow
        }
        const bool imperial = method == "Imperial";
        paste(control<QLineEdit>("Text1"), imperial ? "154" : "70");
        paste(control<QLineEdit>("Text2"), imperial ? "69" : "1.75");
        if (imperial) paste(control<QComboBox>("Combo3"), "Inches");
        paste(control<QWidget>(box), text);
        press();

        if (message.isEmpty()) {
            QCOMPARE(reporter_.messages, std::vector<std::string>());
            QCOMPARE(control<QLineEdit>("Text4")->text(), bmi);
            QCOMPARE(control<QPlainTextEdit>("Text3")->toPlainText(), status);
        } else {
            QCOMPARE(reporter_.messages, std::vector<std::string>{message.toStdString()});
            QVERIFY(message.size() < 160);
            QCOMPARE(control<QLineEdit>("Text4")->text(), QStringLiteral("previous BMI"));
            QCOMPARE(control<QPlainTextEdit>("Text3")->toPlainText(),
                     QStringLiteral("previous status"));
        }
        QCOMPARE(form_->size(), QSize(217, 243));

        // Still working: a valid metric input computes.
        combo1->setFocus();
        QTest::keyClick(combo1, Qt::Key_Down);
        QTest::keyClick(combo1, Qt::Key_Up);
        QTest::keyClick(combo1, Qt::Key_Down);
        paste(control<QLineEdit>("Text1"), "70");
        paste(control<QLineEdit>("Text2"), "1.75");
        press();
        QCOMPARE(control<QLineEdit>("Text4")->text(), QStringLiteral("22.8571428571429"));
    }
};

PARVOLIN_QTEST_MAIN(HostileInputTest)
#include "hostile_input_test.moc"
