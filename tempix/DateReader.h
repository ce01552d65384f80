#pragma once

#include <optional>
#include <string_view>

#include "tempix/DateValue.h"
#include "tempix/TempixExport.h"

namespace tempix {

// The library's United States rules for reading date and time text.
//
// Dates: month/day/year or month/day (the current year), with "/", "-" or
// "." as the separator (the same one twice); a four-digit year may also come
// first (2003-01-05). Years of one or two digits fall into 1930..2029; years
// must lie in 100..9999. Times: h:mm, h:mm:ss, h AM, with an optional AM/PM
// (also A/P) marker in any case, with or without a blank before it. A date
// may be followed by a time after a blank. Blanks around the text are
// ignored; anything else makes the text unreadable.
class TEMPIX_EXPORT DateReader {
public:
    struct Reading {
        DateValue value;
        bool hasDate = false;
        bool hasTime = false;
    };

    // Nothing when the text is no valid date or time (13/45/2003, 25:61).
    static std::optional<Reading> Read(std::string_view text);
    // The date test: whether the text reads as a date, a time or both.
    static bool IsDate(std::string_view text) { return Read(text).has_value(); }
};

} // namespace tempix
