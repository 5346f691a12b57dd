// The tables of gestures, run against the window through its driver: this
// file is built once with the Qt window's driver and once with the Win32
// window's, so that both windows are held to the same rows.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <stdexcept>

#include "scenarios/gesture_scenarios.h"
#include "scenarios/hostile_inputs.h"
#include "scenarios/press_scenarios.h"
#include "scenarios/window_driver.h"
#include "test_support.h"
#include "ui/form1.h"

namespace parvolin::test {
namespace {

const std::string kImperialBmi = "22.7393404746902";
const std::string kMetricBmi = "22.8571428571429";

class Window : public testing::Test {
protected:
    std::unique_ptr<WindowDriver> window_ = openWindow(form1Design());
    WindowDriver& w = *window_;

    // A valid input: 70 kg at 1.75 m, Metric picked.
    void enterMetricInput() {
        w.pick(kMethodBox, "Metric", PickBy::ArrowsOnClosedBox);
        w.type(kWeightBox, "70");
        w.type(kHeightBox, "1.75");
    }

    void enter(std::string_view box, const Entry& entry) {
        switch (entry.how) {
        case Entry::Left: break;
        case Entry::Typed: w.type(box, entry.text); break;
        case Entry::Pasted: w.paste(box, entry.text); break;
        case Entry::Picked: w.pick(box, entry.text, PickBy::ArrowsOnClosedBox); break;
        case Entry::TypedThenOpened:
            w.type(box, entry.text);
            w.key(Key::F4);
            w.key(Key::Enter);
            break;
        }
    }

