#pragma once

#include <optional>
#include <string>

namespace orvan::test {

// Sets the process's time zone (TZ, then tzset) for as long as it lives and
// puts back the one before (TZ unset included):
//
//     ScopedTimeZone chicago("America/Chicago");
class ScopedTimeZone {
public:
    explicit ScopedTimeZone(const std::string& zone);
    ~ScopedTimeZone();
    ScopedTimeZone(const ScopedTimeZone&) = delete;
    ScopedTimeZone& operator=(const ScopedTimeZone&) = delete;

private:
    std::optional<std::string> m_previous;
};

} // namespace orvan::test
