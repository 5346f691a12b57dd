#pragma once

// Presses of "Calculate!" as a user makes them, with what the window must
// show: one table that holds both windows (Qt and Win32) to the same results.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "scenarios/window_driver.h"
#include "ui/form1.h"

namespace parvolin::test {

using namespace form1;

// How a box gets its text before the press.
struct Entry {
    enum How { Left, Typed, Pasted, Picked, TypedThenOpened } how = Left;
    std::string text = {};
};
inline Entry typed(std::string text) { return {Entry::Typed, std::move(text)}; }
inline Entry pasted(std::string text) { return {Entry::Pasted, std::move(text)}; }
inline Entry picked(std::string item) { return {Entry::Picked, std::move(item)}; }
// Typed, then the list opened with F4 and closed with Enter, moving nowhere in
// it: the list opens on the item that begins with the typed text.
inline Entry typedThenOpened(std::string text) { return {Entry::TypedThenOpened, std::move(text)}; }

struct PressScenario {
    std::string name;
    Entry method = {};  // left: Imperial as shown
    Entry weight = {};
    Entry height = {};
    Entry weightUnit = {};
    Entry heightUnit = {};
    // Then the Method list opened with F4 and left this way: no pick.
    std::optional<LeaveBy> methodListLeft = {};
    std::string bmi = {};     // Text4 afterwards; with `message`, Text4 and Text3 stay as they were
    std::string status = {};  // Text3 afterwards
    std::string message = {};     // the error reported; empty when the press succeeds
    std::string_view focus = {};  // after an error: the box that gets the focus, its text selected
    std::string units = {};       // if set: "WEIGHT/HEIGHT", the unit boxes' texts afterwards
};

inline const std::string kNormal = "Generally Considered Normal Weight";
inline const std::string kNotANumberHint = " Type digits, with \".\" as the decimal separator.";
inline const std::string kReplacement = "\xEF\xBF\xBD";  // U+FFFD, for a character not shown
inline const std::string kTooLargeToCompute =
    "The BMI is too large to compute. Check the weight and the height.";

inline std::string notANumber(const std::string& what, const std::string& quoted) {
    return "The " + what + " \"" + quoted + "\" is not a number." + kNotANumberHint;
}

// GCC 12 at -O2 and above takes the defaulted members of these temporaries
// for uninitialized.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#endif
inline const std::vector<PressScenario>& pressScenarios() {
    // clang-format off
    static const std::vector<PressScenario> rows{
        {.name = "pounds and inches", .weight = typed("154"), .height = typed("69"), .heightUnit = picked("Inches"), .bmi = "22.7393404746902", .status = kNormal},
        {.name = "pounds and feet", .weight = typed("154"), .height = typed("5.75"), .bmi = "22.7393404746902", .status = kNormal},
        // Leaving the open Method list is no pick: the units the user set stay, and count.
        {.name = "Inches, Method list left with Tab", .weight = typed("154"), .height = typed("69"), .heightUnit = picked("Inches"), .methodListLeft = LeaveBy::Tab, .bmi = "22.7393404746902", .status = kNormal, .units = "Pounds/Inches"},
        {.name = "Inches, Method list left with Shift+Tab", .weight = typed("154"), .height = typed("69"), .heightUnit = picked("Inches"), .methodListLeft = LeaveBy::ShiftTab, .bmi = "22.7393404746902", .status = kNormal, .units = "Pounds/Inches"},
        {.name = "Inches, Method list left by a click elsewhere", .weight = typed("154"), .height = typed("69"), .heightUnit = picked("Inches"), .methodListLeft = LeaveBy::ClickIntoHeightBox, .bmi = "22.7393404746902", .status = kNormal, .units = "Pounds/Inches"},
        {.name = "Inches, Method list left for another window", .weight = typed("154"), .height = typed("69"), .heightUnit = picked("Inches"), .methodListLeft = LeaveBy::AnotherWindow, .bmi = "22.7393404746902", .status = kNormal, .units = "Pounds/Inches"},
        {.name = "metric picked", .method = picked("Metric"), .weight = typed("70"), .height = typed("1.75"), .bmi = "22.8571428571429", .status = kNormal, .units = "Kg/Meters"},
        {.name = "m typed, list opened and Enter picks Metric", .method = typedThenOpened("m"), .weight = typed("70"), .height = typed("1.75"), .bmi = "22.8571428571429", .status = kNormal, .units = "Kg/Meters"},
        // Typing Metric leaves the units at Pounds and Feet, yet the method
        // text now selects the metric formula.
        {.name = "metric typed", .method = typed("Metric"), .weight = typed("70"), .height = typed("1.75"), .bmi = "22.8571428571429", .status = kNormal, .units = "Pounds/Feet"},
        {.name = "height unit typed", .weight = typed("154"), .height = typed("69"), .heightUnit = typed("Inches"), .bmi = "22.7393404746902", .status = kNormal},
        {.name = "weight unit is never read", .weight = typed("154"), .height = typed("5.75"), .weightUnit = typed("Stones"), .bmi = "22.7393404746902", .status = kNormal},
        {.name = "negative weight", .method = picked("Metric"), .weight = typed("-70"), .height = typed("1.75"), .bmi = "-22.8571428571429", .status = "Underweight"},
        {.name = "exactly 18.5", .method = picked("Metric"), .weight = typed("18.5"), .height = typed("1"), .bmi = "18.5", .status = "Underweight"},
        {.name = "surrounding blanks", .method = picked("Metric"), .weight = typed(" 60 "), .height = typed("\t1.8"), .bmi = "18.5185185185185", .status = kNormal},
        {.name = "class 3", .method = picked("Metric"), .weight = typed("160"), .height = typed("2"), .bmi = "40", .status = "Obesity (Class 3) Extreme Risk of developing Health Related Problems"},
        // About 157 px in a 148 px box: the box shows the sign and the digits first.
        {.name = "long result", .method = picked("Metric"), .weight = typed("-1.23456789012345e-300"), .height = typed("1"), .bmi = "-1.23456789012345e-300", .status = "Underweight"},

        {.name = "empty weight", .method = typed("Metric"), .weight = typed(""), .height = typed("1.75"), .message = "The weight box is empty. Type the weight as a number.", .focus = kWeightBox},
        {.name = "weight not a number", .weight = typed("7o"), .height = typed("5.75"), .message = notANumber("weight", "7o"), .focus = kWeightBox},
        {.name = "height with comma", .method = typed("Metric"), .weight = typed("70"), .height = typed("1,75"), .message = notANumber("height", "1,75"), .focus = kHeightBox},
        {.name = "zero height", .method = typed("Metric"), .weight = typed("70"), .height = typed("0"), .message = "The height must not be zero.", .focus = kHeightBox},
        {.name = "zero height upper-case exponent", .method = typed("Metric"), .weight = typed("70"), .height = typed("0E5"), .message = "The height must not be zero.", .focus = kHeightBox},
        {.name = "zero weight and height", .weight = typed("0"), .height = typed("0"), .heightUnit = typed("Inches"), .message = "Weight and height must not both be zero.", .focus = kHeightBox},
        {.name = "out of range", .method = typed("Metric"), .weight = typed("1e308"), .height = typed("1e-10"), .message = kTooLargeToCompute, .focus = kHeightBox},
        {.name = "tiny metric height", .method = typed("Metric"), .weight = typed("70"), .height = typed("1e-200"), .message = kTooLargeToCompute, .focus = kHeightBox},
        {.name = "height squared is zero", .weight = typed("70"), .height = typed("1e-200"), .heightUnit = picked("Inches"), .message = "The height \"1e-200\" is too small to compute a BMI.", .focus = kHeightBox},
        {.name = "height too small for a double", .weight = typed("0"), .height = typed("1e-400"), .heightUnit = picked("Inches"), .message = "The height \"1e-400\" is too small to compute a BMI.", .focus = kHeightBox},
        {.name = "height squared too large", .weight = typed("70"), .height = typed("1e200"), .heightUnit = picked("Inches"), .message = "The height \"1e200\" is too large.", .focus = kHeightBox},
        {.name = "weight beyond doubles", .weight = typed("1e400"), .height = typed("5"), .message = "The weight \"1e400\" is too large.", .focus = kWeightBox},
        // The old behaviour showed 0 and "Underweight" here; now it is an error.
        {.name = "unknown height unit", .heightUnit = typed("inches"), .message = "Unknown height unit \"inches\": choose Feet or Inches.", .focus = kHeightUnitBox},
        {.name = "unknown unit system", .method = typed("imperial"), .weight = typed("154"), .height = typed("69"), .message = "Unknown unit system \"imperial\": choose Imperial or Metric.", .focus = kMethodBox},
        {.name = "long text is shortened", .weight = typed(std::string(30000, '9') + "x"), .height = typed("5"), .message = notANumber("weight", std::string(40, '9') + "\xE2\x80\xA6"), .focus = kWeightBox},
        // A character beyond the first 65,536 is two UTF-16 units in the box.
        {.name = "emoji kept whole", .weight = typed("7\xF0\x9F\x98\x80"), .height = typed("5"), .message = notANumber("weight", "7\xF0\x9F\x98\x80"), .focus = kWeightBox},
        {.name = "bidi isolate hidden", .weight = typed("\xE2\x81\xA7" "7"), .height = typed("5"), .message = notANumber("weight", kReplacement + "7"), .focus = kWeightBox},
        {.name = "DEL hidden", .weight = pasted("7\x7F"), .height = typed("5"), .message = notANumber("weight", "7" + kReplacement), .focus = kWeightBox},
        {.name = "markup stays text", .weight = typed("<b>7</b>"), .height = typed("5"), .message = notANumber("weight", "<b>7</b>"), .focus = kWeightBox},
    };
    // clang-format on
    return rows;
}
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic pop
#endif

}  // namespace parvolin::test
