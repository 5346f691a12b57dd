#include <exception>

#include "runtime/error_message.h"
#include "runtime/forms/application.h"
#include "runtime/forms/win32/form.h"
#include "runtime/forms/win32/message_box_reporter.h"
#include "runtime/forms/win32/message_loop.h"
#include "runtime/forms/win32/text.h"

namespace parvolin {

int runApplication(int, char**, const ProjectRecord& record) {
    // Before anything loads a library: DLLs come from System32 only, never
    // from the program's folder, where a download may have put a hostile
    // oleacc.dll beside it.
    SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32);
    win32::MessageBoxReporter reporter;
    try {
        win32::Form form(record.startupForm, reporter, win32::toUtf16(record.icon));
        form.load();
        form.show();
        return win32::runMessageLoop(form);
    } catch (const std::exception& error) {
        // No window to own the message: it stands alone.
        MessageBoxW(nullptr, win32::toUtf16(unexpectedErrorMessage(error.what())).c_str(),
                    win32::toUtf16(record.name).c_str(), MB_OK | MB_ICONERROR);
        return 1;
    }
}

}  // namespace parvolin
