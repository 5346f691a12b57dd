#pragma once

#include <string>
#include <string_view>

#include "runtime/forms/form_design.h"
#include "runtime/number_text.h"

namespace parvolin {

// The control operations the handlers use, by the controls' designer names.
// Texts cross as UTF-8. A failed call (an unknown control, an operation the
// control does not have, an index out of range) throws, so that it ends the
// running handler like any other error.
class FormControls {
public:
    virtual std::string text(std::string_view control) const = 0;
    virtual void setText(std::string_view control, std::string_view text) = 0;
    // Sets the list item at `index`; an index equal to the item count appends.
    virtual void setListItem(std::string_view control, int index, std::string_view text) = 0;
    // Removes every item of a combo box's list.
    virtual void clearList(std::string_view control) = 0;
    // The user's number conventions, read anew at each call.
    virtual NumberLocale numberLocale() const = 0;

protected:
    ~FormControls() = default;
};

}  // namespace parvolin
