#include "TempixTestSupport.h"

#include <cstdint>

namespace tempix::test {

RuleEvents::RuleEvents(CTempix& rules) {
    QObject::connect(&rules, &CTempix::UpdateText,
                     [this](const std::string& t) { m_events.push_back("UpdateText:" + t); });
    QObject::connect(&rules, &CTempix::FormatError,
                     [this](const std::string& t) { m_events.push_back("FormatError:" + t); });
    QObject::connect(&rules, &CTempix::RangeError,
                     [this](const std::string& t) { m_events.push_back("RangeError:" + t); });
    QObject::connect(&rules, &CTempix::InitError,
                     [this](const std::string& t) { m_events.push_back("InitError:" + t); });
}

ControlEvents::ControlEvents(TempixTB& control) {
    QObject::connect(&control, &TempixTB::KeyPress, [this](int16_t key) {
        m_events.push_back("KeyPress:" + std::to_string(key));
    });
    QObject::connect(&control, &TempixTB::RuleInitError,
                     [this](const std::string& t) { m_events.push_back("RuleInitError:" + t); });
    QObject::connect(&control, &TempixTB::TempixFormatError, [this](const std::string& t) {
        m_events.push_back("TempixFormatError:" + t);
    });
    QObject::connect(&control, &TempixTB::TempixRangeError,
                     [this](const std::string& t) { m_events.push_back("TempixRangeError:" + t); });
    QObject::connect(&control, &TempixTB::UpdateText,
                     [this](const std::string& t) { m_events.push_back("UpdateText:" + t); });
    QObject::connect(&control, &TempixTB::PropertyChanged,
                     [this](const std::string& name) { m_changes.push_back(name); });
}

void ControlEvents::Clear() {
    m_events.clear();
    m_changes.clear();
}

} // namespace tempix::test
