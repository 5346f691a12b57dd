#pragma once

#include "runtime/forms/application.h"

namespace parvolin {

// Who the program is and what it starts: Form1.
const ProjectRecord& projectRecord();

}  // namespace parvolin
