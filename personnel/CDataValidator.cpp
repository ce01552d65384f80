#include "personnel/CDataValidator.h"

#include <charconv>
#include <exception>
#include <limits>

#include "core/DateTime.h"
#include "core/PlainText.h"

namespace orvan {

namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

} // namespace

bool CDataValidator::CheckIntegerValues(const std::string& thestring) {
    for (char c : thestring) {
        if (!IsDigit(c)) {
            return false;
        }
    }
    return true;
}

bool CDataValidator::CheckSingleValues(const std::string& thestring) {
    try {
        bool anyDigit = false;
        bool anyPoint = false;
        bool nonZeroBeforePoint = false;
        for (char c : thestring) {
            if (c == '.') {
                if (anyPoint) {
                    return false;
                }
                anyPoint = true;
            } else if (IsDigit(c)) {
                anyDigit = true;
                if (!anyPoint && c != '0') {
                    nonZeroBeforePoint = true;
                }
            } else {
                return false;
            }
        }
        if (!anyDigit) {
            return false;
        }
        // Read as double (locale-independent) and check the float range.
        double value = 0.0;
        const char* first = thestring.data();
        const char* last = first + thestring.size();
        const auto [end, ec] = std::from_chars(first, last, value, std::chars_format::fixed);
        if (ec == std::errc::result_out_of_range) {
            // Too large fails; too small to tell from zero reads as zero.
            return !nonZeroBeforePoint;
        }
        if (ec != std::errc() || end != last) {
            return false;
        }
        return value <= static_cast<double>(std::numeric_limits<float>::max());
    } catch (...) {
        return false;
    }
}

bool CDataValidator::CheckTempixValues(const std::string& thestring) {
    try {
        return DateTime::IsDate(thestring);
    } catch (...) {
        return false;
    }
}

bool CDataValidator::CheckPlainText(const std::string& thestring) {
    return IsPlainText(thestring);
}

} // namespace orvan
