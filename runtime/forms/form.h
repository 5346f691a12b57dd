#pragma once

#include <QString>
#include <QWidget>

namespace parvolin {

// Shows the user an error that ended a handler.
class ErrorReporter {
public:
    virtual ~ErrorReporter() = default;
    virtual void report(QWidget* window, const QString& message) = 0;
};

// The standard report: a modal critical message box titled with the
// application's name, one OK button, the message as plain text.
class MessageBoxReporter final : public ErrorReporter {
public:
    void report(QWidget* window, const QString& message) override;
};

// A window whose handlers run inside an error frame: whatever a handler
// throws ends that handler, is reported, and never reaches Qt's event loop
// (an exception through the event loop is undefined behaviour in Qt).
class Form : public QWidget {
public:
    explicit Form(ErrorReporter& reporter, QWidget* parent = nullptr);

    // Runs the load handler; called once, after creation and before showing.
    void load();

protected:
    virtual void handleLoad() = 0;

    template <typename Handler>
    void runHandler(Handler&& handler) noexcept {
        try {
            handler();
        } catch (...) {
            reportCurrentException();
        }
    }

private:
    void reportCurrentException() noexcept;

    ErrorReporter& reporter_;
};

}  // namespace parvolin
