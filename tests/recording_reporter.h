#pragma once

#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "runtime/forms/handler_frame.h"

namespace parvolin::test {

// Keeps a window's error reports, and the window each was given (the one a
// real message box is modal to), instead of showing message boxes. Its next
// report can be made to fail, as a message box that cannot be made would.
template <typename Window>
class RecordingReporter final : public ErrorReporter<Window> {
public:
    void report(Window window, std::string_view message) override {
        if (std::exchange(failNext, false)) throw std::runtime_error("no memory for the box");
        windows.push_back(window);
        messages.emplace_back(message);
    }
    std::vector<Window> windows;
    std::vector<std::string> messages;
    bool failNext = false;
};

}  // namespace parvolin::test
