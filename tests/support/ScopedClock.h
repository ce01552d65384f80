#pragma once

#include <cstdint>
#include <memory>

#include "core/DateTime.h"

namespace orvan::test {

// Fixes the program's "now" (DateTime::Now) for as long as it lives; the
// system clock comes back after. Window tests that also run Tempix boxes
// use ScopedNow (support_qt), which fixes both clocks at once.
class ScopedClock {
public:
    explicit ScopedClock(DateTime now);
    // A clock that also gives the offset from UTC of its moment (minutes
    // east of UTC, -300 for Central Daylight Time), as the system clock
    // does; without one the zone's rules tell it.
    ScopedClock(DateTime now, int32_t utcOffsetMinutes);
    ~ScopedClock();
    ScopedClock(const ScopedClock&) = delete;
    ScopedClock& operator=(const ScopedClock&) = delete;

    void Set(DateTime now) { m_clock->Set(now); }
    void Set(DateTime now, int32_t utcOffsetMinutes) { m_clock->Set(now, utcOffsetMinutes); }
    void AdvanceSeconds(int64_t seconds) { m_clock->AdvanceSeconds(seconds); }

private:
    std::shared_ptr<FixedClock> m_clock;
};

} // namespace orvan::test
