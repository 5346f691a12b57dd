#pragma once

// Presses of "Calculate!" as a user makes them, with what the window must
// show: one table that holds both windows (Qt and Win32) to the same results.
#include <string>
#include <vector>

namespace parvolin::test {

struct PressScenario {
    std::string name;
    // "": leave Imperial; "pick:X": pick X from the list; "open:X": type X,
    // open the list with F4 and press Enter, moving nowhere in the list
    // (the list opens on the item that begins with X); else typed.
    std::string method;
    std::string weight;
    std::string height;
    std::string heightUnit;   // "": leave as shown; "pick:X": pick X; else typed
    std::string bmi = {};     // Text4 afterwards; with `message`, Text4 and Text3 stay as they were
    std::string status = {};  // Text3 afterwards
    std::string message = {};  // the error reported; empty when the press succeeds
    std::string focus = {};    // after an error: the box that gets the focus
    std::string units = {};    // if set: "WEIGHT/HEIGHT", the unit boxes' texts afterwards
};

inline const std::string kNormal = "Generally Considered Normal Weight";
inline const std::string kNotANumberHint = " Type digits, with \".\" as the decimal separator.";

inline const std::vector<PressScenario>& pressScenarios() {
    static const std::vector<PressScenario> rows{
        {"pounds and inches", "", "154", "69", "pick:Inches", "22.7393404746902", kNormal},
        {"pounds and feet", "", "154", "5.75", "", "22.7393404746902", kNormal},
        {"metric picked", "pick:Metric", "70", "1.75", "", "22.8571428571429", kNormal},
        {"m typed, list opened and Enter picks Metric", "open:m", "70", "1.75", "",
         "22.8571428571429", kNormal, "", "", "Kg/Meters"},
        // Typing Metric leaves the units at Pounds and Feet, yet the method
        // text now selects the metric formula.
        {"metric typed", "Metric", "70", "1.75", "", "22.8571428571429", kNormal},
        {"height unit typed", "", "154", "69", "Inches", "22.7393404746902", kNormal},
        {"negative weight", "pick:Metric", "-70", "1.75", "", "-22.8571428571429", "Underweight"},
        {"exactly 18.5", "pick:Metric", "18.5", "1", "", "18.5", "Underweight"},
        {"surrounding blanks", "pick:Metric", " 60 ", "\t1.8", "", "18.5185185185185", kNormal},
        {"class 3", "pick:Metric", "160", "2", "", "40",
         "Obesity (Class 3) Extreme Risk of developing Health Related Problems"},
        // About 157 px in a 148 px box: the box shows the sign and the digits first.
        {"long result", "pick:Metric", "-1.23456789012345e-300", "1", "", "-1.23456789012345e-300",
         "Underweight"},

        {"empty weight", "Metric", "", "1.75", "", "", "",
         "The weight box is empty. Type the weight as a number.", "Text1"},
        {"weight not a number", "", "7o", "5.75", "", "", "",
         "The weight \"7o\" is not a number." + kNotANumberHint, "Text1"},
        {"height with comma", "Metric", "70", "1,75", "", "", "",
         "The height \"1,75\" is not a number." + kNotANumberHint, "Text2"},
        {"zero height", "Metric", "70", "0", "", "", "", "The height must not be zero.", "Text2"},
        {"zero height upper-case exponent", "Metric", "70", "0E5", "", "", "",
         "The height must not be zero.", "Text2"},
        {"zero weight and height", "", "0", "0", "Inches", "", "",
         "Weight and height must not both be zero.", "Text2"},
        {"out of range", "Metric", "1e308", "1e-10", "", "", "",
         "The BMI is too large to compute. Check the weight and the height.", "Text2"},
        {"tiny metric height", "Metric", "70", "1e-200", "", "", "",
         "The BMI is too large to compute. Check the weight and the height.", "Text2"},
        {"height squared is zero", "", "70", "1e-200", "pick:Inches", "", "",
         "The height \"1e-200\" is too small to compute a BMI.", "Text2"},
        {"height too small for a double", "", "0", "1e-400", "pick:Inches", "", "",
         "The height \"1e-400\" is too small to compute a BMI.", "Text2"},
        {"height squared too large", "", "70", "1e200", "pick:Inches", "", "",
         "The height \"1e200\" is too large.", "Text2"},
        {"weight beyond doubles", "", "1e400", "5", "", "", "",
         "The weight \"1e400\" is too large.", "Text1"},
        // The old behaviour showed 0 and "Underweight" here; now it is an error.
        {"unknown height unit", "", "", "", "inches", "", "",
         "Unknown height unit \"inches\": choose Feet or Inches.", "Combo3"},
        {"unknown unit system", "imperial", "154", "69", "", "", "",
         "Unknown unit system \"imperial\": choose Imperial or Metric.", "Combo1"},
        {"long text is shortened", "", std::string(30000, '9') + "x", "5", "", "", "",
         "The weight \"" + std::string(40, '9') + "\xE2\x80\xA6\" is not a number." +
             kNotANumberHint,
         "Text1"},
        // A character beyond the first 65,536 is two UTF-16 units in the box.
        {"emoji kept whole", "", "7\xF0\x9F\x98\x80", "5", "", "", "",
         "The weight \"7\xF0\x9F\x98\x80\" is not a number." + kNotANumberHint, "Text1"},
        {"bidi isolate hidden", "",
         "\xE2\x81\xA7"
         "7",
         "5", "", "", "",
         "The weight \"\xEF\xBF\xBD"
         "7\" is not a number." +
             kNotANumberHint,
         "Text1"},
        {"markup stays text", "", "<b>7</b>", "5", "", "", "",
         "The weight \"<b>7</b>\" is not a number." + kNotANumberHint, "Text1"},
    };
    return rows;
}

}  // namespace parvolin::test
