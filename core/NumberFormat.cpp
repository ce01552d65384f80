#include "core/NumberFormat.h"

#include <array>
#include <charconv>
#include <cmath>
#include <string>

namespace orvan {

namespace {

template <typename T> std::string ShortestFixed(T value) {
    std::array<char, 400> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                      std::chars_format::fixed);
    if (result.ec != std::errc()) {
        return "0";
    }
    return std::string(buffer.data(), result.ptr);
}

std::string FormatDecimalText(std::string text, std::string_view pattern) {
    if (text == "nan" || text == "inf" || text == "-inf" || text == "-nan") {
        return text;
    }
    bool negative = false;
    if (!text.empty() && text[0] == '-') {
        negative = true;
        text.erase(0, 1);
    }
    const size_t point = text.find('.');
    std::string intPart = point == std::string::npos ? text : text.substr(0, point);
    std::string fracPart = point == std::string::npos ? std::string() : text.substr(point + 1);

    const size_t patternPoint = pattern.find('.');
    const std::string_view intPattern = pattern.substr(0, patternPoint);
    const std::string_view fracPattern = patternPoint == std::string_view::npos
                                             ? std::string_view()
                                             : pattern.substr(patternPoint + 1);
    size_t decimals = 0;
    size_t requiredDecimals = 0;
    for (char c : fracPattern) {
        if (c == '0' || c == '#') {
            ++decimals;
            if (c == '0') {
                requiredDecimals = decimals;
            }
        }
    }
    size_t minIntDigits = 0;
    bool grouping = false;
    for (char c : intPattern) {
        if (c == '0') {
            ++minIntDigits;
        } else if (c == ',') {
            grouping = true;
        }
    }

    // Round half away from zero on the decimal text.
    std::string digits = intPart + fracPart;
    const size_t keep = intPart.size() + decimals;
    if (fracPart.size() > decimals) {
        const bool roundUp = digits[keep] >= '5';
        digits.resize(keep);
        if (roundUp) {
            size_t k = digits.size();
            bool carry = true;
            while (carry && k > 0) {
                --k;
                if (digits[k] == '9') {
                    digits[k] = '0';
                } else {
                    ++digits[k];
                    carry = false;
                }
            }
            if (carry) {
                digits.insert(digits.begin(), '1');
            }
        }
    } else {
        digits.append(decimals - fracPart.size(), '0');
    }
    std::string newInt = digits.substr(0, digits.size() - decimals);
    std::string newFrac = digits.substr(digits.size() - decimals);
    // Drop optional trailing decimals ('#').
    while (newFrac.size() > requiredDecimals && !newFrac.empty() && newFrac.back() == '0') {
        newFrac.pop_back();
    }
    size_t firstNonZero = newInt.find_first_not_of('0');
    newInt = firstNonZero == std::string::npos ? std::string() : newInt.substr(firstNonZero);
    if (newInt.size() < minIntDigits) {
        newInt.insert(0, minIntDigits - newInt.size(), '0');
    }
    if (grouping && newInt.size() > 3) {
        std::string grouped;
        const size_t lead = newInt.size() % 3;
        for (size_t k = 0; k < newInt.size(); ++k) {
            if (k != 0 && (k - lead) % 3 == 0 && k >= lead) {
                grouped.push_back(',');
            }
            grouped.push_back(newInt[k]);
        }
        newInt = grouped;
    }
    std::string result = newInt;
    if (patternPoint != std::string_view::npos && (!newFrac.empty() || decimals == 0)) {
        if (!newFrac.empty()) {
            result += "." + newFrac;
        } else if (requiredDecimals == 0 && decimals == 0) {
            result += ".";
        }
    }
    const bool allZero = result.find_first_not_of("0.,") == std::string::npos;
    if (negative && !allZero) {
        result.insert(0, "-");
    }
    return result;
}

template <typename T> std::string TrimShortest(T value) {
    std::string text = ShortestFixed(value);
    if (text.find('.') != std::string::npos) {
        while (!text.empty() && text.back() == '0') {
            text.pop_back();
        }
        if (!text.empty() && text.back() == '.') {
            text.pop_back();
        }
    }
    if (text == "-0") {
        text = "0";
    }
    return text;
}

} // namespace

std::string FormatNumber(float value, std::string_view pattern) {
    return FormatDecimalText(ShortestFixed(value), pattern);
}

std::string FormatNumber(double value, std::string_view pattern) {
    return FormatDecimalText(ShortestFixed(value), pattern);
}

std::string ShortestText(float value) {
    return TrimShortest(value);
}

std::string ShortestText(double value) {
    return TrimShortest(value);
}

} // namespace orvan
