#include "app/project.h"

#include "app/version.h"
#include "ui/form1.h"

namespace parvolin {

const ProjectRecord& projectRecord() {
    static const ProjectRecord record{
        "Parvolin", "Parvolin", PARVOLIN_VERSION_TEXT, PARVOLIN_APP_ID, "parvolin", form1Design(),
    };
    return record;
}

}  // namespace parvolin
