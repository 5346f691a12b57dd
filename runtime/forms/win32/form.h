#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "runtime/forms/announcements.h"
#include "runtime/forms/form_controls.h"
#include "runtime/forms/form_design.h"
#include "runtime/forms/handler_frame.h"
#include "runtime/forms/win32/accessibility.h"
#include "runtime/forms/win32/dialog_focus.h"
#include "runtime/forms/win32/handles.h"

namespace parvolin::win32 {

using ErrorReporter = parvolin::ErrorReporter<HWND>;

// A window built from its design with the native Win32 controls. Its
// handlers run inside the error frame (handler_frame.h); whatever else fails
// while the window handles a message is reported the same way at its window
// procedure, and no exception ever unwinds through Windows' code.
//
// The window procedure hands each message to one member, on<Message>; the
// free functions it builds on are in window_class.cpp (the frame),
// controls.cpp (the control factory), layout.cpp (DPI and font metrics) and
// accessibility.cpp, and the focus is kept by a DialogFocus.
class Form final : public FormControls, public FailureSteps, public LiveRegion {
public:
    // `iconName` names the .ico resource of the executable; empty for none.
    // `announcer` speaks what the design marks as announced.
    // Throws if the window cannot be made; no window is left behind then.
    Form(const FormDesign& design, ErrorReporter& reporter, std::wstring iconName = {},
         Announcer& announcer = systemAnnouncer());
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

    // A message box owned by the window; does nothing once it has closed.
    void showError(std::string_view message) override;
    void focusWithTextSelected(std::string_view box) override;
    void announce(std::string_view sentence) override;

private:
    struct Control {
        const ControlDesign* design;
        HWND window;
    };
    // Control ids start well clear of IDOK and IDCANCEL, which IsDialogMessage sends.
    static constexpr int kFirstControlId = 100;

    static LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT onNcCreate(WPARAM wParam, LPARAM lParam);
    LRESULT onCommand(WPARAM wParam);
    void onComboNotification(const Control& box, WORD code);
    void showItemTheListOpenedOn(const Control& box);
    LRESULT onActivate(WPARAM wParam);
    LRESULT onNextDialogControl(WPARAM wParam, LPARAM lParam);
    LRESULT onGetDpiScaledSize(WPARAM wParam, LPARAM lParam);
    LRESULT onDpiChanged(WPARAM wParam, LPARAM lParam);
    LRESULT onSettingChange();
    LRESULT onNameControls();
    LRESULT onAnnounce();
    LRESULT onFocusAfterError();
    LRESULT onDestroy();
    LRESULT onNcDestroy(WPARAM wParam, LPARAM lParam);

    void reportFailure(std::string_view detail) noexcept;
    void detach() noexcept;
    void createControls();
    void layOut(UINT dpi);
    SIZE outerSizeAt(UINT dpi) const;
    void fitFrame();
    void setIcons(UINT dpi);
    const Control* commandSource(WORD id) const;
    bool isPick(const Control& source, WORD code) const;
    void pick(const Control& box, Handler handler);
    void run(Handler handler);
    void focusWithTextSelected(const Control& control);
    const Control& find(std::string_view name) const;
    const Control& findList(std::string_view name) const;

    const FormDesign& design_;
    ErrorReporter& reporter_;
    Announcer& announcer_;
    std::wstring iconName_;
    // The hidden owner keeps the window off the taskbar without making it a
    // tool window with a small caption.
    UniqueWindow owner_;
    HWND window_ = nullptr;  // destroyed by the user or by ~Form
    std::vector<Control> controls_;
    UniqueFont font_;
    UniqueIcon bigIcon_, smallIcon_;
    AccessibleNames names_;
    std::wstring announcement_;  // gathered, to be announced once the gesture is done
    // The open list's box, with the text and the item it showed when opened.
    struct OpenList {
        HWND box = nullptr;
        std::wstring text;
        LRESULT item = CB_ERR;
    } openList_;
    bool showingError_ = false;  // while the error's message box is up
    DialogFocus focus_;
};

}  // namespace parvolin::win32
