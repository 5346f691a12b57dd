#pragma once

#include <exception>
#include <memory>
#include <string>
#include <string_view>

namespace parvolin {

// Why a calculation stopped.
enum class CalcErrorKind {
    InvalidNumber,     // a text is not a number (the empty text included)
    DivisionByZero,    // a non-zero value divided by zero
    Overflow,          // a number or an intermediate value beyond the double range
    InvalidOperation,  // an undefined result, such as 0 / 0
    UnknownUnit,       // a unit system or height unit the calculation does not know
};

// The input a failure concerns, so that the window can name the box that is wrong.
// Arithmetic steps concern no single input.
enum class InputField { None, Method, HeightUnit, Weight, Height };

// Thrown by value by every failing operation of a calculation; nothing in the
// calculation returns error codes.
class CalcError : public std::exception {
public:
    explicit CalcError(CalcErrorKind kind, InputField field = InputField::None,
                       std::string_view text = {});

    CalcErrorKind kind() const noexcept { return kind_; }
    InputField field() const noexcept { return field_; }
    // The offending text exactly as the control held it; empty for arithmetic steps.
    const std::string& text() const noexcept { return *text_; }
    // A short English description of the kind, for logs and debuggers; the window
    // words its own message.
    const char* what() const noexcept override;

private:
    CalcErrorKind kind_;
    InputField field_;
    // Shared so that copying the exception never allocates and so never throws.
    std::shared_ptr<const std::string> text_;
};

}  // namespace parvolin
