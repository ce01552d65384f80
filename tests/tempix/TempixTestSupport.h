#pragma once

#include <memory>
#include <string>
#include <vector>

#include "tempix/CTempix.h"
#include "tempix/Clock.h"
#include "tempix/TempixTB.h"

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

// Records the events of a date/time box as "Name:argument", and the
// property change announcements separately.
class ControlEvents {
public:
    explicit ControlEvents(TempixTB& control) {
        QObject::connect(&control, &TempixTB::KeyPress, [this](int16_t key) {
            m_events.push_back("KeyPress:" + std::to_string(key));
        });
        QObject::connect(&control, &TempixTB::RuleInitError, [this](const std::string& t) {
            m_events.push_back("RuleInitError:" + t);
        });
        QObject::connect(&control, &TempixTB::TempixFormatError, [this](const std::string& t) {
            m_events.push_back("TempixFormatError:" + t);
        });
        QObject::connect(&control, &TempixTB::TempixRangeError, [this](const std::string& t) {
            m_events.push_back("TempixRangeError:" + t);
        });
        QObject::connect(&control, &TempixTB::UpdateText,
                         [this](const std::string& t) { m_events.push_back("UpdateText:" + t); });
        QObject::connect(&control, &TempixTB::PropertyChanged,
                         [this](const std::string& name) { m_changes.push_back(name); });
    }
    const std::vector<std::string>& Events() const { return m_events; }
    const std::vector<std::string>& Changes() const { return m_changes; }
    void Clear() {
        m_events.clear();
        m_changes.clear();
    }

private:
    std::vector<std::string> m_events;
    std::vector<std::string> m_changes;
};

} // namespace tempix::test
