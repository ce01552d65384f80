#pragma once

// The computer's wall clock in its local time zone, as the programs' "now"
// reads it. Standard library only, like the rest of the calendar.

#include <ctime>

namespace orvan::calendar {

struct WallClockReading {
    int year = 1899;
    int month = 12;
    int day = 30;
    int hour = 0;
    int minute = 0;
    int second = 0;
    // Local time minus UTC, in minutes.
    int utcOffsetMinutes = 0;
};

// The local date and time of this moment, to the second.
inline WallClockReading ReadLocalWallClock() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return {local.tm_year + 1900,
            local.tm_mon + 1,
            local.tm_mday,
            local.tm_hour,
            local.tm_min,
            local.tm_sec,
            static_cast<int>(local.tm_gmtoff / 60)};
}

} // namespace orvan::calendar
