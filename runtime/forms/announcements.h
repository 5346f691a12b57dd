#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "runtime/forms/form_controls.h"
#include "runtime/forms/form_design.h"
#include "runtime/forms/handler_frame.h"

namespace parvolin {

// Passes every control operation on to the window's controls and keeps the
// names of the controls a handler changed, so that the window can tell
// screen readers about the outputs that changed, as a web page's live region
// does.
class ChangeRecorder final : public FormControls {
public:
    explicit ChangeRecorder(FormControls& form) : form_(form) {}

    std::string text(std::string_view control) const override;
    void setText(std::string_view control, std::string_view text) override;
    void setListItem(std::string_view control, int index, std::string_view text) override;
    void clearList(std::string_view control) override;
    NumberLocale numberLocale() const override;

    // True when the handler changed the named control's text or list.
    bool changed(std::string_view control) const;

private:
    void note(std::string_view control);

    FormControls& form_;
    std::vector<std::string> changed_;
};

// What screen readers are to announce once a handler has changed the outputs
// `recorder` saw changed: each of the design's announced sentences that
// names one of them, each "{Name}" in it replaced by that control's text,
// joined by a space. Empty when none of them changed.
std::string announcementAfter(const ChangeRecorder& recorder, const FormDesign& design);

// The window's one step for announcements: speaks a sentence (UTF-8) through
// screen readers, without moving the focus and without interrupting, as a
// web page's polite live region does.
class LiveRegion {
public:
    virtual void announce(std::string_view sentence) = 0;

protected:
    ~LiveRegion() = default;
};

// Runs an event's handler as runHandlerReportingFailure does and, when it ran
// to its end, announces the outputs it changed that the design marks as
// announced. A failed handler announces nothing: its message box says it
// all. Throws only what the window's steps throw.
void runEventHandler(Handler handler, FormControls& form, FailureSteps& window,
                     LiveRegion& liveRegion, const FormDesign& design);

}  // namespace parvolin
