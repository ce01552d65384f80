#include "core/ZoneTime.h"

#include <array>
#include <cstdlib>
#include <ctime>
#include <limits>
#include <string>

#include "calendar/CivilCalendar.h"

namespace orvan {

namespace {

using calendar::FloorDiv;
using calendar::kSecondsPerDay;

// 1 January 1970 as a day count.
constexpr int64_t kUnixEpochDay = 25569;

// The C library's offset at a moment, in minutes (an old local mean time
// with seconds in its offset is taken to the minute below).
int32_t SystemOffsetMinutes(int64_t unixSeconds) {
    const auto moment = static_cast<std::time_t>(unixSeconds);
    std::tm local{};
    if (localtime_r(&moment, &local) == nullptr) {
        return 0;
    }
    const int64_t minutes = FloorDiv(static_cast<int64_t>(local.tm_gmtoff), 60);
    return IsUtcOffset(static_cast<int32_t>(minutes)) ? static_cast<int32_t>(minutes) : 0;
}

// The zone's offsets of one UTC day: `first` from its start, `last` from
// `changeAt` on (a zone changes at most once a day). Loading a year of
// records asks about the same few days again and again, and the C library
// takes a lock on every call.
struct DayOffsets {
    int64_t day = std::numeric_limits<int64_t>::min();
    int32_t first = 0;
    int32_t last = 0;
    int64_t changeAt = 0;
};

struct ZoneCache {
    // The TZ the days were read under: a test or a user changing it gets
    // the new zone's rules.
    bool valid = false;
    bool tzSet = false;
    std::string tz;
    std::array<DayOffsets, 512> days;
};

ZoneCache& Cache() {
    thread_local ZoneCache cache;
    const char* tz = std::getenv("TZ");
    const bool tzSet = tz != nullptr;
    if (!cache.valid || cache.tzSet != tzSet || (tzSet && cache.tz != tz)) {
        tzset();
        cache.valid = true;
        cache.tzSet = tzSet;
        cache.tz = tzSet ? tz : "";
        cache.days.fill(DayOffsets{});
    }
    return cache;
}

int32_t CachedOffsetAt(ZoneCache& cache, int64_t unixSeconds) {
    const int64_t day = FloorDiv(unixSeconds, kSecondsPerDay);
    const auto slot = static_cast<size_t>(day - FloorDiv(day, 512) * 512);
    DayOffsets& offsets = cache.days[slot];
    if (offsets.day != day) {
        const int64_t begin = day * kSecondsPerDay;
        offsets.day = day;
        offsets.first = SystemOffsetMinutes(begin);
        offsets.last = SystemOffsetMinutes(begin + kSecondsPerDay - 1);
        offsets.changeAt = begin;
        if (offsets.first != offsets.last) {
            // The first second of the new offset.
            int64_t low = begin;
            int64_t high = begin + kSecondsPerDay - 1;
            while (high - low > 1) {
                const int64_t middle = low + (high - low) / 2;
                (SystemOffsetMinutes(middle) == offsets.last ? high : low) = middle;
            }
            offsets.changeAt = high;
        }
    }
    return unixSeconds < offsets.changeAt ? offsets.first : offsets.last;
}

} // namespace

int32_t ZoneUtcOffsetMinutesAt(int64_t unixSeconds) {
    return CachedOffsetAt(Cache(), unixSeconds);
}

namespace {

// Which of the zone's offsets around a change name the wall-clock time
// `local`: `before` and `after` the offsets a day either side of it (equal
// when no change is near), and whether each gives back that wall time.
struct Candidates {
    int32_t before = 0;
    int32_t after = 0;
    bool beforeFits = true;
    bool afterFits = false;
};

Candidates CandidatesOf(DateTime local) {
    ZoneCache& cache = Cache();
    // The wall-clock time read as if it were UTC; the real moment lies
    // within a zone's offset of it, so a day before and a day after lie on
    // either side of any change that concerns it.
    const int64_t wall =
        calendar::SecondsFromDayCount(local.Days()) - kUnixEpochDay * kSecondsPerDay;
    Candidates found;
    found.before = CachedOffsetAt(cache, wall - kSecondsPerDay);
    found.after = CachedOffsetAt(cache, wall + kSecondsPerDay);
    if (found.before != found.after) {
        found.beforeFits = CachedOffsetAt(cache, wall - int64_t{found.before} * 60) == found.before;
        found.afterFits = CachedOffsetAt(cache, wall - int64_t{found.after} * 60) == found.after;
    }
    return found;
}

} // namespace

int32_t ZoneUtcOffsetMinutes(DateTime local) {
    const Candidates found = CandidatesOf(local);
    // Only the later offset names the moment: the time lies after the
    // change. Both (the repeated hour) or neither (the skipped hour): the
    // offset before the change.
    return !found.beforeFits && found.afterFits ? found.after : found.before;
}

bool ZoneRepeats(DateTime local) {
    const Candidates found = CandidatesOf(local);
    return found.before != found.after && found.beforeFits && found.afterFits;
}

int64_t WorkedMinutes(DateTime start, std::optional<int32_t> startOffset, DateTime end,
                      std::optional<int32_t> endOffset) {
    const int64_t wallMinutes = DateTime::DiffMinutes(start, end);
    if (start.IsZero() || end.IsZero()) {
        return wallMinutes;
    }
    const int32_t from = startOffset ? *startOffset : ZoneUtcOffsetMinutes(start);
    const int32_t to = endOffset ? *endOffset : ZoneUtcOffsetMinutes(end);
    // Real time is local time minus the offset.
    return wallMinutes + from - to;
}

} // namespace orvan
