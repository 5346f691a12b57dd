#pragma once

// Hostile texts pasted into each box of the real window: every one gives a
// short, plain message naming the box (or a proper result where the text is
// a number after all), the outputs stay, and the window goes on working.
#include <string>
#include <vector>

#include "scenarios/press_scenarios.h"

namespace parvolin::test {

// What a press gives: a message, or a BMI and its status.
struct Outcome {
    std::string message;
    std::string bmi = {};
    std::string status = {};
};

inline Outcome notANumberIn(const std::string& what, const std::string& quoted) {
    return {notANumber(what, quoted)};
}
inline Outcome tooLargeIn(const std::string& what, const std::string& quoted) {
    return {"The " + what + " \"" + quoted + "\" is too large."};
}

// A hostile text, with what a press gives for it in the weight box and in
// the height box, the other boxes holding a valid metric input. In the
// method box and the height unit box every one is an unknown name, and the
// weight unit box is never read.
struct HostileText {
    std::string name;
    std::string text;
    std::string quoted;  // how a message quotes it: shortened, controls made visible
    Outcome inWeight;
    Outcome inHeight;
};

inline const std::string kDigits32767(32767, '9');
inline const std::string kDigitsQuoted = std::string(40, '9') + "\xE2\x80\xA6";

inline const std::vector<HostileText>& hostileTexts() {
    // clang-format off
    static const std::vector<HostileText> rows{
        {.name = "32767 digits", .text = kDigits32767, .quoted = kDigitsQuoted, .inWeight = tooLargeIn("weight", kDigitsQuoted), .inHeight = tooLargeIn("height", kDigitsQuoted)},
        {.name = "right-to-left mark", .text = "\xE2\x80\x8F" "70", .quoted = kReplacement + "70", .inWeight = notANumberIn("weight", kReplacement + "70"), .inHeight = notANumberIn("height", kReplacement + "70")},
        {.name = "bidi override", .text = "\xE2\x80\xAE" "07", .quoted = kReplacement + "07", .inWeight = notANumberIn("weight", kReplacement + "07"), .inHeight = notANumberIn("height", kReplacement + "07")},
        {.name = "emoji", .text = "\xF0\x9F\x98\x80", .quoted = "\xF0\x9F\x98\x80", .inWeight = notANumberIn("weight", "\xF0\x9F\x98\x80"), .inHeight = notANumberIn("height", "\xF0\x9F\x98\x80")},
        {.name = "NUL", .text = std::string("7\0" "0", 3), .quoted = "7" + kReplacement + "0", .inWeight = notANumberIn("weight", "7" + kReplacement + "0"), .inHeight = notANumberIn("height", "7" + kReplacement + "0")},
        {.name = "DEL", .text = "7\x7F" "0", .quoted = "7" + kReplacement + "0", .inWeight = notANumberIn("weight", "7" + kReplacement + "0"), .inHeight = notANumberIn("height", "7" + kReplacement + "0")},
        {.name = "huge exponent", .text = "1e999999999999", .quoted = "1e999999999999", .inWeight = tooLargeIn("weight", "1e999999999999"), .inHeight = tooLargeIn("height", "1e999999999999")},
        {.name = "negative zero", .text = "-0", .quoted = "-0", .inWeight = {.message = "", .bmi = "0", .status = "Underweight"}, .inHeight = {"The height must not be zero."}},
        {.name = "blanks only", .text = "   ", .quoted = "   ", .inWeight = {"The weight box is empty. Type the weight as a number."}, .inHeight = {"The height box is empty. Type the height as a number."}},
        {.name = "pasted lines", .text = "70\n80\r\n", .quoted = "70 80  ", .inWeight = notANumberIn("weight", "70 80  "), .inHeight = notANumberIn("height", "70 80  ")},
    };
    // clang-format on
    return rows;
}

// One hostile text in one box, with what the press gives.
struct HostileRow {
    std::string name;
    std::string_view box;
    std::string text;
    Outcome outcome;
    bool imperial = false;  // the other boxes hold an Imperial input, else a Metric one
};

// Each text in each box: the table above spread over the five boxes.
inline std::vector<HostileRow> hostileRows() {
    std::vector<HostileRow> rows;
    for (const HostileText& h : hostileTexts()) {
        const auto row = [&](std::string_view box, Outcome outcome, bool imperial = false) {
            rows.push_back(
                {h.name + " in " + std::string(box), box, h.text, std::move(outcome), imperial});
        };
        row(kWeightBox, h.inWeight);
        row(kHeightBox, h.inHeight);
        row(kMethodBox, {"Unknown unit system \"" + h.quoted + "\": choose Imperial or Metric."});
        row(kHeightUnitBox, {"Unknown height unit \"" + h.quoted + "\": choose Feet or Inches."},
            true);
        row(kWeightUnitBox, {.message = "", .bmi = "22.8571428571429", .status = kNormal});
    }
    return rows;
}

}  // namespace parvolin::test
