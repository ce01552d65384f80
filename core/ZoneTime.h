#pragma once

#include <cstdint>
#include <optional>

#include "core/DateTime.h"

namespace orvan {

// The stored times are local wall-clock times of the computer's time zone.
// These functions tie them to real time through the zone's rules (the C
// library's, so TZ and the system's zone apply), for counting worked time
// across a daylight-saving change.
//
// An offset from UTC is in whole minutes east of it, as local time minus
// UTC: -300 for Central Daylight Time (UTC-5), -360 for Central Standard
// Time (UTC-6).

// Offsets further from UTC than this are no offset of any zone.
inline constexpr int32_t MaxUtcOffsetMinutes = 18 * 60;

constexpr bool IsUtcOffset(int32_t minutes) {
    return minutes >= -MaxUtcOffsetMinutes && minutes <= MaxUtcOffsetMinutes;
}

// The offset the zone gives the local date and time `local`. A wall-clock
// time that is not one moment takes the offset in effect before the change:
// in the hour that happens twice when the clocks go back, its first
// occurrence (1:30 AM on a fall-back night is 1:30 AM daylight time); in the
// hour that never happens when they jump forward, the time as the clocks
// would have shown it without the jump (2:30 AM on a spring-forward night is
// 2:30 AM standard time, the moment the clocks show as 3:30 AM).
int32_t ZoneUtcOffsetMinutes(DateTime local);

// True when the zone shows the wall-clock time `local` twice (the hour a
// fall-back night repeats): only a punch's own offset tells which is meant.
bool ZoneRepeats(DateTime local);

// The offset in effect at the moment `unixSeconds` (seconds since
// 1 January 1970 00:00 UTC).
int32_t ZoneUtcOffsetMinutesAt(int64_t unixSeconds);

// The one count of worked time: the real minutes from `start` to `end`, both
// taken to their whole minute as the wall-clock difference is. Each end uses
// its offset when one is known (the station keeps the offset of every punch)
// and the zone's rules otherwise. Negative when the end comes before the
// start. A time that is not set (zero) has no zone: with either end unset
// the count is the plain difference of the two values.
int64_t WorkedMinutes(DateTime start, std::optional<int32_t> startOffset, DateTime end,
                      std::optional<int32_t> endOffset);

} // namespace orvan
