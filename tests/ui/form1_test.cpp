// Form1 driven as a person drives it: keys, clicks and picks from the lists.
#include <QAccessible>
#include <QComboBox>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QStyleFactory>
#include <QStyleOption>
#include <QTimer>
#include <QtGui/private/qguiapplication_p.h>
#include <algorithm>
#include <memory>
#include <qpa/qplatformaccessibility.h>
#include <qpa/qplatformintegration.h>

#include "qt_test_main.h"
#include "runtime/forms/qt/startup.h"
#include "runtime/forms/qt/x11_desktop_hints.h"
#include "scenarios/press_scenarios.h"
#include "text_fit.h"
#include "ui/form1.h"

using namespace parvolin;

namespace {

// In the open list, Enter, F4 and Alt+Up each close it with a pick.
enum class PickBy { Mouse, KeyboardInOpenList, F4InOpenList, AltUpInOpenList, ArrowOnClosedBox };

const QString kNormal = QString::fromStdString(test::kNormal);

// What the window tells screen readers: the accessibility events Qt would
// hand to its bridge to AT-SPI, kept here instead. Accessibility is turned on
// through the platform, as Qt's own accessibility tests do: the offscreen
// platform has no bridge that would turn it on.
class HeardEvents {
public:
    static void start() {
        QGuiApplicationPrivate::platformIntegration()->accessibility()->setActive(true);
        QAccessible::installUpdateHandler(&HeardEvents::record);
    }
    static void clear() { events().clear(); }

    // The announcements `window` made, politeness first ("polite: BMI
    // 22.7393404746902. ..."), once it has none waiting to be made.
    static QStringList announcementsOf(const QWidget& window) {
        const auto* pending = window.findChild<QTimer*>(QStringLiteral("announcement"));
        if (pending == nullptr) qFatal("the window has no announcer");
        QTest::qWaitFor([pending] { return !pending->isActive(); }, 5000);
        QStringList said;
        for (const Event& event : events())
            if (!event.announced.isEmpty()) said << event.announced;
        return said;
    }

    // Whether a caret moved in `control` (or in its line edit) before the
    // focus came to it: a screen reader then takes the caret for the focus
    // and says nothing of the box.
    static bool caretMovedBeforeFocus(const QWidget* control) {
        for (const Event& event : events()) {
            if (event.object != control && event.object->parent() != control) continue;
            if (event.type == QAccessible::Focus) return false;
            if (event.type == QAccessible::TextCaretMoved) return true;
        }
        return false;
    }

    // The objects that got the focus, in order.
    static QList<const QObject*> focused() {
        QList<const QObject*> objects;
        for (const Event& event : events())
            if (event.type == QAccessible::Focus) objects << event.object;
        return objects;
    }

    // Whether `box` reported its text selected before the focus came to it:
    // Orca then reads out the selection before it says where the focus is.
    static bool selectedBeforeFocus(const QObject* box) {
        for (const Event& event : events()) {
            if (event.object != box) continue;
            if (event.type == QAccessible::Focus) return false;
            if (event.type == QAccessible::TextSelectionChanged) return true;
        }
        return false;
    }

private:
    struct Event {
        QAccessible::Event type;
        const QObject* object;
        QString announced;
    };

    static QList<Event>& events() {
        static QList<Event> heard;
        return heard;
    }

    static void record(QAccessibleEvent* event) {
        QString announced;
        QAccessibleInterface* source = event->accessibleInterface();
        // Before Qt 6.8 the announcement is a notification shown; from 6.8 on,
        // Qt's announcement event.
        if (event->type() == QAccessible::ObjectShow && source != nullptr &&
            source->role() == QAccessible::Notification)
            announced = "polite: " + source->text(QAccessible::Name);
#if QT_VERSION >= QT_VERSION_CHECK(6, 8, 0)
        if (event->type() == QAccessible::Announcement) {
            const auto* announcement = static_cast<QAccessibleAnnouncementEvent*>(event);
            announced = (announcement->politeness() == QAccessible::AnnouncementPoliteness::Polite
                             ? "polite: "
                             : "assertive: ") +
                        announcement->message();
        }
#endif
        events().append({event->type(), event->object(), announced});
    }
};

}  // namespace

Q_DECLARE_METATYPE(PickBy)

class Form1Test : public QObject {
    Q_OBJECT

private:
    RecordingReporter reporter_;
    std::unique_ptr<qt::Form> form_;

