#pragma once

// What the Qt window tells screen readers: the accessibility events Qt would
// hand to its bridge to AT-SPI, kept here instead. Accessibility is turned on
// through the platform, as Qt's own accessibility tests do: the offscreen
// platform has no bridge that would turn it on.
#include <QAccessible>
#include <QList>
#include <QStringList>
#include <QTest>
#include <QTimer>
#include <QWidget>
#include <QtGui/private/qguiapplication_p.h>
#include <qpa/qplatformaccessibility.h>
#include <qpa/qplatformintegration.h>

namespace parvolin::test {

class HeardEvents {
public:
    // Once, after the QApplication is made.
    static void start() {
        QGuiApplicationPrivate::platformIntegration()->accessibility()->setActive(true);
        QAccessible::installUpdateHandler(&HeardEvents::record);
    }
    static void clear() { events().clear(); }

    // The announcements made since the last clear(), politeness first
    // ("polite: BMI 22.7393404746902. ..."), once `window` has none waiting
    // to be made (it gathers a gesture's for a moment).
    static QStringList announcementsOf(const QWidget& window) {
        QStringList said;
        const auto* pending = window.findChild<QTimer*>(QStringLiteral("announcement"));
        if (pending && !QTest::qWaitFor([pending] { return !pending->isActive(); }, 5000))
            said << QStringLiteral("(an announcement still waiting after 5 s)");
        for (const Event& event : events())
            if (!event.announced.isEmpty()) said << event.announced;
        return said;
    }

    // Whether a caret moved in `control` (or in its line edit) before the
    // focus came to it: Orca then takes the caret for the focus and says
    // nothing of the box, neither its name nor its role.
    static bool caretMovedBeforeFocus(const QObject* control) {
        for (const Event& event : events()) {
            if (event.object != control && event.parent != control) continue;
            if (event.type == QAccessible::Focus) return false;
            if (event.type == QAccessible::TextCaretMoved) return true;
        }
        return false;
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

    // The objects that got the focus, in order.
    static QList<const QObject*> focused() {
        QList<const QObject*> objects;
        for (const Event& event : events())
            if (event.type == QAccessible::Focus) objects << event.object;
        return objects;
    }

private:
    // The object and its parent are kept as addresses only, to compare: the
    // object may be gone by the time they are read.
    struct Event {
        QAccessible::Event type;
        const QObject* object;
        const QObject* parent;
        QString announced;
    };

    static QList<Event>& events() {
        static QList<Event> heard;
        return heard;
    }

    static void record(QAccessibleEvent* event) {
        QString announced;
        QAccessibleInterface* source = event->accessibleInterface();
        // Before Qt 6.8 an announcement is a notification shown; from 6.8 on,
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
        const QObject* object = event->object();
        events().append(
            {event->type(), object, object != nullptr ? object->parent() : nullptr, announced});
    }
};

}  // namespace parvolin::test
