#include "clock/EmployeeNumber.h"

#include <string>

namespace orvan::timeclock {

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

} // namespace

std::optional<int32_t> ReadEmployeeNumber(std::string_view text) {
    size_t begin = 0;
    size_t end = text.size();
    while (begin < end && IsBlank(text[begin])) {
        ++begin;
    }
    while (end > begin && IsBlank(text[end - 1])) {
        --end;
    }
    std::string_view s = text.substr(begin, end - begin);

    bool negative = false;
    if (!s.empty() && (s.front() == '+' || s.front() == '-')) {
        negative = s.front() == '-';
        s.remove_prefix(1);
    }

    size_t i = 0;
    std::string whole;
    while (i < s.size() && IsDigit(s[i])) {
        whole += s[i++];
    }
    std::string fraction;
    if (i < s.size() && s[i] == '.') {
        ++i;
        while (i < s.size() && IsDigit(s[i])) {
            fraction += s[i++];
        }
    }
    if (i != s.size() || (whole.empty() && fraction.empty())) {
        return std::nullopt;
    }

    // The whole part, with leading zeros dropped; more than ten digits is
    // beyond any 32-bit value.
    size_t firstSignificant = whole.find_first_not_of('0');
    whole = firstSignificant == std::string::npos ? "" : whole.substr(firstSignificant);
    if (whole.size() > 10) {
        return std::nullopt;
    }
    int64_t magnitude = whole.empty() ? 0 : std::stoll(whole);

    // Round on the decimal digits exactly (no binary floating point, so 2.5
    // is a true half).
    if (!fraction.empty()) {
        const char first = fraction.front();
        const bool restNonZero = fraction.find_first_not_of('0', 1) != std::string::npos;
        if (first > '5' || (first == '5' && restNonZero)) {
            ++magnitude;
        } else if (first == '5' && magnitude % 2 != 0) {
            ++magnitude;
        }
    }

    const int64_t value = negative ? -magnitude : magnitude;
    if (value < INT32_MIN || value > INT32_MAX) {
        return std::nullopt;
    }
    return static_cast<int32_t>(value);
}

} // namespace orvan::timeclock
