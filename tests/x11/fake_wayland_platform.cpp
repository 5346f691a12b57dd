// A stand-in for Qt's Wayland platform plugin, for the tests: a program that
// chooses Wayland ends at once with status 3, saying so, where the real
// plugin would need a compositor.
#include <qpa/qplatformintegrationplugin.h>

#include <cstdio>
#include <cstdlib>

class FakeWaylandPlatform final : public QPlatformIntegrationPlugin {
    Q_OBJECT
    Q_PLUGIN_METADATA(IID QPlatformIntegrationFactoryInterface_iid FILE
                      "fake_wayland_platform.json")

public:
    QPlatformIntegration* create(const QString&, const QStringList&) override {
        std::fputs("opened on Wayland\n", stderr);
        std::_Exit(3);
    }
};

#include "fake_wayland_platform.moc"
