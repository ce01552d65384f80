#include "tempix/Clock.h"

#include "calendar/LocalClock.h"

namespace tempix {

namespace {

class SystemClock : public Clock {
public:
    DateValue Now() const override {
        const auto now = orvan::calendar::ReadLocalWallClock();
        return DateValue::FromParts(now.year, now.month, now.day, now.hour, now.minute, now.second);
    }
};

std::shared_ptr<Clock>& ClockSlot() {
    static std::shared_ptr<Clock> clock = std::make_shared<SystemClock>();
    return clock;
}

} // namespace

const Clock& CurrentClock() {
    return *ClockSlot();
}

void SetClock(std::shared_ptr<Clock> clock) {
    ClockSlot() = clock ? std::move(clock) : std::make_shared<SystemClock>();
}

} // namespace tempix
