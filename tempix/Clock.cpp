#include "tempix/Clock.h"

#include <ctime>

namespace tempix {

namespace {

class SystemClock : public Clock {
public:
    DateValue Now() const override {
        const std::time_t t = std::time(nullptr);
        std::tm local{};
        localtime_r(&t, &local);
        return DateValue::FromParts(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday,
                                    local.tm_hour, local.tm_min, local.tm_sec);
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
