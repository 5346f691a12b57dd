#include "runtime/forms/announcements.h"

#include <algorithm>

namespace parvolin {
namespace {

// Walks `sentence` in order: `text` gets the text between the "{Name}"s,
// `name` the control name inside each. An unclosed brace is text.
template <typename Text, typename Name>
void splitSentence(std::string_view sentence, Text text, Name name) {
    while (!sentence.empty()) {
        const auto open = sentence.find('{');
        const auto close = sentence.find('}', open);
        if (open == std::string_view::npos || close == std::string_view::npos) break;
        text(sentence.substr(0, open));
        name(sentence.substr(open + 1, close - open - 1));
        sentence.remove_prefix(close + 1);
    }
    text(sentence);
}

bool namesAChangedControl(std::string_view sentence, const ChangeRecorder& recorder) {
    bool changed = false;
    splitSentence(
        sentence, [](std::string_view) {},
        [&](std::string_view control) { changed = changed || recorder.changed(control); });
    return changed;
}

std::string filledIn(std::string_view sentence, const ChangeRecorder& recorder) {
    std::string filled;
    splitSentence(
        sentence, [&](std::string_view text) { filled += text; },
        [&](std::string_view control) { filled += recorder.text(control); });
    return filled;
}

}  // namespace

std::string ChangeRecorder::text(std::string_view control) const { return form_.text(control); }

void ChangeRecorder::setText(std::string_view control, std::string_view text) {
    note(control);
    form_.setText(control, text);
}

void ChangeRecorder::setListItem(std::string_view control, int index, std::string_view text) {
    note(control);
    form_.setListItem(control, index, text);
}

void ChangeRecorder::clearList(std::string_view control) {
    note(control);
    form_.clearList(control);
}

NumberLocale ChangeRecorder::numberLocale() const { return form_.numberLocale(); }

bool ChangeRecorder::changed(std::string_view control) const {
    return std::find(changed_.begin(), changed_.end(), control) != changed_.end();
}

void ChangeRecorder::note(std::string_view control) {
    if (!changed(control)) changed_.emplace_back(control);
}

void runEventHandler(Handler handler, FormControls& form, FailureSteps& window,
                     LiveRegion& liveRegion, const FormDesign& design) {
    ChangeRecorder recorder(form);
    if (!runHandlerReportingFailure(handler, recorder, window, design)) return;
    if (const std::string sentence = announcementAfter(recorder, design); !sentence.empty())
        liveRegion.announce(sentence);
}

std::string announcementAfter(const ChangeRecorder& recorder, const FormDesign& design) {
    std::string announcement;
    for (std::string_view sentence : design.announced) {
        if (!namesAChangedControl(sentence, recorder)) continue;
        if (!announcement.empty()) announcement += ' ';
        announcement += filledIn(sentence, recorder);
    }
    return announcement;
}

}  // namespace parvolin
