#include "runtime/forms/qt/accessibility.h"

#include <QAbstractItemView>
#include <QAccessible>
#include <QAccessibleWidget>
#include <QComboBox>
#include <QFontMetrics>
#include <QLineEdit>
#include <QTimer>
#include <QWidget>

#include "runtime/forms/qt/controls.h"
#include "runtime/forms/qt/form.h"

namespace parvolin::qt {
namespace {

// Qt 6.4 names an editable combo box by its text on Linux, so that a screen
// reader says "Pounds editable combo box" and never "Weight unit". This is
// Qt's own combo box object with one change: the name is the box's
// accessible name or the label's text, as for every other box, and the text
// is its value.
class DropDownAccessible final : public QAccessibleWidget {
public:
    explicit DropDownAccessible(QComboBox* box) : QAccessibleWidget(box, QAccessible::ComboBox) {}

    QString text(QAccessible::Text kind) const override {
        if (kind == QAccessible::Value) return box()->currentText();
        return QAccessibleWidget::text(kind);
    }

    // The list, then the line edit that holds the focus.
    int childCount() const override { return 2; }
    QAccessibleInterface* child(int index) const override {
        if (index == 0) return QAccessible::queryAccessibleInterface(box()->view());
        if (index == 1) return QAccessible::queryAccessibleInterface(box()->lineEdit());
        return nullptr;
    }
    int indexOfChild(const QAccessibleInterface* child) const override {
        if (child->object() == box()->view()) return 0;
        if (child->object() == box()->lineEdit()) return 1;
        return -1;
    }
    QAccessibleInterface* focusChild() const override { return child(1); }

