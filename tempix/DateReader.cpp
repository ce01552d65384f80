#include "tempix/DateReader.h"

#include "calendar/DateText.h"

namespace tempix {

std::optional<DateReader::Reading> DateReader::Read(std::string_view text) {
    namespace calendar = orvan::calendar;
    const auto read = calendar::ReadDateText(text, calendar::kTempixDateText,
                                             [] { return DateValue::Today().Year(); });
    if (!read) {
        return std::nullopt;
    }
    Reading reading;
    reading.hasDate = read->hasDate;
    reading.hasTime = read->hasTime;
    // Without a date the parts name the zero date.
    reading.value = DateValue::FromParts(read->year, read->month, read->day, read->hour,
                                         read->minute, read->second);
    return reading;
}

} // namespace tempix
