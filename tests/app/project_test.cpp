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
};

// Reads the image directory of an .ico and, for each image, the bit depth of
// its bitmap header: the depth stored, not the one the directory claims.
QList<IconImage> readIconImages(const QByteArray& file) {
    QList<IconImage> images;
    const auto u16 = [&](qsizetype at) {
        return qFromLittleEndian<quint16>(file.constData() + at);
    };
    const auto u32 = [&](qsizetype at) {
        return qFromLittleEndian<quint32>(file.constData() + at);
    };
    if (file.size() < 6 || u16(0) != 0 || u16(2) != 1) return images;
    for (int i = 0; i < u16(4); ++i) {
        const qsizetype entry = 6 + 16 * i;
        if (file.size() < entry + 16) return {};
        const qsizetype offset = u32(entry + 12);
        if (file.size() < offset + 40 || u32(offset) != 40) return {};  // a BITMAPINFOHEADER
        const auto side = [&](qsizetype at) { return file[at] == 0 ? 256 : quint8(file[at]); };
        images.append({side(entry), side(entry + 1), u16(offset + 14)});
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
        QCOMPARE(QApplication::windowIcon().availableSizes(),
                 (QList<QSize>{{16, 16}, {32, 32}, {48, 48}, {64, 64}, {128, 128}, {256, 256}}));
    }

    void iconHoldsThirteenImages() {
        QFile file(QStringLiteral(PARVOLIN_ICON_FILE));
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QList<IconImage> images = readIconImages(file.readAll());
        QList<std::tuple<int, int, int>> found;
        for (const IconImage& image : images)
            found.append({image.width, image.height, image.bitsPerPixel});
        QList<std::tuple<int, int, int>> expected;
        for (int side : {16, 32, 48})
            for (int depth : {4, 8, 24, 32}) expected.append({side, side, depth});
        expected.append({33, 33, 32});
        std::sort(found.begin(), found.end());
        std::sort(expected.begin(), expected.end());
        QCOMPARE(found, expected);
    }

    void qtReadsEveryIconImage() {
        QImageReader reader(QStringLiteral(PARVOLIN_ICON_FILE));
        QCOMPARE(reader.imageCount(), 13);
        // .ico needs jumpToImage: a plain read() loop never ends on it.
        for (int i = 0; i < reader.imageCount(); ++i) {
            QVERIFY(reader.jumpToImage(i));
            QVERIFY2(!reader.read().isNull(), qPrintable(reader.errorString()));
        }
    }
};

PARVOLIN_QTEST_MAIN(ProjectTest)
#include "project_test.moc"
