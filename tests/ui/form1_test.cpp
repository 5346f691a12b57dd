// Form1 driven as a person drives it: keys, clicks and picks from the lists.
#include <QAccessible>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStyleFactory>
#include <QStyleOption>
#include <QTimer>
#include <memory>

#include "qt_test_main.h"
#include "runtime/forms/qt/startup.h"
#include "runtime/forms/qt/x11_desktop_hints.h"
#include "scenarios/gesture_scenarios.h"
#include "text_fit.h"
#include "ui/form1.h"
#include "ui/heard_events.h"

using namespace parvolin;
using namespace parvolin::form1;
using test::HeardEvents;

class Form1Test : public QObject {
    Q_OBJECT

private:
    RecordingReporter reporter_;
    std::unique_ptr<qt::Form> form_;

    template <typename T>
    T* control(std::string_view name) const {
        T* found = form_->findChild<T*>(qt::fromUtf8(name));
        if (found == nullptr) qFatal("no control %s", std::string(name).c_str());
        return found;
    }
    QLineEdit* text(std::string_view name) const { return control<QLineEdit>(name); }
    QPlainTextEdit* status() const { return control<QPlainTextEdit>(kStatusBox); }

private slots:
    void initTestCase() { HeardEvents::start(); }

    void init() {
        HeardEvents::clear();
        reporter_.messages.clear();
        reporter_.windows.clear();
        form_ = std::make_unique<qt::Form>(form1Design(), reporter_);
        form_->load();
        qt::centreOnScreen(*form_);
        form_->show();
        form_->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(form_.get()));
    }

    void cleanup() {
        QCOMPARE(QApplication::activeModalWidget(), nullptr);
        form_.reset();
    }

    void frameIsFixedWithCaptionAndCloseBoxOnly() {
        QCOMPARE(form_->windowTitle(), QStringLiteral("Parvolin"));
        QCOMPARE(form_->size(), QSize(217, 243));
        QCOMPARE(form_->minimumSize(), form_->maximumSize());
        const Qt::WindowFlags flags = form_->windowFlags();
        QVERIFY(flags.testFlag(Qt::WindowCloseButtonHint));
        QVERIFY(flags.testFlag(Qt::WindowTitleHint));
        QVERIFY(!flags.testFlag(Qt::WindowMinimizeButtonHint));
        QVERIFY(!flags.testFlag(Qt::WindowMaximizeButtonHint));
        QVERIFY(!flags.testFlag(Qt::Tool));  // a tool window would not end the program on close
        // Centred as placed before the first show, when no frame is known yet.
        const QPoint centre = form_->pos() + QPoint(217 / 2, 243 / 2);
        const QPoint screenCentre = form_->screen()->availableGeometry().center();
        QVERIFY((centre - screenCentre).manhattanLength() <= 2);
    }

    // Where the labels sit is in the placement table both windows run.
    void labelsSizeToTheirCaptions_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("caption");
        // clang-format off
        QTest::newRow("Label1") << qt::fromUtf8(kMethodLabel) << "Method:";
        QTest::newRow("Label2") << qt::fromUtf8(kWeightLabel) << "Weight:";
        QTest::newRow("Label3") << qt::fromUtf8(kHeightLabel) << "Height:";
        QTest::newRow("Label4") << qt::fromUtf8(kStatusLabel) << "Status:";
        QTest::newRow("Label5") << qt::fromUtf8(kBmiLabel) << "BMI:";
        // clang-format on
    }

    void labelsSizeToTheirCaptions() {
        QFETCH(QString, name);
        QFETCH(QString, caption);
        auto* label = form_->findChild<QLabel*>(name);
        QCOMPARE(label->text(), caption);
        QCOMPARE(label->size(), label->sizeHint());
    }

    // A desktop's larger font (KDE's 10 pt, GNOME's 11 pt) grows the whole
    // window in proportion, and a bold one further, so that every text
    // still fits as the font draws it; Qt's own 9 pt keeps the design size.
    void textFitsAtTheDesktopsFontSize_data() {
        QTest::addColumn<QFont>("font");
        QTest::addColumn<QSize>("client");
        const QString family = QStringLiteral("DejaVu Sans");
        // clang-format off
        QTest::newRow("9 pt") << QFont(family, 9) << QSize(217, 243);
        QTest::newRow("10 pt") << QFont(family, 10) << QSize(241, 270);
        QTest::newRow("11 pt") << QFont(family, 11) << QSize(265, 297);
        QTest::newRow("11 pt bold") << QFont(family, 11, QFont::Bold) << QSize(298, 334);
        // clang-format on
    }

    void textFitsAtTheDesktopsFontSize() {
        QFETCH(QFont, font);
        QFETCH(QSize, client);
        // The desktop's font, as the platform theme hands it to Qt, until the
        // form below is gone.
        struct ApplicationFont {
            QFont before = QApplication::font();
            ~ApplicationFont() { QApplication::setFont(before); }
        } restore;
        QApplication::setFont(font);
        qt::Form form(form1Design(), reporter_);
        form.load();
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        QCOMPARE(form.size(), client);
        verifyTextFits(form);
    }

    // The texts are English and placed by coordinates: a right-to-left
    // session must not half-mirror them.
    void staysLeftToRightInARightToLeftSession() {
        struct Restore {
            ~Restore() { QApplication::setLayoutDirection(Qt::LeftToRight); }
        } restore;
        QApplication::setLayoutDirection(Qt::RightToLeft);
        qt::Form form(form1Design(), reporter_);
        QCOMPARE(form.layoutDirection(), Qt::LeftToRight);
        QCOMPARE(form.findChild<QWidget*>(qt::fromUtf8(kMethodBox))->layoutDirection(),
                 Qt::LeftToRight);
    }

    void windowIsAnnouncedAsADialog() {
        QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(form_.get());
        QVERIFY(accessible != nullptr);
        QCOMPARE(accessible->role(), QAccessible::Dialog);
        QCOMPARE(accessible->text(QAccessible::Name), QStringLiteral("Parvolin"));
    }

    // The status box's own frame is made for Fusion, in a colour from the
    // palette: it follows a palette change, and another style keeps its frame.
    void statusFrameFollowsPaletteAndStyle() {
        const auto outline = [this] { return status()->palette().color(QPalette::WindowText); };
        QCOMPARE(status()->frameStyle(), int(QFrame::Box | QFrame::Plain));
        QCOMPARE(outline(), form_->palette().color(QPalette::Window).darker(140));
        struct Restore {
            QPalette palette = QApplication::palette();
            ~Restore() {
                QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
                QApplication::setPalette(palette);
            }
        } restore;
        QPalette dark = restore.palette;
        dark.setColor(QPalette::Window, QColor(40, 40, 40));
        QApplication::setPalette(dark);
        QTRY_COMPARE(outline(), QColor(40, 40, 40).darker(140));
        QApplication::setStyle(QStyleFactory::create(QStringLiteral("Windows")));
        QTRY_COMPARE(status()->frameStyle(), int(QFrame::StyledPanel | QFrame::Sunken));
    }

    // A window that cannot even be built is reported and ends the program
    // with 1, rather than an exception through main.
    void aWindowThatCannotBeBuiltIsReported() {
        static const EventBinding unknownControl[]{{"Command9", ControlEvent::Press, nullptr}};
        FormDesign broken = form1Design();
        broken.events = unknownControl;
        const ProjectRecord record{"Parvolin", "Parvolin", "1.00", "org.parvolin.Parvolin",
                                   "parvolin", broken};
        RecordingReporter startup;
        QCOMPARE(qt::showStartupForm(record, reporter_, startup), 1);
        QCOMPARE(startup.messages.size(), std::size_t{1});
        QVERIFY2(startup.messages[0].starts_with("The window could not be opened"),
                 startup.messages[0].c_str());
        QCOMPARE(reporter_.messages, std::vector<std::string>());
    }

    // Where the window manager's task switcher drops windows that skip the
    // taskbar, the window keeps its taskbar entry so that it can be found.
    void skipsTheTaskbarOnlyWhereTheSwitcherStillListsIt_data() {
        QTest::addColumn<QString>("windowManager");
        QTest::addColumn<bool>("keeps");
        // clang-format off
        QTest::newRow("KDE") << "KWin" << true;
        QTest::newRow("Openbox") << "Openbox" << true;
        QTest::newRow("GNOME") << "GNOME Shell" << false;
        QTest::newRow("plain Mutter") << "Mutter" << false;
        QTest::newRow("Cinnamon") << "Mutter (Muffin)" << false;
        QTest::newRow("MATE") << "Marco" << false;
        QTest::newRow("Xfce") << "Xfwm4" << false;
        QTest::newRow("no window manager") << "" << false;
        // clang-format on
    }

    void skipsTheTaskbarOnlyWhereTheSwitcherStillListsIt() {
        QFETCH(QString, windowManager);
        QFETCH(bool, keeps);
        QCOMPARE(qt::keepsSkipTaskbarWindowsInSwitcher(windowManager.toStdString()), keeps);
    }

    void statusBoxWrapsWordsAndScrolls() {
        QCOMPARE(status()->wordWrapMode(), QTextOption::WordWrap);
        QCOMPARE(status()->lineWrapMode(), QPlainTextEdit::WidgetWidth);
        QCOMPARE(status()->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
        QVERIFY(!status()->isReadOnly());
        QVERIFY(!text(kBmiBox)->isReadOnly());
    }

    // Qt ends the event loop only from inside exec(), so the test runs one.
    void closingTheWindowEndsTheProgram() {
        QTimer::singleShot(0, form_.get(), [this] { form_->close(); });
        QTimer guard;
        guard.callOnTimeout([] { QCoreApplication::exit(99); });
        guard.start(10000);
        QCOMPARE(QApplication::exec(), 0);
        QVERIFY(!form_->isVisible());
    }

    void screenReadersHearWhatEachBoxIs_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("spoken");
        QTest::addColumn<QString>("value");
        // clang-format off
        QTest::newRow("Combo1") << qt::fromUtf8(kMethodBox) << "Method:" << "Imperial";
        QTest::newRow("Text1") << qt::fromUtf8(kWeightBox) << "Weight:" << "";
        QTest::newRow("Text2") << qt::fromUtf8(kHeightBox) << "Height:" << "";
        QTest::newRow("Combo2") << qt::fromUtf8(kWeightUnitBox) << "Weight unit" << "Pounds";
        QTest::newRow("Combo3") << qt::fromUtf8(kHeightUnitBox) << "Height unit" << "Feet";
        QTest::newRow("Command1") << qt::fromUtf8(kCalculateButton) << "Calculate!" << "";
        QTest::newRow("Text4") << qt::fromUtf8(kBmiBox) << "BMI:" << "";
        QTest::newRow("Text3") << qt::fromUtf8(kStatusBox) << "Status:" << "";
        // clang-format on
    }

    // A screen reader says a box's name, its role, then its value: a unit
    // box is "Weight unit", its value "Pounds", not the other way round.
    void screenReadersHearWhatEachBoxIs() {
        QFETCH(QString, name);
        QFETCH(QString, spoken);
        QFETCH(QString, value);
        QAccessibleInterface* accessible =
            QAccessible::queryAccessibleInterface(form_->findChild<QWidget*>(name));
        QVERIFY(accessible != nullptr);
        QCOMPARE(accessible->text(QAccessible::Name), spoken);
        QCOMPARE(accessible->text(QAccessible::Value), value);
    }

    void screenReadersReadTheWholeLine_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("line");
        // clang-format off
        QTest::newRow("Text1") << qt::fromUtf8(kWeightBox) << "5.75";
        QTest::newRow("Text4") << qt::fromUtf8(kBmiBox) << "22.7393404746902";
        QTest::newRow("Combo2") << qt::fromUtf8(kWeightUnitBox) << "Pounds";
        // clang-format on
    }

    // Orca reads the line of a one-line box as far as the text attribute
    // runs of its characters reach: each must reach past its character, or
    // "5.75" is read "5.7".
    void screenReadersReadTheWholeLine() {
        QFETCH(QString, name);
        QFETCH(QString, line);
        auto* control = form_->findChild<QWidget*>(name);
        auto* combo = qobject_cast<QComboBox*>(control);
        QLineEdit* box = combo != nullptr ? combo->lineEdit() : qobject_cast<QLineEdit*>(control);
        QVERIFY(box != nullptr);
        box->setText(line);
        QAccessibleTextInterface* text =
            QAccessible::queryAccessibleInterface(box)->textInterface();
        QVERIFY(text != nullptr);
        int lineEnd = 0;
        for (int offset = 0; offset < text->characterCount(); ++offset) {
            int runStart = 0;
            text->attributes(offset, &runStart, &lineEnd);
        }
        QCOMPARE(text->text(0, lineEnd), line);
    }

    // The rounds of the window's tab table, each box reached for the first
    // time: a caret event before the focus would make Orca skip the box's
    // name and role.
    void firstVisitsSayTheBoxBeforeAnyCaret_data() {
        QTest::addColumn<Qt::Key>("key");
        for (const test::TabRound& round : test::tabRounds())
            QTest::newRow(round.name.c_str())
                << (round.key == test::Key::Tab ? Qt::Key_Tab : Qt::Key_Backtab);
    }

    void firstVisitsSayTheBoxBeforeAnyCaret() {
        QFETCH(Qt::Key, key);
        QStringList caretFirst;
        for (std::size_t i = 0; i < test::designedTabOrder().size(); ++i) {
            HeardEvents::clear();
            QTest::keyClick(QApplication::focusWidget(), key);
            QWidget* focused = QApplication::focusWidget();
            if (qobject_cast<QComboBox*>(focused->parentWidget()))
                focused = focused->parentWidget();
            if (HeardEvents::caretMovedBeforeFocus(focused)) caretFirst << focused->objectName();
        }
        QCOMPARE(caretFirst, QStringList());
    }

    // The real message box, closed with Enter: the focus goes straight back
    // to the box at fault, nothing else gets it on the way, and the text is
    // selected once the box has the focus.
    void afterAnErrorTheFocusGoesStraightBackToTheBox() {
        qt::MessageBoxReporter messageBoxes;
        qt::Form form(form1Design(), messageBoxes);
        form.load();
        form.show();
        form.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&form));
        auto* weight = form.findChild<QLineEdit*>(qt::fromUtf8(kWeightBox));
        weight->setText(QStringLiteral("abc"));
        auto* button = form.findChild<QPushButton*>(qt::fromUtf8(kCalculateButton));
        button->setFocus();
        QTimer closer;
        closer.callOnTimeout([&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (box == nullptr || !box->isActiveWindow()) return;
            closer.stop();
            HeardEvents::clear();
            QTest::keyClick(box, Qt::Key_Return);
        });
        closer.start(10);
        button->click();
        // The window manager gives the window back its activation.
        form.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&form));
        QTRY_COMPARE(QApplication::focusWidget(), weight);
        QTRY_COMPARE(weight->selectedText(), QStringLiteral("abc"));
        QCOMPARE(HeardEvents::focused(), QList<const QObject*>{weight});
        QVERIFY(!HeardEvents::selectedBeforeFocus(weight));
        QCOMPARE(HeardEvents::announcementsOf(form), QStringList());
    }

    void messageBoxShowsTheReportAsPlainText() {
        const QString message = QStringLiteral("The weight \"<b>7o</b>\" is not a number.");
        QString title, shown;
        QMessageBox::Icon icon = QMessageBox::NoIcon;
        Qt::TextFormat format = Qt::AutoText;
        QMessageBox::StandardButtons buttons;
        QTimer::singleShot(0, this, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (box == nullptr) return;
            title = box->windowTitle();
            shown = box->text();
            icon = box->icon();
            format = box->textFormat();
            buttons = box->standardButtons();
            box->button(QMessageBox::Ok)->click();
        });
        qt::MessageBoxReporter().report(form_.get(), message.toStdString());
        QCOMPARE(title, QStringLiteral("Parvolin"));
        QCOMPARE(shown, message);
        QCOMPARE(icon, QMessageBox::Critical);
        QCOMPARE(format, Qt::PlainText);
        QCOMPARE(buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
    }
};

PARVOLIN_QTEST_MAIN(Form1Test)
#include "form1_test.moc"
