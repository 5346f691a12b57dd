// The window drawn at the scale factor in QT_SCALE_FACTOR (ctest runs this at
// 1, 1.25, 1.5, 1.75 and 2) or at a font dpi Qt's scaling leaves to the
// text: every box keeps its whole frame, and every text fits as drawn. A
// frame lost at a fractional scale shows as a light pixel where the frame
// should be. PARVOLIN_CLIENT_SIZE (WIDTHxHEIGHT, 217x243 unless set) is the
// client area the row expects, in logical pixels.
#include <QImage>
#include <QPixmap>
#include <cmath>

#include "qt_test_main.h"
#include "text_fit.h"
#include "ui/form1.h"

using namespace parvolin;

class ScalingTest : public QObject {
    Q_OBJECT

private slots:
    void everyBoxKeepsItsWholeFrameAndEveryTextFits() {
        RecordingReporter reporter;
        qt::Form form(form1Design(), reporter);
        form.load();
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        const QPixmap grabbed = form.grab();
        const qreal scale = grabbed.devicePixelRatio();
        const QImage image = grabbed.toImage();
        const QStringList expected =
            qEnvironmentVariable("PARVOLIN_CLIENT_SIZE", QStringLiteral("217x243")).split(u'x');
        QCOMPARE(image.size(),
                 (QSizeF(expected.value(0).toInt(), expected.value(1).toInt()) * scale).toSize());
        const int background = form.palette().color(QPalette::Window).lightness();
        for (const ControlDesign& control : form1Design().controls) {
            if (control.kind == ControlKind::Label) continue;
            const QRectF box =
                form.findChild<QWidget*>(QString::fromUtf8(control.name.data()))->geometry();
            // Along the middle of each side, the outermost two logical pixels
            // (some styles leave the outermost one to a light shadow) must
            // hold the frame: a pixel clearly darker than the window.
            const QPointF centre = box.center();
            const auto frameFound = [&](QPointF edge, QPointF inward) {
                for (qreal step = 0; step < 2 * scale; step += 1) {
                    const QPointF device = (edge + inward * (step / scale)) * scale;
                    const QPoint pixel(int(std::floor(device.x())), int(std::floor(device.y())));
                    if (image.pixelColor(pixel).lightness() < background - 20) return true;
                }
                return false;
            };
            const QList<std::tuple<const char*, QPointF, QPointF>> sides{
                {"left", {box.left() + 0.1, centre.y()}, {1, 0}},
                {"right", {box.right() - 0.1, centre.y()}, {-1, 0}},
                {"top", {centre.x(), box.top() + 0.1}, {0, 1}},
                {"bottom", {centre.x(), box.bottom() - 0.1}, {0, -1}},
            };
            for (const auto& [side, edge, inward] : sides)
                QVERIFY2(frameFound(edge, inward),
                         qPrintable(QStringLiteral("%1's %2 frame is missing at scale %3")
                                        .arg(QString::fromUtf8(control.name.data(),
                                                               qsizetype(control.name.size())),
                                             QLatin1String(side))
                                        .arg(scale)));
        }
        verifyTextFits(form);
    }
};

PARVOLIN_QTEST_MAIN(ScalingTest)
#include "scaling_test.moc"
