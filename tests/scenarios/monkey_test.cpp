// A seeded, reproducible monkey: thousands of random user actions on the
// window (typing, pasting hostile texts, picking and typing combo items,
// pressing Calculate!, Tab, Enter, Escape), with the window's promises checked
// after each one, through the driver of whichever window the test is built
// for. PARVOLIN_MONKEY_SEED and PARVOLIN_MONKEY_EVENTS override the run.
#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <random>
#include <string>
#include <string_view>

#include "core/bmi.h"
#include "runtime/error_message.h"
#include "scenarios/window_driver.h"
#include "ui/form1.h"

namespace parvolin::test {
namespace {

using namespace form1;

const std::string_view kBoxes[] = {kMethodBox,     kWeightBox, kHeightBox, kWeightUnitBox,
                                   kHeightUnitBox, kStatusBox, kBmiBox};

// Pieces the monkey types or pastes: numbers, near-numbers and hostile texts;
// the first 22 are printable, so that no Tab or Enter hides in what it types.
// clang-format off
const std::string_view kPieces[] = {
    "70", "1.75", "154", "69", "5.75", "0", "-0", "1e308", "1e-308", "1e999999999999", ".", ",",
    "e", "-", "+", "Imperial", "Metric", "imperial", "Inches", "Feet", "inches", "Kg", "x",
    "\xE2\x80\x8F", "\xE2\x80\xAE", "\xF0\x9F\x98\x80", "\xD9\xA1", "\xD9\xAB", "\xC3\xA9", " ", "\t", "\n",
    std::string_view("\0", 1), "<b>", "&amp;",
};
// clang-format on

const Key kKeys[] = {Key::Tab,    Key::ShiftTab, Key::Enter, Key::KeypadEnter,
                     Key::Escape, Key::Space,    Key::Down};

unsigned long fromEnvironment(const char* name, unsigned long fallback) {
    const char* value = std::getenv(name);
    return value ? std::strtoul(value, nullptr, 10) : fallback;
}

bool isOutputBox(std::string_view name) { return name == kStatusBox || name == kBmiBox; }

class Monkey {
public:
    Monkey(WindowDriver& window, unsigned seed) : w(window), random_(seed) {}

    // One random action, weighted the way people act; returns whether it
    // pressed Calculate!.
    bool act() {
        const int dice = below(100);
        if (dice < 40) return typeInto(anyBox()), false;
        if (dice < 47) return pasteInto(anyBox()), false;
        if (dice < 67)
            return pick(below(2) ? kMethodBox : below(2) ? kWeightUnitBox : kHeightUnitBox), false;
        if (dice < 85) {
            lastEvent = "click Calculate!";
            w.click(kCalculateButton);
            return true;
        }
        const Key key = kKeys[below(int(std::size(kKeys)))];
        const std::string focused = w.focused();
        lastEvent = "key " + std::to_string(int(key)) + " on " + focused;
        w.key(key);
        return focused == kCalculateButton &&
               (key == Key::Space || key == Key::Enter || key == Key::KeypadEnter);
    }

    std::string lastEvent;

private:
    int below(int n) { return std::uniform_int_distribution<int>(0, n - 1)(random_); }

    // Mostly the weight and height boxes, as a user's typing goes.
    std::string_view anyBox() {
        return below(3) != 0 ? (below(2) ? kWeightBox : kHeightBox)
                             : kBoxes[below(int(std::size(kBoxes)))];
    }

    // Mostly a whole new number, as a user replaces a value.
    void typeInto(std::string_view box) {
        const bool replace = below(4) != 0;
        std::string text(kPieces[below(below(4) != 0 ? 7 : 22)]);
        if (below(6) == 0) text += kPieces[below(22)];
        lastEvent = (replace ? "replace with \"" : "type \"") + text + "\" in " + std::string(box);
        if (replace) return w.type(box, text);
        w.focus(box);
        w.typeAtCaret(text);
    }

    void pasteInto(std::string_view box) {
        std::string text;
        for (int i = 1 + below(6); i > 0; --i) text += kPieces[below(int(std::size(kPieces)))];
        if (below(10) == 0) text += std::string(30000 + below(5000), '9');
        lastEvent = "paste " + std::to_string(text.size()) + " bytes into " + std::string(box);
        w.focus(box);
        w.pasteAtCaret(text);
    }

    void pick(std::string_view box) {
        const std::vector<std::string> items = w.items(box);
        lastEvent = "pick in " + std::string(box);
        if (items.empty()) return;
        if (below(4) == 0)
            return w.pick(box, items[std::size_t(below(int(items.size())))],
                          PickBy::MouseOnOpenList);
        w.focus(box);
        w.key(below(2) ? Key::Down : Key::Up);
    }

    WindowDriver& w;
    std::mt19937 random_;
};

TEST(Monkey, RandomActionsKeepTheWindowsPromises) {
    const auto seed = static_cast<unsigned>(fromEnvironment("PARVOLIN_MONKEY_SEED", 20261208));
    const auto events = static_cast<int>(fromEnvironment("PARVOLIN_MONKEY_EVENTS", 3000));
    const char* separator = std::getenv("PARVOLIN_DECIMAL_SEPARATOR");
    const NumberLocale locale{separator ? separator : "."};
    const std::unique_ptr<WindowDriver> window = openWindow(form1Design());
    WindowDriver& w = *window;
    Monkey monkey(w, seed);
    const auto size = w.clientSize();
    std::string shownBmi, shownStatus;
    int presses = 0, failures = 0;
    for (int step = 0; step < events; ++step) {
        const MeasurementInput before{w.text(kMethodBox), w.text(kHeightUnitBox),
                                      w.text(kWeightBox), w.text(kHeightBox)};
        const std::size_t reportsBefore = w.reports().size();
        const std::string focusedBefore = w.focused();
        const bool pressed = monkey.act();
        SCOPED_TRACE("seed " + std::to_string(seed) + ", step " + std::to_string(step) +
                     ", after: " + monkey.lastEvent);

        ASSERT_EQ(w.clientSize(), size);
        const auto weightItems = w.items(kWeightUnitBox), heightItems = w.items(kHeightUnitBox);
        const bool imperial = weightItems == std::vector<std::string>{"Pounds"} &&
                              heightItems == std::vector<std::string>{"Feet", "Inches"};
        const bool metric = weightItems == std::vector<std::string>{"Kg"} &&
                            heightItems == std::vector<std::string>{"Meters"};
        ASSERT_TRUE(imperial || metric);

        std::optional<std::string> message;
        if (pressed) {
            ++presses;
            try {
                const CalcResult result = computeResult(before, locale);
                shownBmi = result.bmiText;
                shownStatus = result.statusText;
            } catch (const CalcError& error) {
                ++failures;
                message = errorMessage(error, locale);
            }
        } else if (isOutputBox(focusedBefore) || isOutputBox(w.focused())) {
            // The user may type into the output boxes: that is their own doing.
            shownBmi = w.text(kBmiBox);
            shownStatus = w.text(kStatusBox);
        }
        const std::vector<std::string> reports = w.reports();
        ASSERT_EQ(reports.size(), reportsBefore + (message ? 1 : 0));
        if (message) {
            ASSERT_EQ(reports.back(), *message);
        }
        ASSERT_EQ(w.text(kBmiBox), shownBmi);
        ASSERT_EQ(w.text(kStatusBox), shownStatus);
    }
    std::printf("seed %u: %d actions, %d presses, %d of them reported errors\n", seed, events,
                presses, failures);
    EXPECT_TRUE(presses > 0 && failures > 0 && failures < presses);
}

}  // namespace
}  // namespace parvolin::test
