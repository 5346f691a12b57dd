#include "runtime/forms/qt/controls.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QCoreApplication>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QLocale>
#include <QPlainTextEdit>
#include <stdexcept>

namespace parvolin::qt {

QString fromUtf8(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

std::string controlText(const QComboBox& box) { return box.currentText().toStdString(); }
std::string controlText(const QLineEdit& box) { return box.text().toStdString(); }
std::string controlText(const QPlainTextEdit& box) { return box.toPlainText().toStdString(); }

void setControlText(QComboBox& box, std::string_view text) {
    box.setEditText(fromUtf8(text));
    // As in a line edit: a unit wider than the box shows its beginning.
    if (QLineEdit* line = box.lineEdit()) line->setCursorPosition(0);
}

void setControlText(QLineEdit& box, std::string_view text) {
    box.setText(fromUtf8(text));
    // Show the start of a text too long for the box, not its end.
    box.setCursorPosition(0);
}

void setControlText(QPlainTextEdit& box, std::string_view text) {
    box.setPlainText(fromUtf8(text));
}

void setListItem(QComboBox& box, int index, std::string_view text) {
    // Qt's setItemText ignores an index equal to the count; appending is insertItem.
    if (index == box.count())
        box.insertItem(index, fromUtf8(text));
    else if (index >= 0 && index < box.count())
        box.setItemText(index, fromUtf8(text));
    else
        throw std::out_of_range("list index " + std::to_string(index) + " is out of range");
}

void clearList(QComboBox& box) { box.clear(); }

PlainDropDown::PlainDropDown(QWidget* parent) : QComboBox(parent) {
    setEditable(true);
    // The default completer completes "i" to "Imperial" and "metric" to "Metric".
    setCompleter(nullptr);
    // The default policy adds a typed text as a new item on Enter.
    setInsertPolicy(QComboBox::NoInsert);
    // When editing finishes, QComboBox looks the typed text up among its items
    // (ignoring case), selects the match, rewrites the text and emits
    // activated, as if it had been picked. That lookup is its only use of the
    // line edit's editingFinished, so cutting the connection leaves typing as
    // typing.
    QObject::disconnect(lineEdit(), &QLineEdit::editingFinished, this, nullptr);
    // Installed after the list's own filter, so it sees the keys first.
    view()->installEventFilter(this);
}

// In the open list the native control takes F4, Alt+Up and Alt+Down, which
// close it, as a pick of the highlighted item, as Enter is; Qt closes the list
// on them and drops the pick. They are handed on as Enter, so the pick takes
// Qt's own way. With no item highlighted each of them closes the list and
// picks nothing, where Qt would keep the list open.
bool PlainDropDown::eventFilter(QObject* watched, QEvent* event) {
    if (watched == view() && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const bool alt = key->modifiers().testFlag(Qt::AltModifier);
        const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
        const bool close = key->key() == Qt::Key_F4 ||
                           (alt && (key->key() == Qt::Key_Up || key->key() == Qt::Key_Down));
        if ((enter || close) && !view()->currentIndex().isValid()) {
            hidePopup();
            return true;
        }
        if (close) {
            QKeyEvent asEnter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
            QCoreApplication::sendEvent(view(), &asEnter);
            return true;
        }
    }
    return QComboBox::eventFilter(watched, event);
}

void PlainDropDown::showPopup() {
    QComboBox::showPopup();
    // QComboBox opens the list on its current item, which typing never
    // changes; the typed text decides, matched as the native control
    // matches it (the beginning of an item, in any case). A text that begins
    // no item highlights none, so that Enter keeps the text.
    const QString typed = currentText();
    if (typed.isEmpty()) return;
    for (int row = 0; row < count(); ++row) {
        if (itemText(row).startsWith(typed, Qt::CaseInsensitive)) {
            view()->setCurrentIndex(model()->index(row, modelColumn(), rootModelIndex()));
            return;
        }
    }
    view()->setCurrentIndex(QModelIndex());
}

// The native box selects its whole text the first time it gets the focus
// (at start, in the Method box), so that typing replaces "Imperial" rather
// than adding to it; a click puts the cursor where it falls.
void PlainDropDown::focusInEvent(QFocusEvent* event) {
    QComboBox::focusInEvent(event);
    if (focusedBefore_) return;
    focusedBefore_ = true;
    if (event->reason() != Qt::MouseFocusReason) lineEdit()->selectAll();
}

NumberLocale numberLocaleOf(const QLocale& locale) {
    return NumberLocale{locale.decimalPoint().toStdString()};
}

}  // namespace parvolin::qt
