#pragma once

#include <QString>

class QTimer;
class QWidget;

namespace parvolin::qt {

// Registers, once, the accessible objects the window's own widgets need:
// the window as a dialog, the drop-down boxes named by their names rather
// than their texts, the one-line boxes read to the end of their text, and
// the announcer's notification.
void installAccessibleInterfaces();

// Gives a line edit a caret position before its first focus. A line edit
// that has never had one reports its first caret position on its first
// focus, just before the focus itself; Orca 43 takes that caret event for a
// silent move of the focus and then says nothing of the box, neither its
// name nor its role.
void placeCaretBeforeFirstFocus(QWidget& box);

// Speaks sentences through screen readers without moving the focus, as a
// web page's polite live region does.
class Announcer {
public:
    explicit Announcer(QWidget& window);
    // The timer's connection calls back this very object.
    Announcer(const Announcer&) = delete;
    Announcer& operator=(const Announcer&) = delete;
    // Announces `sentence` a moment later, unless another comes first.
    void announce(const QString& sentence);

private:
    void speak();

    QWidget& window_;
    QTimer* pending_;  // the window's child, named "announcement"
    QString sentence_;
    QWidget* notice_ = nullptr;  // the window's child; unused from Qt 6.8 on
};

}  // namespace parvolin::qt
