#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "runtime/forms/form_controls.h"
#include "runtime/forms/form_design.h"
#include "runtime/forms/win32/accessibility.h"
#include "runtime/forms/win32/handles.h"

namespace parvolin::win32 {

// Shows the user an error that ended a handler.
class ErrorReporter {
public:
    virtual ~ErrorReporter() = default;
    virtual void report(HWND window, const std::wstring& message) = 0;
};

// The standard report: a message box owned by the window (so modal to it),
// titled with the window's caption, an error icon and one OK button.
class MessageBoxReporter final : public ErrorReporter {
public:
    void report(HWND window, const std::wstring& message) override;
};

// A window built from its design with the native Win32 controls. Its
// handlers run inside the error frame: whatever a handler throws ends that
// handler, is reported, and never unwinds through Windows' code; the focus
// then goes to the box to correct. Whatever else fails while the window
// handles a message is reported the same way at its window procedure.
//
// Its parts, one file each: window_class.cpp (the frame), controls.cpp (the
// control factory), layout.cpp (twips, DPI and font), icons.cpp, focus.cpp,
// commands.cpp (command routing), control_operations.cpp, message_loop.cpp.
class Form final : public FormControls {
public:
    // `iconName` names the .ico resource of the executable; empty for none.
    // Throws if the window cannot be made; no window is left behind then.
    Form(const FormDesign& design, ErrorReporter& reporter, std::wstring iconName = {});
    ~Form();
    Form(const Form&) = delete;
    Form& operator=(const Form&) = delete;

    // Runs the load handler; called once, after creation and before showing.
    void load();
    // Centres the window on the work area of its screen, shows it and puts
    // the focus in the first control of the tab order. The boxes no label
    // names get their names for screen readers right after, from the loop.
    void show();

    // The top-level window, or nullptr once it has been closed.
    HWND window() const { return window_; }
    // A control by its designer name; throws std::out_of_range if unknown.
    HWND control(std::string_view name) const;
    // The window's current dots per inch.
    UINT dpi() const;

    std::string text(std::string_view control) const override;
    void setText(std::string_view control, std::string_view text) override;
    void setListItem(std::string_view control, int index, std::string_view text) override;
    void clearList(std::string_view control) override;
    NumberLocale numberLocale() const override;

private:
    struct Control {
        const ControlDesign* design;
        HWND window;
    };
    // Control ids start well clear of IDOK and IDCANCEL, which IsDialogMessage sends.
    static constexpr int kFirstControlId = 100;

    static LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);
    void reportFailure(std::string_view detail) noexcept;
    void detach() noexcept;
    void createControls();
    void layOut(UINT dpi);
    SIZE frameSize(UINT dpi) const;
    void fitFrame();
    void setIcons(UINT dpi);
    void nameUnlabelledBoxes();
    void onCommand(WORD id, WORD code);
    void pick(const Control& box, Handler handler);
    void run(Handler handler);
    void rememberFocus();
    void restoreFocus();
    void moveFocus(WPARAM target, bool named);
    void focusForCorrection(std::string_view name);
    void focusWithTextSelected(const Control& control);
    const Control& find(std::string_view name) const;
    const Control& findList(std::string_view name) const;

    const FormDesign& design_;
    ErrorReporter& reporter_;
    std::wstring iconName_;
    // The hidden owner keeps the window off the taskbar without making it a
    // tool window with a small caption.
    UniqueWindow owner_;
    HWND window_ = nullptr;  // destroyed by the user or by ~Form
    std::vector<Control> controls_;
    UniqueFont font_;
    UniqueIcon bigIcon_, smallIcon_;
    AccessibleNames names_;
    // The control to give the focus back to when the window is activated
    // again: DefWindowProc would give it to the window itself.
    HWND focus_ = nullptr;
    // While the focus goes back there: it returns as it was, nothing selected.
    bool restoringFocus_ = false;
};

}  // namespace parvolin::win32
