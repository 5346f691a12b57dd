#pragma once

#include <QPointer>
#include <QString>
#include <QWidget>

#include "runtime/forms/announcements.h"
#include "runtime/forms/form_controls.h"
#include "runtime/forms/form_design.h"
#include "runtime/forms/handler_frame.h"
#include "runtime/forms/qt/accessibility.h"

class QComboBox;

namespace parvolin::qt {

using ErrorReporter = parvolin::ErrorReporter<QWidget*>;

// The standard report: a critical message box modal to the window, titled
// with the application's name, one OK button, the message as plain text.
class MessageBoxReporter final : public ErrorReporter {
public:
    void report(QWidget* window, std::string_view message) override;
};

// A window built from its design with Qt Widgets. Controls carry their
// designer names as object names. Its handlers run inside the error frame
// (handler_frame.h); nothing a handler or its report throws reaches Qt's
// event loop (an exception through the event loop is undefined behaviour in
// Qt).
class Form final : public QWidget, public FormControls, public FailureSteps, public LiveRegion {
public:
    Form(const FormDesign& design, ErrorReporter& reporter, QWidget* parent = nullptr);
    ~Form() override;

    // Runs the load handler; called once, after creation and before showing.
    void load();

    // Client area in logical pixels: the design's size grown by the layout
    // scale of the window's font.
    QSize clientSize() const;

    // Keeps the client area within `room` (the screen's available area less
    // the window's frame), however large the font grows.
    void fitWithin(QSize room);

    std::string text(std::string_view control) const override;
    void setText(std::string_view control, std::string_view text) override;
    void setListItem(std::string_view control, int index, std::string_view text) override;
    void clearList(std::string_view control) override;
    NumberLocale numberLocale() const override;

    void showError(std::string_view message) override;
    void focusWithTextSelected(std::string_view box) override;
    void announce(std::string_view sentence) override;

protected:
    void changeEvent(QEvent* event) override;

private:
    QWidget* createControl(const ControlDesign& control);
    void setUpFrame();
    int pixels(int twips) const;
    void layOut();
    void styleStatusBoxes();
    void bindEvent(const EventBinding& binding);
    void run(Handler handler);
    template <typename Step>
    void guard(Step step) noexcept;
    void onFocusChanged(QWidget* now);
    static void selectAllOf(QWidget& box);
    QWidget& control(std::string_view name) const;
    QComboBox& list(std::string_view name) const;  // throws unless a combo box

    const FormDesign& design_;
    ErrorReporter& reporter_;
    double scale_ = 1.0;
    QSize room_;  // unbounded until the screen is known
    Announcer announcer_;
    // The box to correct, whose text is selected once it has the focus.
    QPointer<QWidget> selectOnFocus_;
    // The application's focus signal, cut when the window goes: QWidget's own
    // destructor hides the window and so moves the focus, when this object is
    // no longer a Form.
    QMetaObject::Connection focusChanges_;
};

}  // namespace parvolin::qt
