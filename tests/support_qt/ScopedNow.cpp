#include "support_qt/ScopedNow.h"

#include <utility>

#include "tempix/Clock.h"

namespace orvan::test {

namespace {

// By calendar parts rather than by day count, so the library gets the very
// second the program reads, whatever rounding either day count does.
tempix::DateValue ToDateValue(DateTime moment) {
    return tempix::DateValue::FromParts(moment.Year(), moment.Month(), moment.Day(), moment.Hour(),
                                        moment.Minute(), moment.Second());
}

DateTime ToDateTime(tempix::DateValue moment) {
    return DateTime::FromParts(moment.Year(), moment.Month(), moment.Day(), moment.Hour(),
                               moment.Minute(), moment.Second());
}

// The library's view of the program's fixed clock.
class TempixView : public tempix::Clock {
public:
    explicit TempixView(std::shared_ptr<const FixedClock> source) : m_source(std::move(source)) {}
    tempix::DateValue Now() const override { return ToDateValue(m_source->Now()); }

private:
    std::shared_ptr<const FixedClock> m_source;
};

} // namespace

ScopedNow::ScopedNow(DateTime now)
    : m_clock(std::make_shared<FixedClock>(now)),
      m_tempixClock(std::make_shared<TempixView>(m_clock)) {
    orvan::SetClock(m_clock);
    tempix::SetClock(m_tempixClock);
}

ScopedNow::ScopedNow(tempix::DateValue now) : ScopedNow(ToDateTime(now)) {}

ScopedNow::~ScopedNow() {
    tempix::SetClock(nullptr);
    orvan::SetClock(nullptr);
}

void ScopedNow::Set(DateTime now) {
    m_clock->Set(now);
}

void ScopedNow::Set(tempix::DateValue now) {
    m_clock->Set(ToDateTime(now));
}

void ScopedNow::AdvanceSeconds(int64_t seconds) {
    m_clock->AdvanceSeconds(seconds);
}

DateTime ScopedNow::Now() const {
    return m_clock->Now();
}

} // namespace orvan::test
