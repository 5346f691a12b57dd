// textToNumber against the C library: every text of the accepted grammar
// converts to exactly the double strtod gives in the C locale (Overflow where
// strtod overflows), and every other text is InvalidNumber.
#include <cerrno>
#include <cmath>
#include <cstring>
#include <locale.h>
#include <optional>

#include "fuzz_support.h"

using namespace parvolin;
using parvolin::fuzz::require;

namespace {

// The grammar as a table-driven automaton over character classes, written
// apart from the converter so that the two can disagree.
enum Class { Blank, Sign, Digit, Separator, Exponent, Other, kClasses };
enum State {
    Start,
    Signed,
    Whole,
    PointAfterWhole,
    PointAlone,
    Fraction,
    E,
    ESigned,
    EDigits,
    Trailing,
    Reject,
    kStates
};

constexpr State kNext[kStates][kClasses] = {
    //               Blank     Sign     Digit     Separator        Exponent Other
    /* Start */ {Start, Signed, Whole, PointAlone, Reject, Reject},
    /* Signed */ {Reject, Reject, Whole, PointAlone, Reject, Reject},
    /* Whole */ {Trailing, Reject, Whole, PointAfterWhole, E, Reject},
    /* PointAfterWhole */ {Trailing, Reject, Fraction, Reject, E, Reject},
    /* PointAlone */ {Reject, Reject, Fraction, Reject, Reject, Reject},
    /* Fraction */ {Trailing, Reject, Fraction, Reject, E, Reject},
    /* E */ {Reject, ESigned, EDigits, Reject, Reject, Reject},
    /* ESigned */ {Reject, Reject, EDigits, Reject, Reject, Reject},
    /* EDigits */ {Trailing, Reject, EDigits, Reject, Reject, Reject},
    /* Trailing */ {Trailing, Reject, Reject, Reject, Reject, Reject},
    /* Reject */ {Reject, Reject, Reject, Reject, Reject, Reject},
};

constexpr bool kAccepting[kStates] = {false, false, true, true, false, true,
                                      false, false, true, true, false};

// The text in the form strtod reads, when it fits the grammar.
std::optional<std::string> cLocaleForm(std::string_view text, std::string_view separator) {
    State state = Start;
    std::string form;
    for (std::size_t i = 0; i < text.size();) {
        Class kind = Other;
        std::size_t length = 1;
        const char c = text[i];
        if (text.substr(i, separator.size()) == separator) {
            kind = Separator;
            length = separator.size();
        } else if (c == ' ' || c == '\t' || c == '\r' || c == '\n')
            kind = Blank;
        else if (c == '+' || c == '-')
            kind = Sign;
        else if (c >= '0' && c <= '9')
            kind = Digit;
        else if (c == 'e' || c == 'E')
            kind = Exponent;
        state = kNext[state][kind];
        if (state == Reject) return std::nullopt;
        if (kind == Separator)
            form += '.';
        else if (kind != Blank)
            form += c;
        i += length;
    }
    if (!kAccepting[state]) return std::nullopt;
    return form;
}

struct Reference {
    bool overflow;
    double value;
};

Reference strtodInCLocale(const std::string& form) {
    static const locale_t cLocale = newlocale(LC_ALL_MASK, "C", nullptr);
    errno = 0;
    char* end = nullptr;
    const double value = strtod_l(form.c_str(), &end, cLocale);
    require(end == form.c_str() + form.size(), "strtod stopped early on " + form);
    return {errno == ERANGE && std::isinf(value), value};
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    const NumberLocale locale = fuzz::consumeLocale(input);
    const std::string text = input.ConsumeRemainingBytesAsString();

    const std::optional<std::string> form = cLocaleForm(text, locale.decimalSeparator);
    std::optional<CalcErrorKind> error;
    double value = 0.0;
    try {
        value = textToNumber(text, locale, InputField::Weight);
    } catch (const CalcError& e) {
        error = e.kind();
        require(e.field() == InputField::Weight && e.text() == text,
                "the error lost its field or text");
    }

    if (!form) {
        require(error == CalcErrorKind::InvalidNumber,
                "accepted a text outside the grammar: " + text);
        return 0;
    }
    const Reference reference = strtodInCLocale(*form);
    if (reference.overflow) {
        require(error == CalcErrorKind::Overflow, "no Overflow where strtod overflows: " + *form);
        return 0;
    }
    require(!error, "rejected a text of the grammar: " + text);
    require(std::memcmp(&value, &reference.value, sizeof value) == 0,
            "differs from strtod: " + *form);
    return 0;
}
