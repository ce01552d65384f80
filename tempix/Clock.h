#pragma once

#include <memory>

#include "tempix/DateValue.h"
#include "tempix/TempixExport.h"

namespace tempix {

// Where the library takes "now" and "today" from. The system clock is used
// unless a test installs its own.
class TEMPIX_EXPORT Clock {
public:
    virtual ~Clock() = default;
    virtual DateValue Now() const = 0;
};

// The clock in use; never null. SetClock(nullptr) restores the system clock.
TEMPIX_EXPORT const Clock& CurrentClock();
TEMPIX_EXPORT void SetClock(std::shared_ptr<Clock> clock);

// A clock that stands still until it is set again.
class TEMPIX_EXPORT FixedClock : public Clock {
public:
    explicit FixedClock(DateValue now) : m_now(now) {}
    DateValue Now() const override { return m_now; }
    void Set(DateValue now) { m_now = now; }

private:
    DateValue m_now;
};

} // namespace tempix
