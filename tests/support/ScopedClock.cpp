#include "support/ScopedClock.h"

namespace orvan::test {

ScopedClock::ScopedClock(DateTime now) : m_clock(std::make_shared<FixedClock>(now)) {
    SetClock(m_clock);
}

ScopedClock::ScopedClock(DateTime now, int32_t utcOffsetMinutes)
    : m_clock(std::make_shared<FixedClock>(now, utcOffsetMinutes)) {
    SetClock(m_clock);
}

ScopedClock::~ScopedClock() {
    SetClock(nullptr);
}

} // namespace orvan::test