    QStringList actionNames() const override { return {showMenuAction()}; }
    void doAction(const QString& action) override {
        if (action != showMenuAction()) return;
        if (box()->view()->isVisible())
            box()->hidePopup();
        else
            box()->showPopup();
    }
    QStringList keyBindingsForAction(const QString&) const override { return {}; }

private:
    QComboBox* box() const { return static_cast<QComboBox*>(widget()); }
};

// Qt 6.4's own object for a one-line box reports each character's text
// attributes as an empty run, from the character to itself, and Orca 43 ends
// the line it reads where the last run ends: it says "5.7" for "5.75" and
// "22.739340474690" for the BMI. This is Qt's object with one change: the
// box, which has no attributes, is one run from its start to its end.
class LineEditAccessible final : public QAccessibleWidget,
                                 public QAccessibleTextInterface,
                                 public QAccessibleEditableTextInterface {
public:
    explicit LineEditAccessible(QLineEdit* box)
        : QAccessibleWidget(box, QAccessible::EditableText) {
        addControllingSignal(QStringLiteral("textChanged(const QString&)"));
        addControllingSignal(QStringLiteral("returnPressed()"));
    }

    void* interface_cast(QAccessible::InterfaceType type) override {
        if (type == QAccessible::TextInterface) return static_cast<QAccessibleTextInterface*>(this);
        if (type == QAccessible::EditableTextInterface)
            return static_cast<QAccessibleEditableTextInterface*>(this);
        return QAccessibleWidget::interface_cast(type);
    }

    QString text(QAccessible::Text kind) const override {
        QString said = kind == QAccessible::Value ? box()->displayText() : QString();
        if (said.isEmpty()) said = QAccessibleWidget::text(kind);
        if (said.isEmpty() && kind == QAccessible::Description) said = box()->placeholderText();
        return said;
    }
    void setText(QAccessible::Text kind, const QString& text) override {
        if (kind == QAccessible::Value)
            box()->setText(text);
        else
            QAccessibleWidget::setText(kind, text);
    }
    QAccessible::State state() const override {
        QAccessible::State state = QAccessibleWidget::state();
        state.editable = true;
        state.readOnly = box()->isReadOnly();
        state.passwordEdit = box()->echoMode() != QLineEdit::Normal;
        state.selectableText = true;
        return state;
    }

    QString attributes(int, int* startOffset, int* endOffset) const override {
        *startOffset = 0;
        *endOffset = characterCount();
        return {};
    }

    QString text(int startOffset, int endOffset) const override {
        if (startOffset > endOffset) return {};
        return box()->displayText().mid(startOffset, endOffset - startOffset);
    }
    int characterCount() const override { return static_cast<int>(box()->displayText().size()); }
    int cursorPosition() const override { return box()->cursorPosition(); }
    void setCursorPosition(int position) override { box()->setCursorPosition(position); }
    // Offset -2 is the caret's, as Qt's own object takes it.
    QString textBeforeOffset(int offset, QAccessible::TextBoundaryType boundary, int* startOffset,
                             int* endOffset) const override {
        return QAccessibleTextInterface::textBeforeOffset(atCaret(offset), boundary, startOffset,
                                                          endOffset);
    }
    QString textAtOffset(int offset, QAccessible::TextBoundaryType boundary, int* startOffset,
                         int* endOffset) const override {
        return QAccessibleTextInterface::textAtOffset(atCaret(offset), boundary, startOffset,
                                                      endOffset);
    }
    QString textAfterOffset(int offset, QAccessible::TextBoundaryType boundary, int* startOffset,
                            int* endOffset) const override {
        return QAccessibleTextInterface::textAfterOffset(atCaret(offset), boundary, startOffset,
                                                         endOffset);
    }

    int selectionCount() const override { return box()->hasSelectedText() ? 1 : 0; }
    void selection(int index, int* startOffset, int* endOffset) const override {
        *startOffset = *endOffset = 0;
        if (index != 0) return;
        *startOffset = box()->selectionStart();
        *endOffset = *startOffset + static_cast<int>(box()->selectedText().size());
    }
    void addSelection(int startOffset, int endOffset) override {
        setSelection(0, startOffset, endOffset);
    }
    void removeSelection(int index) override {
        if (index == 0) box()->deselect();
    }
    void setSelection(int index, int startOffset, int endOffset) override {
        if (index == 0) box()->setSelection(startOffset, endOffset - startOffset);
    }

    // Measured from the caret, whose place Qt tells input methods: the box
    // may have scrolled its text.
    QRect characterRect(int offset) const override {
        const QString shown = box()->displayText();
        if (offset < 0 || offset >= shown.size()) return {};
        const QFontMetrics metrics(box()->font());
        const QRect caret = box()->inputMethodQuery(Qt::ImCursorRectangle).toRect();
        const int x = caret.x() + metrics.horizontalAdvance(shown.left(offset)) -
                      metrics.horizontalAdvance(shown.left(box()->cursorPosition()));
        const QRect character(x, caret.y(), metrics.horizontalAdvance(shown.at(offset)),
                              metrics.height());
        return character.translated(box()->mapToGlobal(QPoint(0, 0)));
    }
    int offsetAtPoint(const QPoint& point) const override {
        return box()->cursorPositionAt(box()->mapFromGlobal(point));
    }
    void scrollToSubstring(int startIndex, int endIndex) override {
        box()->setCursorPosition(endIndex);
        box()->setCursorPosition(startIndex);
    }

    void deleteText(int startOffset, int endOffset) override {
        box()->setText(box()->text().remove(startOffset, endOffset - startOffset));
    }
    void insertText(int offset, const QString& text) override {
        box()->setText(box()->text().insert(offset, text));
    }
    void replaceText(int startOffset, int endOffset, const QString& text) override {
        box()->setText(box()->text().replace(startOffset, endOffset - startOffset, text));
    }

private:
    QLineEdit* box() const { return static_cast<QLineEdit*>(widget()); }
    int atCaret(int offset) const { return offset == -2 ? cursorPosition() : offset; }
};

// The object the announcer shows: it draws nothing and takes no focus.
class Notice final : public QWidget {
public:
    explicit Notice(QWidget* parent) : QWidget(parent) {
        setFocusPolicy(Qt::NoFocus);
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setFixedSize(0, 0);
        hide();
    }
};

QAccessibleInterface* accessibleInterface(const QString&, QObject* object) {
    if (auto* form = dynamic_cast<Form*>(object))
        // Qt gives a plain top-level widget the Client role, which screen
        // readers announce as a "filler"; the window is a dialog.
        return new QAccessibleWidget(form, QAccessible::Dialog);
    if (auto* box = dynamic_cast<PlainDropDown*>(object)) return new DropDownAccessible(box);
    if (auto* box = qobject_cast<QLineEdit*>(object)) return new LineEditAccessible(box);
    if (auto* notice = dynamic_cast<Notice*>(object))
        return new QAccessibleWidget(notice, QAccessible::Notification);
    return nullptr;
}

}  // namespace

void installAccessibleInterfaces() {
    [[maybe_unused]] static const bool installed =
        (QAccessible::installFactory(accessibleInterface), true);
}

void placeCaretBeforeFirstFocus(QWidget& box) {
    if (auto* line = qobject_cast<QLineEdit*>(&box))
        line->setCursorPosition(line->cursorPosition());
    else if (auto* combo = qobject_cast<QComboBox*>(&box); combo && combo->lineEdit())
        placeCaretBeforeFirstFocus(*combo->lineEdit());
}

// A moment's wait gathers what the handlers of one gesture announce into one
// announcement, made once the window's own changes are out: a pick's rebuilt
// lists send screen readers dozens of events, and Orca, flooded, drops the
// notifications among them. The last sentence wins.
constexpr int kGatherMilliseconds = 150;

Announcer::Announcer(QWidget& window) : window_(window), pending_(new QTimer(&window)) {
    pending_->setObjectName(QStringLiteral("announcement"));
    pending_->setSingleShot(true);
    pending_->setInterval(kGatherMilliseconds);
    QObject::connect(pending_, &QTimer::timeout, &window_, [this] { speak(); });
}

void Announcer::announce(const QString& sentence) {
    sentence_ = sentence;
    pending_->start();
}

#if QT_VERSION >= QT_VERSION_CHECK(6, 8, 0)

// Qt's own announcement, which screen readers take as the platform's polite
// announcement (AT-SPI's announcement signal on Linux).
void Announcer::speak() {
    QAccessibleAnnouncementEvent event(&window_, sentence_);
    event.setPoliteness(QAccessible::AnnouncementPoliteness::Polite);
    QAccessible::updateAccessibility(&event);
}

#else

// Before Qt 6.8 there is no announcement: Orca 43 ignores text changes in a
// box without the focus, but speaks a notification when it is shown, without
// moving the focus (it does cut short the echo of the key just pressed). The
// notice is made at the first announcement, after the window's controls, and
// shown anew, named with the sentence, for each announcement.
void Announcer::speak() {
    if (notice_ == nullptr) notice_ = new Notice(&window_);
    notice_->hide();
    notice_->setAccessibleName(sentence_);
    notice_->show();
}

#endif

}  // namespace parvolin::qt
