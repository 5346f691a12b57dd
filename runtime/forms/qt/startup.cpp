#include "runtime/forms/qt/startup.h"

#include <QApplication>
#include <QEvent>
#include <QGuiApplication>
#include <QIcon>
#include <QScreen>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <exception>
#include <utility>

#include "runtime/forms/qt/controls.h"
#include "runtime/forms/qt/display_check.h"
#include "runtime/forms/qt/form.h"
#include "runtime/forms/qt/x11_desktop_hints.h"

namespace parvolin {
namespace qt {
namespace {

QRect availableArea(const QWidget& window) {
    const QScreen* screen = window.screen() ? window.screen() : QGuiApplication::primaryScreen();
    return screen != nullptr ? screen->availableGeometry() : QRect();
}

// The frame as far as Qt knows it: none on X11 before the first map.
QMargins frameMargins(const QWidget& window) {
    const QRect framed = window.frameGeometry(), client = window.geometry();
    return {client.left() - framed.left(), client.top() - framed.top(),
            framed.right() - client.right(), framed.bottom() - client.bottom()};
}

// Sizes the window for the screen, framed by `frame`, and centres it there.
void place(Form& form, QMargins frame) {
    const QRect area = availableArea(form);
    if (area.isEmpty()) return;
    form.fitWithin(area.size().shrunkBy(frame));
    centreOnScreen(form, frame);
}

// For a window manager that does not tell the frame before mapping: the
// window is centred by its client area, lands half a title bar too low, and
// once the manager has framed it, the framed window is centred, once.
class CentreWhenFramed final : public QObject {
public:
    explicit CentreWhenFramed(Form& form) : QObject(&form), form_(form) {
        form.installEventFilter(this);
    }

    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Move || event->type() == QEvent::Resize ||
            event->type() == QEvent::Expose) {
            if (const QMargins frame = frameMargins(form_); !frame.isNull()) {
                form_.removeEventFilter(this);
                place(form_, frame);
                deleteLater();
            }
        }
        return false;
    }

private:
    Form& form_;
};

// On X11 a window carries its icon in every size (_NET_WM_ICON), decoded
// from the PNGs when the icon is set: done once the window has first been
// drawn, so that the decoding does not hold up the first sight of it.
class IconAfterFirstPaint final : public QObject {
public:
    IconAfterFirstPaint(QWidget& window, QIcon icon)
        : QObject(&window), window_(window), icon_(std::move(icon)) {
        window.installEventFilter(this);
    }

    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            window_.removeEventFilter(this);
            QTimer::singleShot(0, this, [this] {
                QApplication::setWindowIcon(icon_);
                deleteLater();
            });
        }
        return false;
    }

private:
    QWidget& window_;
    QIcon icon_;
};

// Tells the window manager what it needs before the first map, then shows
// the window where it belongs, framed.
void showPlaced(Form& form, X11DesktopHints& hints) {
    if (const auto frame = hints.frameExtents(form)) {
        place(form, *frame);
    } else {
        // Placed before the native window exists, so that Qt asks the
        // manager to put the frame, not the client area, there.
        place(form, {});
        new CentreWhenFramed(form);
    }
    hints.skipTaskbarIfSwitcherKeepsIt(form);
    form.show();
}

}  // namespace

void centreOnScreen(QWidget& window, QMargins frame) {
    const QRect area = availableArea(window);
    if (area.isEmpty()) return;
    QRect framed = QRect(QPoint(), window.size()).marginsAdded(frame);
    framed.moveCenter(area.center());
    // A frame larger than the area keeps its title bar on the screen.
    framed.moveTopLeft(
        QPoint(std::max(framed.left(), area.left()), std::max(framed.top(), area.top())));
    // Without a frame given, Qt places the frame it knows of, if any.
    if (frame.isNull())
        window.move(framed.topLeft());
    else
        window.setGeometry(
            QRect(framed.topLeft(), window.size()).translated(frame.left(), frame.top()));
}

void describeApplication(const ProjectRecord& record) {
    QApplication::setApplicationName(fromUtf8(record.name));
    QGuiApplication::setApplicationDisplayName(fromUtf8(record.description));
    QApplication::setApplicationVersion(fromUtf8(record.version));
    QGuiApplication::setDesktopFileName(fromUtf8(record.desktopFileName));
    // The texts are English: a right-to-left session (or -reverse) must not
    // mirror them. The window fixes its own direction, but a painter takes
    // the application's, so without this the button still reads
    // "!Calculate" and the message boxes come out mirrored.
    QGuiApplication::setLayoutDirection(Qt::LeftToRight);
}

// The window icon comes from the PNGs, the sizes a window manager asks for:
// decoding all the images of the .ico cost a noticeable part of the
// start-up. A file added with its size is read only when that size is drawn;
// the large ones serve HiDPI screens and task switchers.
QIcon windowIcon(const ProjectRecord& record) {
    QIcon icon;
    for (int side : kIconSizes)
        icon.addFile(QStringLiteral(":/icons/%1-%2.png").arg(fromUtf8(record.icon)).arg(side),
                     QSize(side, side));
    return icon;
}

int showStartupForm(const ProjectRecord& record, ErrorReporter& reporter,
                    ErrorReporter& startupReporter) {
    try {
        X11DesktopHints hints;  // its questions travel while the window is built
        Form form(record.startupForm, reporter);
        form.load();
        new IconAfterFirstPaint(form, windowIcon(record));
        showPlaced(form, hints);
        return QApplication::exec();
    } catch (const std::exception& error) {
        startupReporter.report(nullptr, QStringLiteral("The window could not be opened: %1")
                                            .arg(QString::fromLocal8Bit(error.what()))
                                            .toStdString());
    } catch (...) {
        startupReporter.report(nullptr, "The window could not be opened.");
    }
    return 1;
}

}  // namespace qt

int runApplication(int argc, char** argv, const ProjectRecord& record) {
    const QString program = qt::fromUtf8(record.name).toLower();
    qt::DisplayCheck display(argc, argv);
    if (const auto& reason = display.failure()) {
        std::fprintf(stderr, "%s: no display to open the window on (%s).\n", qPrintable(program),
                     reason->c_str());
        return 1;
    }
    QApplication application(argc, argv);
    display.release();
    qt::describeApplication(record);
    // Start-up failures go to standard error too, for a start from a terminal.
    struct StartupReporter final : qt::ErrorReporter {
        QString program;
        void report(QWidget* window, std::string_view message) override {
            std::fprintf(stderr, "%s: %.*s\n", qPrintable(program),
                         static_cast<int>(message.size()), message.data());
            qt::MessageBoxReporter().report(window, message);
        }
    } startupReporter;
    startupReporter.program = program;
    qt::MessageBoxReporter reporter;
    // The window's own errors are shown in message boxes; only a failure to
    // build the window reaches the start-up reporter.
    return qt::showStartupForm(record, reporter, startupReporter);
}

}  // namespace parvolin
