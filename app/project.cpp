#include "app/project.h"

#include "app/version.h"
#include "ui/form1.h"

namespace parvolin {

ProjectRecord projectRecord() {
    return ProjectRecord{
        QStringLiteral("Parvolin"),
        QStringLiteral("Parvolin"),
        QStringLiteral(PARVOLIN_VERSION_TEXT),
        QStringLiteral(PARVOLIN_APP_ID),
        QStringLiteral(":/icons/parvolin.ico"),
        QLocale(QLocale::English, QLocale::UnitedStates),
        [](ErrorReporter& reporter) { return std::make_unique<Form1>(reporter); },
    };
}

}  // namespace parvolin
