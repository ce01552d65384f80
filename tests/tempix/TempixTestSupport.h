#pragma once

#include <memory>
#include <string>
#include <vector>

#include "tempix/CTempix.h"
#include "tempix/Clock.h"

namespace tempix::test {

// Fixes the library's "now" while it lives.
class ScopedTempixClock {
public:
    explicit ScopedTempixClock(DateValue now) : m_clock(std::make_shared<FixedClock>(now)) {
        SetClock(m_clock);
    }
    ~ScopedTempixClock() { SetClock(nullptr); }
    ScopedTempixClock(const ScopedTempixClock&) = delete;
    ScopedTempixClock& operator=(const ScopedTempixClock&) = delete;

    void Set(DateValue now) { m_clock->Set(now); }

private:
    std::shared_ptr<FixedClock> m_clock;
};

// Records every signal of a rule base as "Name:argument".
class RuleEvents {
public:
    explicit RuleEvents(CTempix& rules) {
        QObject::connect(&rules, &CTempix::UpdateText,
                         [this](const std::string& t) { m_events.push_back("UpdateText:" + t); });
        QObject::connect(&rules, &CTempix::FormatError,
                         [this](const std::string& t) { m_events.push_back("FormatError:" + t); });
        QObject::connect(&rules, &CTempix::RangeError,
                         [this](const std::string& t) { m_events.push_back("RangeError:" + t); });
        QObject::connect(&rules, &CTempix::InitError,
                         [this](const std::string& t) { m_events.push_back("InitError:" + t); });
    }
    const std::vector<std::string>& Events() const { return m_events; }
    void Clear() { m_events.clear(); }

private:
    std::vector<std::string> m_events;
};

} // namespace tempix::test
