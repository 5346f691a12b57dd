// The window driver over the Qt window: keys, clicks and pastes through
// QTest's events, read back from the widgets themselves.
#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QLocale>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>

#include "recording_reporter.h"
#include "runtime/forms/qt/form.h"
#include "runtime/forms/qt/startup.h"
#include "scenarios/window_driver.h"
#include "ui/form1.h"
#include "ui/heard_events.h"

namespace parvolin::test {
namespace {

QString qs(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

class QtWindow final : public WindowDriver {
public:
    explicit QtWindow(const FormDesign& design) : form_(design, reporter_) {
        HeardEvents::clear();
        form_.load();
        qt::centreOnScreen(form_);
        form_.show();
        form_.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&form_));
    }
    ~QtWindow() override { EXPECT_EQ(QApplication::activeModalWidget(), nullptr); }

    void focus(std::string_view control) override { widget(control)->setFocus(); }

    void type(std::string_view box, std::string_view text) override {
        selectAll(box);
        // Set, not typed, past a hundred characters: 30,000 key events are slow.
        if (text.size() > 100) return setText(box, text);
        if (text.empty()) return QTest::keyClick(QApplication::focusWidget(), Qt::Key_Delete);
        typeAtCaret(text);
    }

    void paste(std::string_view box, std::string_view text) override {
        selectAll(box);
        pasteAtCaret(text);
    }

    void typeAtCaret(std::string_view text) override {
        const QString typed = qs(text);
        // Beyond Latin-1 the text comes as an input method commits it.
        if (std::all_of(typed.begin(), typed.end(), [](QChar c) { return c.unicode() < 0x100; }))
            return QTest::keyClicks(QApplication::focusWidget(), typed);
        QInputMethodEvent commit;
        commit.setCommitString(typed);
        QApplication::sendEvent(QApplication::focusWidget(), &commit);
    }

    void pasteAtCaret(std::string_view text) override {
        QGuiApplication::clipboard()->setText(qs(text));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_V, Qt::ControlModifier);
    }

    void key(Key key) override {
        QWidget* target = QApplication::focusWidget();
        if (QComboBox* box = openList()) target = box->view();
        switch (key) {
        case Key::Tab: return QTest::keyClick(target, Qt::Key_Tab);
        case Key::ShiftTab: return QTest::keyClick(target, Qt::Key_Backtab, Qt::ShiftModifier);
        case Key::Enter: return QTest::keyClick(target, Qt::Key_Return);
        case Key::KeypadEnter: return QTest::keyClick(target, Qt::Key_Enter, Qt::KeypadModifier);
        case Key::Escape: return QTest::keyClick(target, Qt::Key_Escape);
        case Key::Space: return QTest::keyClick(target, Qt::Key_Space);
        case Key::F4: QTest::keyClick(target, Qt::Key_F4); return waitForTheList();
        case Key::Up: return QTest::keyClick(target, Qt::Key_Up);
        case Key::Down: return QTest::keyClick(target, Qt::Key_Down);
        case Key::Left: return QTest::keyClick(target, Qt::Key_Left);
        case Key::Right: return QTest::keyClick(target, Qt::Key_Right);
        }
    }

