#include "support/ScopedTimeZone.h"

#include <cstdlib>
#include <ctime>

namespace orvan::test {

ScopedTimeZone::ScopedTimeZone(const std::string& zone) {
    if (const char* previous = std::getenv("TZ")) {
        m_previous = previous;
    }
    setenv("TZ", zone.c_str(), 1);
    tzset();
}

ScopedTimeZone::~ScopedTimeZone() {
    if (m_previous) {
        setenv("TZ", m_previous->c_str(), 1);
    } else {
        unsetenv("TZ");
    }
    tzset();
}

} // namespace orvan::test
