// Fuzzes reading date/time text and formatting dates and numbers. The input
// is up to three lines: the text to read, a date pattern and a number
// pattern. A text that reads as a date must read back as the same moment from
// its own general date text.

#include <cfloat>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>

#include "core/DateTime.h"

namespace {

// The next line of `rest` (without its LF), taken off the front.
std::string_view TakeLine(std::string_view& rest) {
    const size_t end = rest.find('\n');
    const std::string_view line = rest.substr(0, end);
    rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
    return line;
}

void Exercise(orvan::DateTime value, std::string_view datePattern) {
    (void)value.ToString();
    (void)value.Format(datePattern);
    (void)value.Year();
    (void)value.Month();
    (void)value.Day();
    (void)value.Hour();
    (void)value.Minute();
    (void)value.Second();
    (void)value.Weekday();
    (void)value.DatePart();
    (void)value.TimePart();
    (void)value.TruncateToMinute();
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int* /*argc*/, char*** /*argv*/) {
    // A month and day without a year take the clock's year: keep it fixed so
    // that every input reads the same on every run.
    orvan::SetClock(
        std::make_shared<orvan::FixedClock>(orvan::DateTime::FromParts(2006, 12, 5, 21, 0, 56)));
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string_view rest(reinterpret_cast<const char*>(data), size);
    const std::string_view text = TakeLine(rest);
    const std::string_view datePattern = TakeLine(rest);
    const std::string_view numberPattern = TakeLine(rest);

    if (const auto parsed = orvan::DateTime::Parse(text)) {
        Exercise(*parsed, datePattern);
        const std::string general = parsed->ToString();
        const auto again = orvan::DateTime::Parse(general);
        if (!again || *again != *parsed) {
            std::fprintf(stderr,
                         "date_time_fuzz: \"%s\" reads as %.17g, its text \"%s\" as %.17g\n",
                         std::string(text).c_str(), parsed->Days(), general.c_str(),
                         again ? again->Days() : std::nan(""));
            std::abort();
        }
    }

    // Any day count at all, taken from the input's first bytes: stored values
    // come from a database file that may hold anything.
    double days = 0.0;
    if (size > 0) {
        std::memcpy(&days, data, size < sizeof days ? size : sizeof days);
    }
    const auto value = orvan::DateTime::FromDays(days);
    Exercise(value, datePattern);
    (void)value.AddDays(1);
    (void)value.AddMinutes(-90);
    (void)value.AddSeconds(59);
    (void)orvan::DateTime::DiffDays(value, orvan::DateTime::FromParts(2003, 1, 15));
    (void)orvan::DateTime::DiffMinutes(orvan::DateTime::FromParts(2003, 1, 15, 8), value);
    (void)orvan::DateTime::DiffSeconds(value, value.AddSeconds(1));

    for (const double number : {days, std::strtod(std::string(text).c_str(), nullptr)}) {
        (void)orvan::FormatNumber(number, numberPattern);
        (void)orvan::ShortestText(number);
        if (!std::isfinite(number) || std::fabs(number) <= double{FLT_MAX}) {
            const auto single = static_cast<float>(number);
            (void)orvan::FormatNumber(single, numberPattern);
            (void)orvan::ShortestText(single);
        }
    }
    return 0;
}