    void pick(std::string_view name, std::string_view item, PickBy how) override {
        QComboBox* box = combo(name);
        const int row = box->findText(qs(item));
        ASSERT_GE(row, 0) << item;
        box->setFocus();
        if (how == PickBy::ArrowsOnClosedBox) {
            const int steps = row - box->currentIndex();
            for (int i = 0; i < std::abs(steps); ++i)
                QTest::keyClick(box, steps > 0 ? Qt::Key_Down : Qt::Key_Up);
            return;
        }
        QAbstractItemView* view = box->view();
        if (how == PickBy::MouseOnOpenList)
            box->showPopup();
        else if (how == PickBy::AltDownArrowsEnter)
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down, Qt::AltModifier);
        else
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_F4);
        waitForTheList();
        if (how == PickBy::MouseOnOpenList || how == PickBy::F4ThenClick) {
            const QRect rect = view->visualRect(view->model()->index(row, 0));
            QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, rect.center());
        } else {
            const int steps = row - view->currentIndex().row();
            for (int i = 0; i < std::abs(steps); ++i)
                QTest::keyClick(view, steps > 0 ? Qt::Key_Down : Qt::Key_Up);
            if (how == PickBy::F4ArrowsF4)
                QTest::keyClick(view, Qt::Key_F4);
            else if (how == PickBy::F4ArrowsAltUp)
                QTest::keyClick(view, Qt::Key_Up, Qt::AltModifier);
            else if (how == PickBy::F4ArrowsEscape)
                QTest::keyClick(view, Qt::Key_Escape);
            else
                QTest::keyClick(view, Qt::Key_Return);
        }
        EXPECT_TRUE(QTest::qWaitFor([&] { return !view->isVisible(); })) << "the list stays open";
    }

    void openListAndLeave(std::string_view name, LeaveBy how) override {
        QComboBox* box = combo(name);
        box->setFocus();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_F4);
        waitForTheList();
        QAbstractItemView* view = box->view();
        ASSERT_TRUE(view->isVisible()) << "F4 opens no list";
        switch (how) {
        case LeaveBy::Tab: QTest::keyClick(view, Qt::Key_Tab); break;
        case LeaveBy::ShiftTab: QTest::keyClick(view, Qt::Key_Backtab, Qt::ShiftModifier); break;
        case LeaveBy::ClickIntoHeightBox: {
            // The open list takes the click, outside itself.
            QWidget* list = view->window();
            QWidget* height = widget(form1::kHeightBox);
            QTest::mouseClick(list, Qt::LeftButton, {},
                              list->mapFromGlobal(height->mapToGlobal(height->rect().center())));
            break;
        }
        case LeaveBy::AnotherWindow: leaveTheWindowAndComeBack(); break;
        }
        unseen_.clear();
        if ((how == LeaveBy::Tab || how == LeaveBy::ShiftTab) && view->isVisible()) {
            unseen_ = "Qt's open list keeps the keyboard: Tab and Shift+Tab do not leave it";
            QTest::keyClick(view, Qt::Key_Escape);
        }
        EXPECT_TRUE(QTest::qWaitFor([&] { return !view->isVisible(); })) << "the list stays open";
    }
    std::string unseenGesture() const override { return unseen_; }

    void leaveTheWindowAndComeBack() override {
        QWidget other;
        other.show();
        other.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&other))
            << "the other window did not become active";
        form_.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&form_));
    }

    void click(std::string_view control) override {
        QWidget* target = widget(control);
        if (auto* box = qobject_cast<QComboBox*>(target)) target = box->lineEdit();
        // A quarter in, where a box's text is.
        QTest::mouseClick(target, Qt::LeftButton, {},
                          QPoint(target->width() / 4, target->height() / 2));
    }

    void setText(std::string_view control, std::string_view text) override {
        form_.setText(control, text);
    }

    std::string text(std::string_view control) const override { return form_.text(control); }

    std::vector<std::string> items(std::string_view name) const override {
        std::vector<std::string> list;
        if (auto* box = qobject_cast<QComboBox*>(widget(name)))
            for (int i = 0; i < box->count(); ++i) list.push_back(box->itemText(i).toStdString());
        return list;
    }

    std::string selectedItem(std::string_view name) const override {
        auto* box = qobject_cast<QComboBox*>(widget(name));
        if (box == nullptr || box->currentIndex() < 0) return {};
        return box->itemText(box->currentIndex()).toStdString();
    }

    std::string focused() const override {
        QWidget* focus = QApplication::focusWidget();
        if (focus && qobject_cast<QComboBox*>(focus->parentWidget())) focus = focus->parentWidget();
        return focus ? focus->objectName().toStdString() : std::string();
    }

    bool wholeTextSelected() const override {
        QWidget* focus = QApplication::focusWidget();
        if (auto* box = qobject_cast<QComboBox*>(focus)) focus = box->lineEdit();
        if (auto* line = qobject_cast<QLineEdit*>(focus))
            return line->selectedText() == line->text();
        if (auto* edit = qobject_cast<QPlainTextEdit*>(focus))
            return edit->textCursor().selectedText() == edit->toPlainText();
        return true;
    }

    std::pair<int, int> selection() const override {
        QWidget* focus = QApplication::focusWidget();
        if (auto* box = qobject_cast<QComboBox*>(focus)) focus = box->lineEdit();
        auto* line = qobject_cast<QLineEdit*>(focus);
        if (line == nullptr || !line->hasSelectedText())
            return {line ? line->cursorPosition() : 0, line ? line->cursorPosition() : 0};
        return {line->selectionStart(), line->selectionEnd()};
    }

    bool showsTheBeginning(std::string_view box) const override {
        QWidget* shown = widget(box);
        auto* line = qobject_cast<QLineEdit*>(shown);
        if (auto* comboBox = qobject_cast<QComboBox*>(shown)) line = comboBox->lineEdit();
        return line != nullptr && line->cursorPosition() == 0;
    }

    bool isShown() const override { return form_.isVisible(); }

    std::array<int, 4> placement(std::string_view control) const override {
        const QRect rect = widget(control)->geometry();
        return {rect.x(), rect.y(), rect.width(), rect.height()};
    }

    // Qt places the window in logical pixels, which the screen scales.
    int scaled(int pixelsAt96) const override { return pixelsAt96; }

    std::pair<int, int> clientSize() const override { return {form_.width(), form_.height()}; }

    std::vector<std::string> reports() const override { return reporter_.messages; }

    bool reportsWereModalToTheWindow() const override {
        return std::all_of(reporter_.windows.begin(), reporter_.windows.end(),
                           [this](QWidget* window) { return window == &form_; });
    }

    bool canHold(std::string_view) const override { return true; }

    std::vector<std::string> takeAnnouncements() override {
        std::vector<std::string> said;
        for (const QString& sentence : HeardEvents::announcementsOf(form_))
            said.push_back(sentence.toStdString());
        HeardEvents::clear();
        return said;
    }

