#pragma once

#include <cstdint>
#include <memory>

#include "core/DateTime.h"
#include "tempix/DateValue.h"

namespace tempix {
class Clock;
} // namespace tempix

namespace orvan::test {

// Fixes "now" for the program (DateTime::Now) and for the date/time box
// library (tempix::DateValue::Now) at once, for as long as it lives:
//
//     ScopedNow now(DateTime::FromParts(2003, 1, 15, 8, 5, 42));
//
// Both clocks read one moment, so Set and AdvanceSeconds move them together.
// Both system clocks come back when the guard goes; guards do not nest.
class ScopedNow {
public:
    explicit ScopedNow(DateTime now);
    explicit ScopedNow(tempix::DateValue now);
    ~ScopedNow();
    ScopedNow(const ScopedNow&) = delete;
    ScopedNow& operator=(const ScopedNow&) = delete;

    void Set(DateTime now);
    void Set(tempix::DateValue now);
    void AdvanceSeconds(int64_t seconds);

    // The moment both clocks read.
    DateTime Now() const;

private:
    std::shared_ptr<FixedClock> m_clock;
    // Reads m_clock's moment as the library's value.
    std::shared_ptr<tempix::Clock> m_tempixClock;
};

} // namespace orvan::test
