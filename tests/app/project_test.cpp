// The project record and the icon the window carries.
#include <QFile>
#include <QFileInfo>
#include <QIcon>
#include <QImageReader>
#include <QtEndian>

#include "app/project.h"
#include "qt_test_main.h"
#include "runtime/forms/qt/startup.h"

using namespace parvolin;

namespace {

struct IconImage {
    int width;
    int height;
    int bitsPerPixel;
    bool png;
};

// Reads the image directory of an .ico and, for each image, its size and bit
// depth as stored: from the bitmap header, or from a PNG's header (Windows
// reads a PNG there since Vista), not as the directory claims.
QList<IconImage> readIconImages(const QByteArray& file) {
    QList<IconImage> images;
    const auto u16 = [&](qsizetype at) {
        return qFromLittleEndian<quint16>(file.constData() + at);
    };
    const auto u32 = [&](qsizetype at) {
        return qFromLittleEndian<quint32>(file.constData() + at);
    };
    const auto bigEndian32 = [&](qsizetype at) {
        return static_cast<int>(qFromBigEndian<quint32>(file.constData() + at));
    };
    if (file.size() < 6 || u16(0) != 0 || u16(2) != 1) return images;
    for (int i = 0; i < u16(4); ++i) {
        const qsizetype entry = 6 + 16 * i;
        if (file.size() < entry + 16) return {};
        const qsizetype offset = u32(entry + 12);
        if (file.size() < offset + 40) return {};
        if (file.mid(offset, 8) == QByteArray("\x89PNG\r\n\x1a\n", 8)) {
            // IHDR: width, height, bits per channel; colour type 6 is RGBA.
            const int channels = file[offset + 25] == 6 ? 4 : 0;
            images.append({bigEndian32(offset + 16), bigEndian32(offset + 20),
                           file[offset + 24] * channels, true});
            continue;
        }
        if (u32(offset) != 40) return {};  // a BITMAPINFOHEADER
        // The bitmap's height counts its mask too.
        images.append({static_cast<int>(u32(offset + 4)), static_cast<int>(u32(offset + 8)) / 2,
                       u16(offset + 14), false});
    }
    return images;
}

}  // namespace

class ProjectTest : public QObject {
    Q_OBJECT

private slots:
    void recordNamesTheProgram() {
        const ProjectRecord& record = projectRecord();
        QCOMPARE(record.name, "Parvolin");
        QCOMPARE(record.description, "Parvolin");
        QCOMPARE(record.version, "1.00");
        QCOMPARE(record.startupForm.name, "Form1");
    }

    // A Wayland desktop finds the window's launcher, and so its icon, by this
    // name; the window itself carries the small PNGs. Its English texts stay
    // left-to-right under -reverse, in its message boxes too.
    void applicationNamesItsLauncherAndCarriesItsIcon() {
        QGuiApplication::setLayoutDirection(Qt::RightToLeft);
        qt::describeApplication(projectRecord());
        QCOMPARE(QGuiApplication::layoutDirection(), Qt::LeftToRight);
        QCOMPARE(QGuiApplication::desktopFileName() + ".desktop",
                 QFileInfo(QStringLiteral(PARVOLIN_LAUNCHER_FILE)).fileName());
        QVERIFY(QFileInfo::exists(QStringLiteral(PARVOLIN_LAUNCHER_FILE)));
        QCOMPARE(qt::windowIcon(projectRecord()).availableSizes(),
                 (QList<QSize>{{16, 16}, {32, 32}, {48, 48}, {64, 64}, {128, 128}, {256, 256}}));
    }

    // The thirteen images the window was designed with, and those Windows
    // wants at 125 and 150 per cent and in Explorer's large views.
    void iconHoldsItsImages() {
        QFile file(QStringLiteral(PARVOLIN_ICON_FILE));
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QList<IconImage> images = readIconImages(file.readAll());
        QList<std::tuple<int, int, int, bool>> found;
        for (const IconImage& image : images)
            found.append({image.width, image.height, image.bitsPerPixel, image.png});
        QList<std::tuple<int, int, int, bool>> expected;
        for (int side : {16, 32, 48})
            for (int depth : {4, 8, 24, 32}) expected.append({side, side, depth, false});
        for (int side : {33, 20, 24, 40, 64}) expected.append({side, side, 32, false});
        expected.append({256, 256, 32, true});
        std::sort(found.begin(), found.end());
        std::sort(expected.begin(), expected.end());
        QCOMPARE(found, expected);
    }

    void qtReadsEveryIconImage() {
        QImageReader reader(QStringLiteral(PARVOLIN_ICON_FILE));
        QCOMPARE(reader.imageCount(), 18);
        // .ico needs jumpToImage: a plain read() loop never ends on it.
        for (int i = 0; i < reader.imageCount(); ++i) {
            QVERIFY(reader.jumpToImage(i));
            QVERIFY2(!reader.read().isNull(), qPrintable(reader.errorString()));
        }
    }
};

PARVOLIN_QTEST_MAIN(ProjectTest)
#include "project_test.moc"
