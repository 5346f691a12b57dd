#pragma once

#include <string>
#include <string_view>

#include "runtime/number_text.h"

#include <QComboBox>

class QLineEdit;
class QLocale;
class QPlainTextEdit;

namespace parvolin::qt {

// A UTF-8 text of the program's as Qt holds texts.
QString fromUtf8(std::string_view text);

// What Form's control operations do to each kind of Qt widget; the program's
// texts are UTF-8 on this side.

std::string controlText(const QComboBox& box);
std::string controlText(const QLineEdit& box);
std::string controlText(const QPlainTextEdit& box);

void setControlText(QComboBox& box, std::string_view text);
void setControlText(QLineEdit& box, std::string_view text);
void setControlText(QPlainTextEdit& box, std::string_view text);

// Sets the list item at `index`; an index equal to the item count appends.
// Any other index throws std::out_of_range.
void setListItem(QComboBox& box, int index, std::string_view text);

// Removes every item (and, as Qt does, the edit text).
void clearList(QComboBox& box);

// A plain editable drop-down: typing never completes, never changes case,
// never adds an item and never counts as a pick, also when the typed text
// equals an item and editing ends with Enter, Tab or a click elsewhere. So
// QComboBox::activated means a pick from the list (the mouse, the keyboard in
// the open list, or the arrow keys and wheel on the closed box) and nothing
// else. Its list opens on the first item that begins with the typed text, as
// the native Windows control does: type "m", open the list with F4, press
// Enter, and "Metric" is picked, not the item the box showed before the typing.
// F4, Alt+Up and Alt+Down close the open list with a pick, as Enter does.
// Its first focus selects its text.
class PlainDropDown final : public QComboBox {
public:
    explicit PlainDropDown(QWidget* parent);
    void showPopup() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

protected:
    void focusInEvent(QFocusEvent* event) override;

private:
    bool focusedBefore_ = false;
};

// The decimal separator of a Qt locale, for the number conversions.
NumberLocale numberLocaleOf(const QLocale& locale);

}  // namespace parvolin::qt