    template <typename T>
    T* control(const char* name) const {
        T* found = form_->findChild<T*>(QString::fromLatin1(name));
        if (found == nullptr) qFatal("no control %s", name);
        return found;
    }
    QComboBox* combo(const char* name) const { return control<QComboBox>(name); }
    QLineEdit* text(const char* name) const { return control<QLineEdit>(name); }
    QPlainTextEdit* status() const { return control<QPlainTextEdit>("Text3"); }
    QPushButton* calculateButton() const { return control<QPushButton>("Command1"); }

    static QStringList items(const QComboBox* box) {
        QStringList list;
        for (int i = 0; i < box->count(); ++i) list << box->itemText(i);
        return list;
    }

    // The control that has the focus, by its designer name; a combo's inner
    // line edit counts as the combo.
    static QString focusedControl() {
        QWidget* focused = QApplication::focusWidget();
        if (focused && qobject_cast<QComboBox*>(focused->parentWidget()))
            focused = focused->parentWidget();
        return focused ? focused->objectName() : QString();
    }

    // Replaces a box's text by typing, as a user does after selecting it all.
    static void typeInto(QWidget* box, const QString& typed) {
        box->setFocus();
        QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
        // Beyond Latin-1 the text comes as an input method commits it.
        QInputMethodEvent commit;
        commit.setCommitString(typed);
        if (typed.isEmpty())
            QTest::keyClick(box, Qt::Key_Delete);
        else if (std::all_of(typed.begin(), typed.end(),
                             [](QChar c) { return c.unicode() < 0x100; }))
            QTest::keyClicks(box, typed);
        else
            QApplication::sendEvent(QApplication::focusWidget(), &commit);
    }

