#include "runtime/forms/win32/message_loop.h"

namespace parvolin::win32 {

void dispatchMessage(const Form& form, MSG& message) {
    if (form.window() != nullptr && IsDialogMessageW(form.window(), &message)) return;
    TranslateMessage(&message);
    DispatchMessageW(&message);
}

int runMessageLoop(const Form& form) {
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) dispatchMessage(form, message);
    return static_cast<int>(message.wParam);
}

}  // namespace parvolin::win32