private:
    QWidget* widget(std::string_view name) const {
        auto* found = form_.findChild<QWidget*>(qs(name));
        if (found == nullptr) throw std::out_of_range("no control " + std::string(name));
        return found;
    }
    QComboBox* combo(std::string_view name) const {
        auto* box = qobject_cast<QComboBox*>(widget(name));
        if (box == nullptr) throw std::invalid_argument(std::string(name) + " is no combo box");
        return box;
    }

    // Focuses a box and selects its whole text, as Ctrl+A does.
    void selectAll(std::string_view box) {
        widget(box)->setFocus();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_A, Qt::ControlModifier);
    }

    // The combo box whose list is open, if any: keys then go to the list.
    QComboBox* openList() const {
        for (QComboBox* box : form_.findChildren<QComboBox*>())
            if (box->view()->isVisible()) return box;
        return nullptr;
    }
    void waitForTheList() {
        if (QComboBox* box = openList()) {
            EXPECT_TRUE(QTest::qWaitForWindowExposed(box->view()->window()));
        }
    }

    RecordingReporter<QWidget*> reporter_;
    qt::Form form_;
    std::string unseen_;
};

}  // namespace

std::unique_ptr<WindowDriver> openWindow(const FormDesign& design) {
    return std::make_unique<QtWindow>(design);
}

}  // namespace parvolin::test

// The window tests run on the offscreen platform, whatever display there is,
// with the name the program gives itself and a known locale.
int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir runtimeDir;
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtimeDir.path()));
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Parvolin"));
    // A German locale, where the decimal separator is a comma, when the test
    // is told to expect one.
    const bool comma = qgetenv("PARVOLIN_DECIMAL_SEPARATOR") == ",";
    QLocale::setDefault(comma ? QLocale(QLocale::German, QLocale::Germany)
                              : QLocale(QLocale::English, QLocale::UnitedStates));
    parvolin::test::HeardEvents::start();
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
