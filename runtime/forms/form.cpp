#include "runtime/forms/form.h"

#include <QCoreApplication>
#include <QLocale>
#include <QMessageBox>
#include <exception>

#include "runtime/calc_error.h"
#include "runtime/error_message.h"
#include "runtime/forms/controls.h"

namespace parvolin {

void MessageBoxReporter::report(QWidget* window, const QString& message) {
    QMessageBox box(QMessageBox::Critical, QCoreApplication::applicationName(), message,
                    QMessageBox::Ok, window);
    // A typed text must never be read as markup.
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

Form::Form(ErrorReporter& reporter, QWidget* parent) : QWidget(parent), reporter_(reporter) {}

void Form::load() {
    runHandler([this] { handleLoad(); });
}

void Form::reportCurrentException() noexcept {
    try {
        try {
            throw;
        } catch (const CalcError& error) {
            const std::string message = errorMessage(error, numberLocaleOf(QLocale()));
            reporter_.report(this, QString::fromStdString(message));
        } catch (const std::exception& error) {
            reporter_.report(this, QString::fromStdString(unexpectedErrorMessage(error.what())));
        } catch (...) {
            reporter_.report(this, QString::fromStdString(unexpectedErrorMessage("unknown error")));
        }
    } catch (...) {
        // Reporting failed too (out of memory, say): the handler has ended and
        // the window stays usable, which is all that is left to keep.
    }
}

}  // namespace parvolin