    // The unit boxes' texts and lists, as "Pounds [Pounds,] / Feet [Feet,Inches,]".
    std::string units() const {
        std::string shown;
        for (std::string_view box : {kWeightUnitBox, kHeightUnitBox}) {
            shown += (shown.empty() ? "" : " / ") + w.text(box) + " [";
            for (const std::string& item : w.items(box)) shown += item + ",";
            shown += "]";
        }
        return shown;
    }
};

template <typename Row>
class WindowRows : public Window, public testing::WithParamInterface<Row> {};

using test::PrintTo;

TEST_F(Window, StartsWithTheFocusInTheMethodBoxItsTextSelected) {
    EXPECT_EQ(w.focused(), kMethodBox);
    // As the native box does on its first focus: typing "m" replaces it.
    EXPECT_TRUE(w.wholeTextSelected());
    // Filling the unit boxes before the window shows is no news.
    EXPECT_EQ(w.takeAnnouncements(), std::vector<std::string>{});
}

using StartsWith = WindowRows<InitialBox>;
TEST_P(StartsWith, ImperialUnitsAndEmptyBoxes) {
    EXPECT_EQ(w.text(GetParam().box), GetParam().text);
    EXPECT_EQ(w.items(GetParam().box), GetParam().items);
    EXPECT_EQ(w.selectedItem(GetParam().box), GetParam().selected);
}
INSTANTIATE_TEST_SUITE_P(Window, StartsWith, testing::ValuesIn(initialBoxes()),
                         rowName<InitialBox>);

using TabRounds = WindowRows<TabRound>;
TEST_P(TabRounds, VisitEveryBoxInTheDesignedOrderEachWithItsTextSelected) {
    std::vector<std::string> expected =
        designedTabOrder();  // from the first box, which has the focus
    std::rotate(expected.begin(), expected.begin() + 1, expected.end());
    if (GetParam().backwards) {
        std::reverse(expected.begin(), expected.end());
        std::rotate(expected.begin(), expected.begin() + 1, expected.end());
    }
    std::vector<std::string> seen;
    for (std::size_t i = 0; i < expected.size(); ++i) {
        w.key(GetParam().key);
        seen.push_back(w.focused() + (w.wholeTextSelected() ? "" : " unselected"));
    }
    EXPECT_EQ(seen, expected);
}
INSTANTIATE_TEST_SUITE_P(Window, TabRounds, testing::ValuesIn(tabRounds()), rowName<TabRound>);

using TypingIsNeverAPick = WindowRows<TypedNotPicked>;
TEST_P(TypingIsNeverAPick, TheTextStaysAsTypedAndTheListsAsTheyWere) {
    const TypedNotPicked& row = GetParam();
    w.type(row.box, row.typed);
    for (Key key : row.then) w.key(key);
    if (!row.clickInto.empty()) w.click(row.clickInto);
    EXPECT_EQ(w.text(row.box), row.typed);
    EXPECT_EQ(w.items(row.box), row.items);
    // No pick rebuilt the unit boxes.
    EXPECT_EQ(units(), row.units);
    EXPECT_EQ(w.reports(), std::vector<std::string>{});
}
INSTANTIATE_TEST_SUITE_P(Window, TypingIsNeverAPick, testing::ValuesIn(typedNotPicked()),
                         rowName<TypedNotPicked>);

using Picks = WindowRows<PickGesture>;
TEST_P(Picks, RebuildTheUnitListsAndNothingElse) {
    const PickGesture& row = GetParam();
    w.type(kWeightBox, "154");
    w.type(kHeightBox, "69");
    w.setText(kBmiBox, kImperialBmi);
    w.setText(kStatusBox, kNormal);
    for (int round = 0; round < 2; ++round) {
        if (!row.typedFirst.empty()) w.type(kMethodBox, row.typedFirst);
        w.takeAnnouncements();
        w.pick(kMethodBox, "Metric", row.how);
        if (row.picks && !w.unseenGesture().empty()) GTEST_SKIP() << w.unseenGesture();
        EXPECT_EQ(units(), row.picks ? kMetricUnits : kImperialUnits) << "round " << round;
        // The new units are announced, as the boxes beside the ones a screen
        // reader is in change without a word otherwise.
        EXPECT_EQ(w.takeAnnouncements(), row.picks
                                             ? std::vector<std::string>{"polite: Kg and Meters"}
                                             : std::vector<std::string>{})
            << "round " << round;
        w.pick(kMethodBox, "Imperial", row.how);
        EXPECT_EQ(units(), kImperialUnits) << "round " << round;
        // (Where the gesture picks nothing the units were Imperial's all along.)
        if (row.picks) {
            EXPECT_EQ(w.takeAnnouncements(), std::vector<std::string>{"polite: Pounds and Feet"})
                << "round " << round;
        }
    }
    // What was typed and shown stays, though it may belong to the other system.
    EXPECT_EQ(w.text(kWeightBox), "154");
    EXPECT_EQ(w.text(kHeightBox), "69");
    EXPECT_EQ(w.text(kBmiBox), kImperialBmi);
    EXPECT_EQ(w.text(kStatusBox), kNormal);
    EXPECT_EQ(w.reports(), std::vector<std::string>{});
    // The cleared list kept nothing behind: Down steps from Feet to Inches.
    w.focus(kHeightUnitBox);
    w.key(Key::Down);
    EXPECT_EQ(w.text(kHeightUnitBox), "Inches");
}
INSTANTIATE_TEST_SUITE_P(Window, Picks, testing::ValuesIn(pickGestures()), rowName<PickGesture>);

TEST_F(Window, PickingTheShownSystemResetsEditedUnits) {
    w.type(kWeightUnitBox, "Stones");
    w.type(kHeightUnitBox, "Yards");
    w.pick(kMethodBox, "Imperial", PickBy::MouseOnOpenList);
    EXPECT_EQ(units(), kImperialUnits);
}

using Placements = WindowRows<Placement>;
TEST_P(Placements, AreTheDesignedOnes) {
    const Placement& row = GetParam();
    const auto [left, top, width, height] = w.placement(row.control);
    EXPECT_EQ(left, w.scaled(row.left));
    EXPECT_EQ(top, w.scaled(row.top));
    if (row.width == 0) {  // a label: a caption's width, ending before the boxes
        EXPECT_GT(width, w.scaled(10));
        EXPECT_LE(left + width, w.scaled(kBoxesLeft));
        return;
    }
    EXPECT_EQ(width, w.scaled(row.width));
    EXPECT_EQ(height, w.scaled(row.height));
}
INSTANTIATE_TEST_SUITE_P(Window, Placements, testing::ValuesIn(placements()), rowName<Placement>);

// A click into a box puts the caret where it falls, within "Imperial"; it
// selects nothing.
TEST_F(Window, AClickIntoTheMethodBoxPlacesTheCaret) {
    w.focus(kWeightBox);
    w.click(kMethodBox);
    EXPECT_EQ(w.focused(), kMethodBox);
    const auto [start, end] = w.selection();
    EXPECT_TRUE(start == end && end > 0 && end < 8) << start << "-" << end;
}

using FocusReturns = WindowRows<FocusReturn>;
TEST_P(FocusReturns, ToTheBoxAfterAnotherWindowWasActive) {
    const FocusReturn& row = GetParam();
    if (!row.typed.empty()) w.type(row.box, row.typed);
    w.focus(row.box);
    const auto selection = w.selection();
    w.leaveTheWindowAndComeBack();
    EXPECT_EQ(w.focused(), row.box);
    EXPECT_EQ(w.selection(), selection);
}
INSTANTIATE_TEST_SUITE_P(Window, FocusReturns, testing::ValuesIn(focusReturns()),
                         rowName<FocusReturn>);

using WideTexts = WindowRows<WideText>;
TEST_P(WideTexts, ShowTheirBeginning) {
    w.setText(GetParam().box, "-1.23456789012345e-300 and a little more");
    EXPECT_TRUE(w.showsTheBeginning(GetParam().box));
}
INSTANTIATE_TEST_SUITE_P(Window, WideTexts, testing::ValuesIn(wideTexts()), rowName<WideText>);

// The separator the user's regional settings give: "," when the test runs
// in a German locale (PARVOLIN_DECIMAL_SEPARATOR says which to expect).
TEST_F(Window, TheDecimalSeparatorFollowsTheUserLocale) {
    const char* expected = std::getenv("PARVOLIN_DECIMAL_SEPARATOR");
    const std::string separator = expected ? expected : ".", other = separator == "," ? "." : ",";
    enterMetricInput();
    w.type(kHeightBox, "1" + separator + "75");
    w.click(kCalculateButton);
    EXPECT_EQ(w.text(kBmiBox), "22" + separator + "8571428571429");
    w.type(kHeightBox, "1" + other + "75");
    w.click(kCalculateButton);
    EXPECT_EQ(w.reports(), std::vector<std::string>{"The height \"1" + other +
                                                    "75\" is not a number. Type digits, with \"" +
                                                    separator + "\" as the decimal separator."});
}

using Keys = WindowRows<KeyOnControl>;
TEST_P(Keys, PressOnlyOnTheButtonAndNeverCloseTheWindow) {
    const KeyOnControl& row = GetParam();
    w.type(kWeightBox, "154");
    w.type(kHeightBox, "5.75");
    w.focus(row.control);
    w.key(row.key);
    EXPECT_EQ(w.text(kBmiBox), row.presses ? kImperialBmi : "");
    EXPECT_EQ(w.focused(), row.focus.empty() ? row.control : row.focus);
    EXPECT_TRUE(w.isShown());
    EXPECT_EQ(w.reports(), std::vector<std::string>{});
}
INSTANTIATE_TEST_SUITE_P(Window, Keys, testing::ValuesIn(keysOnControls()), rowName<KeyOnControl>);

using Presses = WindowRows<PressScenario>;
TEST_P(Presses, ShowTheResultOrReportTheErrorAndKeepTheOutputs) {
    const PressScenario& row = GetParam();
    w.setText(kBmiBox, "21.5");
    w.setText(kStatusBox, "previous status");
    enter(kMethodBox, row.method);
    enter(kWeightBox, row.weight);
    enter(kHeightBox, row.height);
    enter(kWeightUnitBox, row.weightUnit);
    enter(kHeightUnitBox, row.heightUnit);
    if (row.methodListLeft) {
        w.openListAndLeave(kMethodBox, *row.methodListLeft);
        if (!w.unseenGesture().empty()) GTEST_SKIP() << w.unseenGesture();
    }
    w.takeAnnouncements();
    w.click(kCalculateButton);
    if (row.message.empty()) {
        EXPECT_EQ(w.reports(), std::vector<std::string>{});
        // The result is announced once, the focus left on the button.
        EXPECT_EQ(w.takeAnnouncements(),
                  std::vector<std::string>{"polite: BMI " + row.bmi + ". " + row.status + "."});
        EXPECT_EQ(w.focused(), kCalculateButton);
        EXPECT_EQ(w.text(kBmiBox), row.bmi);
        EXPECT_EQ(w.text(kStatusBox), row.status);
        if (!row.units.empty()) {
            EXPECT_EQ(w.text(kWeightUnitBox) + "/" + w.text(kHeightUnitBox), row.units);
        }
        // A result wider than its box shows its beginning.
        EXPECT_TRUE(w.showsTheBeginning(kBmiBox));
        return;
    }
    EXPECT_EQ(w.reports(), std::vector<std::string>{row.message});
    // Nothing is announced: the message box says it all.
    EXPECT_EQ(w.takeAnnouncements(), std::vector<std::string>{});
    // Given the window, so that the real message box is modal to it.
    EXPECT_TRUE(w.reportsWereModalToTheWindow());
    EXPECT_EQ(w.text(kBmiBox), "21.5");
    EXPECT_EQ(w.text(kStatusBox), "previous status");
    // The box to correct has the focus, its text selected for retyping.
    EXPECT_EQ(w.focused(), row.focus);
    EXPECT_TRUE(w.wholeTextSelected());

    // The window goes on working.
    enterMetricInput();
    w.click(kCalculateButton);
    EXPECT_EQ(w.text(kBmiBox), kMetricBmi);
    EXPECT_EQ(w.reports().size(), 1u);
}
INSTANTIATE_TEST_SUITE_P(Window, Presses, testing::ValuesIn(pressScenarios()),
                         rowName<PressScenario>);

using HostileInputs = WindowRows<HostileRow>;
TEST_P(HostileInputs, GiveAShortMessageOrAResultAndTheWindowGoesOnWorking) {
    const HostileRow& row = GetParam();
    if (!w.canHold(row.text)) GTEST_SKIP() << "this window's boxes cannot hold the text at all";
    const auto size = w.clientSize();
    w.setText(kBmiBox, "previous BMI");
    w.setText(kStatusBox, "previous status");
    if (row.imperial) {
        w.paste(kWeightBox, "154");
        w.paste(kHeightBox, "69");
    } else {
        w.pick(kMethodBox, "Metric", PickBy::ArrowsOnClosedBox);
        w.paste(kWeightBox, "70");
        w.paste(kHeightBox, "1.75");
    }
    w.paste(row.box, row.text);
    w.click(kCalculateButton);
    if (row.outcome.message.empty()) {
        EXPECT_EQ(w.reports(), std::vector<std::string>{});
        EXPECT_EQ(w.text(kBmiBox), row.outcome.bmi);
        EXPECT_EQ(w.text(kStatusBox), row.outcome.status);
    } else {
        EXPECT_EQ(w.reports(), std::vector<std::string>{row.outcome.message});
        EXPECT_LT(row.outcome.message.size(), 160u);
        EXPECT_EQ(w.text(kBmiBox), "previous BMI");
        EXPECT_EQ(w.text(kStatusBox), "previous status");
    }
    EXPECT_EQ(w.clientSize(), size);

    // Still working: a valid metric input computes.
    w.pick(kMethodBox, "Imperial", PickBy::ArrowsOnClosedBox);
    enterMetricInput();
    w.click(kCalculateButton);
    EXPECT_EQ(w.text(kBmiBox), kMetricBmi);
}
INSTANTIATE_TEST_SUITE_P(Window, HostileInputs, testing::ValuesIn(hostileRows()),
                         rowName<HostileRow>);

// A failure that is not the calculation's: its own description is shown,
// up to 200 characters.
struct UnexpectedFailure {
    std::string name;
    std::string detail;
    std::string message;
};

std::string g_detail;  // what the failing handler throws

// clang-format off
const std::vector<UnexpectedFailure> kUnexpectedFailures{
    {.name = "short detail", .detail = "disk full", .message = "Something went wrong: disk full."},
    {.name = "200 characters kept whole", .detail = std::string(200, 'd'), .message = "Something went wrong: " + std::string(200, 'd') + "."},
    {.name = "longer cut at 200", .detail = std::string(201, 'd'), .message = "Something went wrong: " + std::string(200, 'd') + "\xE2\x80\xA6."},
    {.name = "DEL hidden", .detail = "bad\x7F" "byte", .message = "Something went wrong: bad" + kReplacement + "byte."},
};
// clang-format on

class UnexpectedFailures : public testing::TestWithParam<UnexpectedFailure> {};
TEST_P(UnexpectedFailures, AreReportedWithTheirDetail) {
    static const std::array events{
        EventBinding{kCalculateButton, ControlEvent::Press,
                     [](FormControls&) { throw std::runtime_error(g_detail); }}};
    FormDesign design = form1Design();
    design.events = events;
    g_detail = GetParam().detail;
    const std::unique_ptr<WindowDriver> failing = openWindow(design);
    failing->click(kCalculateButton);
    EXPECT_EQ(failing->reports(), std::vector<std::string>{GetParam().message});
}
INSTANTIATE_TEST_SUITE_P(Window, UnexpectedFailures, testing::ValuesIn(kUnexpectedFailures),
                         rowName<UnexpectedFailure>);

}  // namespace
}  // namespace parvolin::test
