#pragma once

#include <string>
#include <vector>

#include "tempix/CTempix.h"
#include "tempix/TempixTB.h"

namespace tempix::test {

// Records every signal of a rule base as "Name:argument".
class RuleEvents {
public:
    explicit RuleEvents(CTempix& rules);
    const std::vector<std::string>& Events() const { return m_events; }
    void Clear() { m_events.clear(); }

private:
    std::vector<std::string> m_events;
};

// Records the events of a date/time box as "Name:argument", and the
// property change announcements separately.
class ControlEvents {
public:
    explicit ControlEvents(TempixTB& control);
    const std::vector<std::string>& Events() const { return m_events; }
    const std::vector<std::string>& Changes() const { return m_changes; }
    void Clear();

private:
    std::vector<std::string> m_events;
    std::vector<std::string> m_changes;
};

} // namespace tempix::test
