#pragma once

// The window driver over the Win32 window, driven in-process as a person
// drives it: keys through the message loop (Tab, Enter, Escape, the arrows
// that pick), characters typed, the button clicked; read back with the
// controls' own messages.
#include <windows.h>

#include <string>
#include <utility>
#include <vector>

#include "recording_reporter.h"
#include "runtime/forms/win32/form.h"
#include "scenarios/window_driver.h"

namespace parvolin::test {

// The messages of one kind that windows get while this lives, each with its
// window and its wParam.
class MessageRecorder {
public:
    MessageRecorder(std::vector<HWND> windows, UINT message);
    ~MessageRecorder();
    MessageRecorder(const MessageRecorder&) = delete;
    MessageRecorder& operator=(const MessageRecorder&) = delete;

    std::vector<std::pair<HWND, WPARAM>> seen;

private:
    static LRESULT CALLBACK record(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                   UINT_PTR, DWORD_PTR self);
    std::vector<HWND> windows_;
    UINT message_;
};

class Win32Window final : public WindowDriver {
public:
    // Reports go to `shown` where given (the real message boxes), else to reporter().
    explicit Win32Window(const FormDesign& design, win32::ErrorReporter* shown = nullptr);

    win32::Form& form() { return form_; }
    RecordingReporter<HWND>& reporter() { return reporter_; }
    HWND box(std::string_view name) const { return form_.control(name); }
    // The edit field a box types into: the box itself, or a combo box's own.
    HWND editOf(std::string_view box) const;
    // The messages already waiting, handled as the message loop does.
    void processPendingMessages();
    // A key pressed and released on the focused control, through the loop.
    void key(WPARAM virtualKey, bool shift = false, bool alt = false, bool extended = false);

    void focus(std::string_view control) override;
    void type(std::string_view box, std::string_view text) override;
    void paste(std::string_view box, std::string_view text) override;
    void typeAtCaret(std::string_view text) override;
    void pasteAtCaret(std::string_view text) override;
    void key(Key key) override;
    void pick(std::string_view box, std::string_view item, PickBy how) override;
    std::string unseenGesture() const override { return unseenGesture_; }
    void openListAndLeave(std::string_view box, LeaveBy how) override;
    void leaveTheWindowAndComeBack() override;
    void click(std::string_view control) override;
    void setText(std::string_view control, std::string_view text) override;

    std::string text(std::string_view control) const override;
    std::vector<std::string> items(std::string_view box) const override;
    std::string selectedItem(std::string_view box) const override;
    std::string focused() const override;
    bool wholeTextSelected() const override;
    std::pair<int, int> selection() const override;
    bool showsTheBeginning(std::string_view box) const override;
    bool isShown() const override;
    std::array<int, 4> placement(std::string_view control) const override;
    int scaled(int pixelsAt96) const override;
    std::pair<int, int> clientSize() const override;
    std::vector<std::string> reports() const override { return reporter_.messages; }
    bool reportsWereModalToTheWindow() const override;
    bool canHold(std::string_view text) const override;
    std::vector<std::string> takeAnnouncements() override;

private:
    void selectAll(std::string_view box);
    void clickListItem(std::string_view box, int index);
    // A click on a control while a list is open, which has the mouse captured.
    void clickWhileAListIsOpen(std::string_view control);
    // A left click at a point of the window's client area.
    void clickAt(HWND target, LPARAM at);
    // Another program's window becomes active (Alt+Tab), then the user returns.

    const FormDesign& design_;
    RecordingReporter<HWND> reporter_;
    win32::Announcer announcer_;  // over functions that record the calls
    win32::Form form_;
    std::string unseenGesture_;
};

}  // namespace parvolin::test
