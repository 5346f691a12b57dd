// Looks an application icon up in the hicolor theme as a desktop does, through
// XDG_DATA_DIRS, and expects it at 16, 32, 48, 64, 128 and 256 pixels. (The scalable SVG is
// checked by the list of installed files: Qt draws it only with its SVG plugin.)
#include <QGuiApplication>
#include <QIcon>
#include <cstdio>

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s APP_ID\n", argv[0]);
        return 2;
    }
    // The offscreen platform has no desktop theme to tell Qt where icons live;
    // desktops look in "icons" under each XDG data directory.
    QStringList searchPaths;
    for (const QString& dir : qEnvironmentVariable("XDG_DATA_DIRS").split(u':', Qt::SkipEmptyParts))
        searchPaths << dir + QStringLiteral("/icons");
    QIcon::setThemeSearchPaths(searchPaths);
    QIcon::setThemeName(QStringLiteral("hicolor"));
    const QString id = QString::fromLocal8Bit(argv[1]);
    const QIcon icon = QIcon::fromTheme(id);
    bool ok = !icon.isNull();
    for (int side : {16, 32, 48, 64, 128, 256})
        ok = ok && icon.availableSizes().contains(QSize(side, side));
    std::printf("%s: the theme icon %s at 16 to 256 pixels\n", ok ? "ok" : "FAILED", argv[1]);
    return ok ? 0 : 1;
}