    static void pick(QComboBox* box, int row, PickBy how) {
        switch (how) {
        case PickBy::Mouse: {
            box->showPopup();
            QAbstractItemView* view = box->view();
            QVERIFY(QTest::qWaitForWindowExposed(view->window()));
            const QRect rect = view->visualRect(view->model()->index(row, 0));
            QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, rect.center());
            break;
        }
        case PickBy::KeyboardInOpenList:
        case PickBy::F4InOpenList:
        case PickBy::AltUpInOpenList: {
            box->showPopup();
            QAbstractItemView* view = box->view();
            QVERIFY(QTest::qWaitForWindowExposed(view->window()));
            view->setCurrentIndex(view->model()->index(0, 0));
            for (int i = 0; i < row; ++i) QTest::keyClick(view, Qt::Key_Down);
            if (how == PickBy::F4InOpenList)
                QTest::keyClick(view, Qt::Key_F4);
            else if (how == PickBy::AltUpInOpenList)
                QTest::keyClick(view, Qt::Key_Up, Qt::AltModifier);
            else
                QTest::keyClick(view, Qt::Key_Return);
            break;
        }
        case PickBy::ArrowOnClosedBox: {
            box->setFocus();
            const int steps = row - box->currentIndex();
            for (int i = 0; i < qAbs(steps); ++i)
                QTest::keyClick(box, steps > 0 ? Qt::Key_Down : Qt::Key_Up);
            break;
        }
        }
        QTRY_VERIFY(!box->view()->isVisible());
    }

    void press() { QTest::mouseClick(calculateButton(), Qt::LeftButton); }

    void fillOutputs(const QString& bmi, const QString& statusText) {
        text("Text4")->setText(bmi);
        status()->setPlainText(statusText);
    }

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

    void startsWithImperialUnitsAndEmptyBoxes() {
        QCOMPARE(combo("Combo1")->currentText(), QStringLiteral("Imperial"));
        QCOMPARE(items(combo("Combo1")), QStringList({"Imperial", "Metric"}));
        QCOMPARE(combo("Combo2")->currentText(), QStringLiteral("Pounds"));
        QCOMPARE(items(combo("Combo2")), QStringList({"Pounds"}));
        QCOMPARE(combo("Combo3")->currentText(), QStringLiteral("Feet"));
        QCOMPARE(items(combo("Combo3")), QStringList({"Feet", "Inches"}));
        for (const char* name : {"Text1", "Text2", "Text4"}) QVERIFY(text(name)->text().isEmpty());
        QVERIFY(status()->toPlainText().isEmpty());
        QCOMPARE(focusedControl(), QStringLiteral("Combo1"));
        // Filling the unit boxes before the window shows is no news.
        QCOMPARE(HeardEvents::announcementsOf(*form_), QStringList());
        // Selected, as the native box does on its first focus: typing "m" replaces it.
        QCOMPARE(combo("Combo1")->lineEdit()->selectedText(), QStringLiteral("Imperial"));
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

    void controlsSitWhereDesigned_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QRect>("pixels");
        // The designed twips divided by 15.
        // clang-format off
        QTest::newRow("Combo1") << "Combo1" << QRect(60, 9, 148, 21);
        QTest::newRow("Text1") << "Text1" << QRect(60, 42, 70, 21);
        QTest::newRow("Text2") << "Text2" << QRect(60, 75, 70, 21);
        QTest::newRow("Combo2") << "Combo2" << QRect(138, 42, 70, 21);
        QTest::newRow("Combo3") << "Combo3" << QRect(138, 75, 70, 21);
        QTest::newRow("Command1") << "Command1" << QRect(60, 108, 91, 25);
        QTest::newRow("Text3") << "Text3" << QRect(60, 180, 148, 54);
        QTest::newRow("Text4") << "Text4" << QRect(60, 147, 148, 21);
        // clang-format on
    }

    void controlsSitWhereDesigned() {
        QFETCH(QString, name);
        QFETCH(QRect, pixels);
        QCOMPARE(form_->findChild<QWidget*>(name)->geometry(), pixels);
    }

    void labelsSizeToTheirCaptions_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QPoint>("topLeft");
        // clang-format off
        QTest::newRow("Label1") << "Label1" << "Method:" << QPoint(9, 12);
        QTest::newRow("Label2") << "Label2" << "Weight:" << QPoint(9, 45);
        QTest::newRow("Label3") << "Label3" << "Height:" << QPoint(9, 78);
        QTest::newRow("Label4") << "Label4" << "Status:" << QPoint(9, 183);
        QTest::newRow("Label5") << "Label5" << "BMI:" << QPoint(9, 150);
        // clang-format on
    }

    void labelsSizeToTheirCaptions() {
        QFETCH(QString, name);
        QFETCH(QString, caption);
        QFETCH(QPoint, topLeft);
        auto* label = form_->findChild<QLabel*>(name);
        QCOMPARE(label->text(), caption);
        QCOMPARE(label->pos(), topLeft);
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

    // A text wider than its box shows its beginning: a unit box's "Pounds"
    // must not show as "ounds", nor a long BMI as its exponent.
    void setTextShowsTheBeginning_data() {
        QTest::addColumn<QString>("name");
        // clang-format off
        QTest::newRow("unit box") << "Combo2";
        QTest::newRow("BMI box") << "Text4";
        // clang-format on
    }

    void setTextShowsTheBeginning() {
        QFETCH(QString, name);
        form_->setText(name.toStdString(), "-1.23456789012345e-300 and a little more");
        QWidget* box = form_->findChild<QWidget*>(name);
        auto* line = qobject_cast<QLineEdit*>(box);
        if (auto* comboBox = qobject_cast<QComboBox*>(box)) line = comboBox->lineEdit();
        QCOMPARE(line->cursorPosition(), 0);
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
        QCOMPARE(form.findChild<QWidget*>("Combo1")->layoutDirection(), Qt::LeftToRight);
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
        QVERIFY(!text("Text4")->isReadOnly());
    }

    void tabVisitsEveryBoxInOrder_data() {
        QTest::addColumn<Qt::Key>("key");
        QTest::addColumn<QStringList>("visited");
        const QStringList forward{"Text1",    "Text2", "Combo2", "Combo3",
                                  "Command1", "Text3", "Text4",  "Combo1"};
        QStringList backward;
        for (auto it = forward.crbegin() + 1; it != forward.crend(); ++it) backward << *it;
        backward << "Combo1";
        // clang-format off
        QTest::newRow("Tab") << Qt::Key_Tab << forward;
        QTest::newRow("Shift+Tab") << Qt::Key_Backtab << backward;
        // clang-format on
    }

    void tabVisitsEveryBoxInOrder() {
        QFETCH(Qt::Key, key);
        QFETCH(QStringList, visited);
        // Each box is visited for the first time: a caret event before the
        // focus event would make Orca skip the box's name and role.
        QStringList seen;
        for (int i = 0; i < visited.size(); ++i) {
            HeardEvents::clear();
            QTest::keyClick(QApplication::focusWidget(), key);
            const QString name = focusedControl();
            const bool caretFirst =
                HeardEvents::caretMovedBeforeFocus(form_->findChild<QWidget*>(name));
            seen << (caretFirst ? name + " (its caret moved before its focus)" : name);
        }
        QCOMPARE(seen, visited);
    }

    // The press table both windows are held to.
    void pressesShowTheResultOrReportTheError_data() {
        QTest::addColumn<int>("row");
        const auto& rows = test::pressScenarios();
        for (int i = 0; i < int(rows.size()); ++i)
            QTest::newRow(rows[std::size_t(i)].name.c_str()) << i;
    }

    void pressesShowTheResultOrReportTheError() {
        QFETCH(int, row);
        const test::PressScenario& scenario = test::pressScenarios()[std::size_t(row)];
        const auto qs = [](const std::string& text) { return QString::fromStdString(text); };
        fillOutputs(QStringLiteral("21.5"), QStringLiteral("previous status"));
        const QString method = qs(scenario.method), heightUnit = qs(scenario.heightUnit);
        if (method.startsWith("pick:")) {
            pick(combo("Combo1"), combo("Combo1")->findText(method.mid(5)), PickBy::Mouse);
        } else if (method.startsWith("open:")) {
            typeInto(combo("Combo1"), method.mid(5));
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_F4);
            QVERIFY(QTest::qWaitForWindowExposed(combo("Combo1")->view()->window()));
            QTest::keyClick(combo("Combo1")->view(), Qt::Key_Return);
            QTRY_VERIFY(!combo("Combo1")->view()->isVisible());
        } else if (!method.isEmpty())
            typeInto(combo("Combo1"), method);
        // Set, not typed, past a hundred characters: 30,000 key events are slow.
        for (auto [box, value] :
             {std::pair{"Text1", qs(scenario.weight)}, std::pair{"Text2", qs(scenario.height)}}) {
            if (value.size() > 100)
                text(box)->setText(value);
            else
                typeInto(text(box), value);
        }
        if (heightUnit.startsWith("pick:"))
            pick(combo("Combo3"), combo("Combo3")->findText(heightUnit.mid(5)), PickBy::Mouse);
        else if (!heightUnit.isEmpty())
            typeInto(combo("Combo3"), heightUnit);
        HeardEvents::clear();
        press();
        if (scenario.message.empty()) {
            QCOMPARE(reporter_.messages, std::vector<std::string>());
            // Once, without moving the focus from the button.
            QCOMPARE(
                HeardEvents::announcementsOf(*form_),
                QStringList{"polite: BMI " + qs(scenario.bmi) + ". " + qs(scenario.status) + "."});
            QCOMPARE(focusedControl(), QStringLiteral("Command1"));
            QCOMPARE(text("Text4")->text(), qs(scenario.bmi));
            QCOMPARE(status()->toPlainText(), qs(scenario.status));
            if (!scenario.units.empty())
                QCOMPARE(combo("Combo2")->currentText() + "/" + combo("Combo3")->currentText(),
                         qs(scenario.units));
            // A result wider than its box shows its beginning.
            QCOMPARE(text("Text4")->cursorPosition(), 0);
            return;
        }
        QCOMPARE(reporter_.messages, std::vector<std::string>{scenario.message});
        QCOMPARE(HeardEvents::announcementsOf(*form_), QStringList());
        // Given the window, so that the real message box is modal to it.
        QCOMPARE(reporter_.windows, std::vector<QWidget*>{form_.get()});
        QCOMPARE(text("Text4")->text(), QStringLiteral("21.5"));
        QCOMPARE(status()->toPlainText(), QStringLiteral("previous status"));
        // The box to correct has the focus, its text selected for retyping.
        QCOMPARE(focusedControl(), qs(scenario.focus));
        auto* line = qobject_cast<QLineEdit*>(QApplication::focusWidget());
        if (auto* box = qobject_cast<QComboBox*>(QApplication::focusWidget()))
            line = box->lineEdit();
        QVERIFY(line != nullptr);
        QCOMPARE(line->selectedText(), line->text());

        // The window goes on working.
        pick(combo("Combo1"), 1, PickBy::Mouse);
        typeInto(text("Text1"), QStringLiteral("70"));
        typeInto(text("Text2"), QStringLiteral("1.75"));
        press();
        QCOMPARE(text("Text4")->text(), QStringLiteral("22.8571428571429"));
        QCOMPARE(reporter_.messages.size(), std::size_t{1});
    }

    void weightUnitBoxIsNeverRead() {
        typeInto(combo("Combo2"), QStringLiteral("Stones"));
        typeInto(text("Text1"), QStringLiteral("154"));
        typeInto(text("Text2"), QStringLiteral("5.75"));
        press();
        QCOMPARE(text("Text4")->text(), QStringLiteral("22.7393404746902"));
    }

    void userDecimalSeparatorIsUsed() {
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        pick(combo("Combo1"), 1, PickBy::Mouse);
        typeInto(text("Text1"), QStringLiteral("70"));
        typeInto(text("Text2"), QStringLiteral("1,75"));
        press();
        const QString bmi = text("Text4")->text();
        typeInto(text("Text2"), QStringLiteral("1.75"));
        press();
        const std::vector<std::string> messages = reporter_.messages;
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        QCOMPARE(bmi, QStringLiteral("22,8571428571429"));
        QCOMPARE(messages,
                 std::vector<std::string>{"The height \"1.75\" is not a number. Type digits, "
                                          "with \",\" as the decimal separator."});
    }

    void pickingRebuildsTheUnitLists_data() {
        QTest::addColumn<PickBy>("how");
        // clang-format off
        QTest::newRow("mouse") << PickBy::Mouse;
        QTest::newRow("keyboard in the open list") << PickBy::KeyboardInOpenList;
        QTest::newRow("open list closed with F4") << PickBy::F4InOpenList;
        QTest::newRow("open list closed with Alt+Up") << PickBy::AltUpInOpenList;
        QTest::newRow("arrow keys on the closed box") << PickBy::ArrowOnClosedBox;
        // clang-format on
    }

    void pickingRebuildsTheUnitLists() {
        QFETCH(PickBy, how);
        typeInto(text("Text1"), QStringLiteral("154"));
        typeInto(text("Text2"), QStringLiteral("69"));
        fillOutputs(QStringLiteral("22.7393404746902"), kNormal);
        for (int round = 0; round < 3; ++round) {
            HeardEvents::clear();
            pick(combo("Combo1"), 1, how);
            QCOMPARE(HeardEvents::announcementsOf(*form_), QStringList{"polite: Kg and Meters"});
            QCOMPARE(combo("Combo1")->currentText(), QStringLiteral("Metric"));
            QCOMPARE(items(combo("Combo2")), QStringList({"Kg"}));
            QCOMPARE(combo("Combo2")->currentText(), QStringLiteral("Kg"));
            QCOMPARE(items(combo("Combo3")), QStringList({"Meters"}));
            QCOMPARE(combo("Combo3")->currentText(), QStringLiteral("Meters"));
            HeardEvents::clear();
            pick(combo("Combo1"), 0, how);
            QCOMPARE(HeardEvents::announcementsOf(*form_), QStringList{"polite: Pounds and Feet"});
            QCOMPARE(items(combo("Combo2")), QStringList({"Pounds"}));
            QCOMPARE(combo("Combo2")->currentText(), QStringLiteral("Pounds"));
            QCOMPARE(items(combo("Combo3")), QStringList({"Feet", "Inches"}));
            QCOMPARE(combo("Combo3")->currentText(), QStringLiteral("Feet"));
        }
        // What was typed and shown stays, though it may belong to the other system.
        QCOMPARE(text("Text1")->text(), QStringLiteral("154"));
        QCOMPARE(text("Text2")->text(), QStringLiteral("69"));
        QCOMPARE(text("Text4")->text(), QStringLiteral("22.7393404746902"));
        QCOMPARE(status()->toPlainText(), kNormal);
        QCOMPARE(reporter_.messages, std::vector<std::string>());
    }

    void pickingTheShownSystemResetsEditedUnits() {
        typeInto(combo("Combo2"), QStringLiteral("Stones"));
        typeInto(combo("Combo3"), QStringLiteral("Yards"));
        pick(combo("Combo1"), 0, PickBy::Mouse);
        QCOMPARE(combo("Combo2")->currentText(), QStringLiteral("Pounds"));
        QCOMPARE(combo("Combo3")->currentText(), QStringLiteral("Feet"));
        QCOMPARE(items(combo("Combo3")), QStringList({"Feet", "Inches"}));
    }

    void typingIsNeverAPick_data() {
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("finish");
        // clang-format off
        QTest::newRow("Metric then Tab") << "Combo1" << "Metric" << "Tab";
        QTest::newRow("metric then Enter") << "Combo1" << "metric" << "Enter";
        QTest::newRow("Metric then a click elsewhere") << "Combo1" << "Metric" << "click";
        QTest::newRow("i is not completed") << "Combo1" << "i" << "Tab";
        QTest::newRow("Foo is not added") << "Combo1" << "Foo" << "Enter";
        QTest::newRow("Foo, list opened, Enter") << "Combo1" << "Foo" << "F4 Enter";
        QTest::newRow("inches keeps its case") << "Combo3" << "inches" << "Enter";
        QTest::newRow("Kg is not added to Pounds") << "Combo2" << "Kg" << "Enter";
        // clang-format on
    }

    void typingIsNeverAPick() {
        QFETCH(QString, box);
        QFETCH(QString, typed);
        QFETCH(QString, finish);
        QComboBox* target = combo(box.toLatin1().constData());
        const QStringList before = items(target);
        typeInto(target, typed);
        if (finish == "Tab")
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        else if (finish == "Enter")
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        else if (finish == "F4 Enter") {  // Foo begins no item: the list highlights none
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_F4);
            QVERIFY(QTest::qWaitForWindowExposed(target->view()->window()));
            QTest::keyClick(target->view(), Qt::Key_Return);
            QTRY_VERIFY(!target->view()->isVisible());
        } else
            QTest::mouseClick(text("Text1"), Qt::LeftButton);
        QCOMPARE(target->currentText(), typed);
        QCOMPARE(items(target), before);
        // No rebuild happened: the Imperial units are still shown.
        if (box == "Combo1") {
            QCOMPARE(combo("Combo2")->currentText(), QStringLiteral("Pounds"));
            QCOMPARE(combo("Combo3")->currentText(), QStringLiteral("Feet"));
        }
        QCOMPARE(reporter_.messages, std::vector<std::string>());
    }

    void enterElsewhereDoesNotPressCalculate_data() {
        QTest::addColumn<QString>("name");
        for (const char* name : {"Combo1", "Text1", "Text2", "Combo2", "Combo3", "Text4"})
            // clang-format off
            QTest::newRow(name) << name;
        // clang-format on
    }

    void enterElsewhereDoesNotPressCalculate() {
        QFETCH(QString, name);
        typeInto(text("Text1"), QStringLiteral("154"));
        typeInto(text("Text2"), QStringLiteral("5.75"));
        QWidget* box = form_->findChild<QWidget*>(name);
        box->setFocus();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Enter);
        QVERIFY(text("Text4")->text().isEmpty());
        QVERIFY(form_->isVisible());
    }

    void keysOnTheButtonPressIt_data() {
        QTest::addColumn<Qt::Key>("key");
        // clang-format off
        QTest::newRow("Space") << Qt::Key_Space;
        QTest::newRow("Enter") << Qt::Key_Return;
        // clang-format on
    }

    void keysOnTheButtonPressIt() {
        QFETCH(Qt::Key, key);
        typeInto(text("Text1"), QStringLiteral("154"));
        typeInto(text("Text2"), QStringLiteral("5.75"));
        calculateButton()->setFocus();
        QTest::keyClick(calculateButton(), key);
        QCOMPARE(text("Text4")->text(), QStringLiteral("22.7393404746902"));
    }

    void escapeNeitherClosesNorPresses() {
        typeInto(text("Text1"), QStringLiteral("154"));
        typeInto(text("Text2"), QStringLiteral("5.75"));
        for (QWidget* box :
             {static_cast<QWidget*>(text("Text2")), static_cast<QWidget*>(calculateButton())}) {
            box->setFocus();
            QTest::keyClick(box, Qt::Key_Escape);
        }
        QVERIFY(form_->isVisible());
        QVERIFY(text("Text4")->text().isEmpty());
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
        QTest::newRow("Combo1") << "Combo1" << "Method:" << "Imperial";
        QTest::newRow("Text1") << "Text1" << "Weight:" << "";
        QTest::newRow("Text2") << "Text2" << "Height:" << "";
        QTest::newRow("Combo2") << "Combo2" << "Weight unit" << "Pounds";
        QTest::newRow("Combo3") << "Combo3" << "Height unit" << "Feet";
        QTest::newRow("Command1") << "Command1" << "Calculate!" << "";
        QTest::newRow("Text4") << "Text4" << "BMI:" << "";
        QTest::newRow("Text3") << "Text3" << "Status:" << "";
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
        auto* weight = form.findChild<QLineEdit*>("Text1");
        weight->setText(QStringLiteral("abc"));
        auto* button = form.findChild<QPushButton*>("Command1");
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
