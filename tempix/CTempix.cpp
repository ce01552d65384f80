#include "tempix/CTempix.h"

#include <array>
#include <exception>
#include <optional>

#include "tempix/DateReader.h"
#include "tempix/DateValue.h"

namespace tempix {

namespace {

const std::string kFormatResult = "format";
const std::string kRangeResult = "range";
const std::string kInvalidFormat = "The Tempix entry is in an invalid format.";
const std::string kInvalidRange = "The Tempix entry has an invalid range.";
const std::string kUnidentified = "Unidentified Error";

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

bool AllDigits(const std::string& text) {
    for (char c : text) {
        if (!IsDigit(c)) {
            return false;
        }
    }
    return true;
}

// Length in bytes of the UTF-8 character starting at text[pos]; a stray byte
// counts as a character of its own.
size_t CharLength(const std::string& text, size_t pos) {
    const auto lead = static_cast<unsigned char>(text[pos]);
    size_t length = 1;
    if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
    } else if (lead >= 0xE0) {
        length = lead <= 0xEF ? 3 : 1;
    } else if (lead >= 0xC2) {
        length = 2;
    }
    if (pos + length > text.size()) {
        return 1;
    }
    for (size_t k = 1; k < length; ++k) {
        if ((static_cast<unsigned char>(text[pos + k]) & 0xC0) != 0x80) {
            return 1;
        }
    }
    return length;
}

// The first non-digit character, unless it is the entry's last character.
std::string DetectSeparator(const std::string& entry, const std::string& fallback) {
    size_t pos = 0;
    while (pos < entry.size() && IsDigit(entry[pos])) {
        ++pos;
    }
    if (pos >= entry.size()) {
        return fallback;
    }
    const size_t length = CharLength(entry, pos);
    return pos + length < entry.size() ? entry.substr(pos, length) : fallback;
}

// Bytes of non-digits at the end of the entry.
size_t TrailingNonDigitBytes(const std::string& entry) {
    size_t count = 0;
    while (count < entry.size() && !IsDigit(entry[entry.size() - 1 - count])) {
        ++count;
    }
    return count;
}

std::string ToLowerAscii(std::string text) {
    for (char& c : text) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return text;
}

std::string ToUpperAscii(std::string text) {
    for (char& c : text) {
        if (c >= 'a' && c <= 'z') {
            c = static_cast<char>(c - 'a' + 'A');
        }
    }
    return text;
}

// Matches the entry against a shape of 'D' (one decimal digit) and 't' (the
// separator text); on success the matched digits are returned in order.
std::optional<std::string> MatchShape(const std::string& entry, std::string_view shape,
                                      const std::string& separator) {
    std::string digits;
    size_t pos = 0;
    for (char part : shape) {
        if (part == 'D') {
            if (pos >= entry.size() || !IsDigit(entry[pos])) {
                return std::nullopt;
            }
            digits.push_back(entry[pos]);
            ++pos;
        } else {
            if (separator.empty() || entry.compare(pos, separator.size(), separator) != 0) {
                return std::nullopt;
            }
            pos += separator.size();
        }
    }
    if (pos != entry.size()) {
        return std::nullopt;
    }
    return digits;
}

// A text the date rules accept: it has to hold a date. A bare time of day in
// a date box would otherwise come out as 12/30/1899.
std::optional<DateValue> ReadDate(const std::string& text) {
    const auto reading = DateReader::Read(text);
    if (!reading || !reading->hasDate) {
        return std::nullopt;
    }
    return reading->value;
}

// A text the time rules accept: it has to hold a time of day. A bare date in
// a time box (1/5/03) would otherwise come out as midnight. Dots stand in for
// colons in a time alone (9.30, 21.30.00), so such entries and a box's own
// "hh.mm.ss" output are times too.
std::optional<DateValue> ReadTime(const std::string& text) {
    const auto reading = DateReader::Read(text);
    if (reading && reading->hasTime) {
        return reading->value;
    }
    if (text.find('.') == std::string::npos) {
        return std::nullopt;
    }
    std::string colons = text;
    for (char& c : colons) {
        if (c == '.') {
            c = ':';
        }
    }
    const auto withColons = DateReader::Read(colons);
    if (!withColons || !withColons->hasTime || withColons->hasDate) {
        return std::nullopt;
    }
    return withColons->value;
}

} // namespace

CTempix::CTempix(QObject* parent) : QObject(parent) {}

CTempix::~CTempix() = default;

void CTempix::SetText(const std::string& text) {
    try {
        m_text = text;
        if (m_text.empty()) {
            return;
        }
        const std::string result =
            m_dataType == "Date" ? GenerateDateValue(text) : GenerateTimeValue(text);
        if (result == kFormatResult) {
            emit FormatError(kInvalidFormat);
        } else if (result == kRangeResult) {
            emit RangeError(kInvalidRange);
        } else if (DateReader::IsDate(result) || (m_dataType != "Date" && ReadTime(result))) {
            m_text = result;
            emit UpdateText(result);
        } else {
            emit FormatError(kUnidentified);
        }
    } catch (const std::exception&) {
        emit FormatError(kUnidentified);
    }
}

std::string CTempix::GenerateDateValue(const std::string& dateString) {
    try {
        const std::string expanded = ExpandDateEntry(dateString, DetectDateSeparator(dateString));
        const auto value = ReadDate(expanded);
        if (!value) {
            return kRangeResult;
        }
        if (value->IsZero()) {
            return std::string();
        }
        return value->Format(m_dateFormat);
    } catch (const std::exception&) {
        return kRangeResult;
    }
}

std::string CTempix::GenerateTimeValue(const std::string& timeString) {
    try {
        std::string entry = timeString;
        const size_t trailing = TrailingNonDigitBytes(entry);
        std::string marker;
        if (trailing > 0) {
            static const std::array<std::string, 8> markers = {"a",  "am",  "p",  "pm",
                                                               " a", " am", " p", " pm"};
            const std::string tail = ToLowerAscii(entry.substr(entry.size() - trailing));
            for (const std::string& candidate : markers) {
                if (tail == candidate) {
                    marker = ToUpperAscii(tail);
                    break;
                }
            }
            entry.erase(entry.size() - trailing);
        }
        DetectTimeSeparator(entry);
        if (!ReadTime(entry)) {
            entry = ExpandTimeEntry(entry, m_timeSeparator);
        }
        entry += marker;
        if (const auto value = ReadTime(entry)) {
            return value->TimePart().Format(m_timeFormat);
        }
        return entry == kFormatResult ? kFormatResult : kRangeResult;
    } catch (const std::exception&) {
        return kFormatResult;
    }
}

std::string CTempix::DetectDateSeparator(const std::string& entry) {
    m_dateSeparator = DetectSeparator(entry, "/");
    return m_dateSeparator;
}

std::string CTempix::DetectTimeSeparator(const std::string& entry) {
    m_timeSeparator = DetectSeparator(entry, ":");
    return m_timeSeparator;
}

std::string CTempix::ExpandDateEntry(const std::string& entry, const std::string& separator) const {
    if (entry.empty() || entry.size() > 8 || !AllDigits(entry)) {
        return entry;
    }
    const DateValue today = DateValue::Today();
    const std::string& s = separator;
    const std::string month = std::to_string(today.Month());
    const std::string year = std::to_string(today.Year());
    const std::string mm = entry.substr(0, 2);
    switch (entry.size()) {
    case 1:
        return month + s + "0" + entry + s + year;
    case 2:
        return month + s + entry + s + year;
    case 3:
        return mm + s + "0" + entry.substr(2) + s + year;
    case 4:
        return mm + s + entry.substr(2, 2) + s + year;
    case 5:
        return mm + s + entry.substr(2, 2) + s + "0" + entry.substr(4);
    default:
        return mm + s + entry.substr(2, 2) + s + entry.substr(4);
    }
}

int32_t CTempix::CountTrailingLetters(const std::string& entry) const {
    const size_t bytes = TrailingNonDigitBytes(entry);
    int32_t characters = 0;
    for (size_t pos = entry.size() - bytes; pos < entry.size(); pos += CharLength(entry, pos)) {
        ++characters;
    }
    return characters;
}

std::string CTempix::ExpandTimeEntry(const std::string& entry, const std::string& separator) const {
    const std::string& t = separator;
    if (auto d = MatchShape(entry, "D", t)) {
        return "0" + *d + t + "00" + t + "00";
    }
    if (auto d = MatchShape(entry, "DD", t)) {
        return *d + t + "00" + t + "00";
    }
    if (auto d = MatchShape(entry, "DDD", t)) {
        return "0" + d->substr(0, 1) + t + d->substr(1, 2) + t + "00";
    }
    if (auto d = MatchShape(entry, "DDDD", t)) {
        return d->substr(0, 2) + t + d->substr(2, 2) + t + "00";
    }
    if (auto d = MatchShape(entry, "DDDDD", t)) {
        return d->substr(0, 2) + t + d->substr(2, 2) + t + "0" + d->substr(4, 1);
    }
    if (auto d = MatchShape(entry, "DDDDDD", t)) {
        return d->substr(0, 2) + t + d->substr(2, 2) + t + d->substr(4, 2);
    }
    if (auto d = MatchShape(entry, "DtD", t)) {
        return "0" + d->substr(0, 1) + t + "0" + d->substr(1, 1) + t + "00";
    }
    if (auto d = MatchShape(entry, "DtDD", t)) {
        return "0" + d->substr(0, 1) + t + d->substr(1, 2) + t + "00";
    }
    if (auto d = MatchShape(entry, "DDtD", t)) {
        return d->substr(0, 2) + t + "0" + d->substr(2, 1) + t + "00";
    }
    if (auto d = MatchShape(entry, "DDtDD", t)) {
        return d->substr(0, 2) + t + d->substr(2, 2) + t + "00";
    }
    if (auto d = MatchShape(entry, "DDtDDtD", t)) {
        return d->substr(0, 2) + t + d->substr(2, 2) + t + "0" + d->substr(4, 1);
    }
    if (auto d = MatchShape(entry, "DtDDtDD", t)) {
        return "0" + d->substr(0, 1) + t + d->substr(1, 2) + t + d->substr(3, 2);
    }
    if (MatchShape(entry, "DDtDDtDD", t)) {
        return std::string();
    }
    return kFormatResult;
}

void CTempix::SetSystemTempixFormats() {
    try {
        // Move the current moment, one part at a time and each time from the
        // text of the step before, to day 2, month 1, 1:02:03 of this year.
        struct Step {
            const char* interval;
            int target;
            int (DateValue::*part)() const;
        };
        static const std::array<Step, 5> steps = {{{"d", 2, &DateValue::Day},
                                                   {"m", 1, &DateValue::Month},
                                                   {"h", 1, &DateValue::Hour},
                                                   {"n", 2, &DateValue::Minute},
                                                   {"s", 3, &DateValue::Second}}};
        std::string text = DateValue::Now().ToString();
        DateValue moment;
        for (const Step& step : steps) {
            const auto reading = DateReader::Read(text);
            if (!reading) {
                return;
            }
            moment = reading->value.Add(step.interval, step.target - (reading->value.*step.part)());
            text = moment.ToString();
        }

        const size_t blank = text.find(' ');
        if (blank == std::string::npos) {
            return;
        }
        const std::string dateText = text.substr(0, blank);
        const std::string timeText = text.substr(blank + 1);

        // Position (1-based, 0 when missing) and token of one date part. A
        // part is written with two digits when a zero stands right before
        // its number.
        auto locate = [&](const std::string& number, const char* shortToken, const char* longToken,
                          std::string& token) {
            const size_t found = dateText.find(number);
            const size_t position = found == std::string::npos ? 0 : found + 1;
            token = shortToken;
            if (position == 1) {
                m_dateSeparator = dateText.substr(number.size(), 1);
            } else if (position > 1 && dateText[position - 2] == '0') {
                token = longToken;
            }
            return position;
        };
        std::string monthToken;
        std::string dayToken;
        const size_t pm = locate(std::to_string(moment.Month()), "m", "mm", monthToken);
        const size_t pd = locate(std::to_string(moment.Day()), "d", "dd", dayToken);
        std::string yearToken = "yyyy";
        std::string yearText = std::to_string(moment.Year());
        size_t found = dateText.find(yearText);
        if (found == std::string::npos) {
            yearToken = "yy";
            yearText = yearText.size() >= 2 ? yearText.substr(yearText.size() - 2) : yearText;
            found = dateText.find(yearText);
        }
        const size_t py = found == std::string::npos ? 0 : found + 1;
        if (py == 1) {
            m_dateSeparator = dateText.substr(yearText.size(), 1);
        }

        size_t firstNonDigit = 0;
        while (firstNonDigit < dateText.size() && IsDigit(dateText[firstNonDigit])) {
            ++firstNonDigit;
        }
        m_dateSeparator =
            firstNonDigit < dateText.size() ? dateText.substr(firstNonDigit, 1) : std::string();

        const std::string& s = m_dateSeparator;
        if (pm > 0 && pd > 0 && py > 0) {
            if (py < pm && pm < pd) {
                m_dateFormat = yearToken + s + monthToken + s + dayToken;
            } else if (py < pd && pd < pm) {
                m_dateFormat = yearToken + s + dayToken + s + monthToken;
            } else if (pm < pd && pd < py) {
                m_dateFormat = monthToken + s + dayToken + s + yearToken;
            } else if (pm < py && py < pd) {
                m_dateFormat = monthToken + s + yearToken + s + dayToken;
            } else if (pd < pm && pm < py) {
                m_dateFormat = dayToken + s + monthToken + s + yearToken;
            } else if (pd < py && py < pm) {
                m_dateFormat = dayToken + s + yearToken + s + monthToken;
            }
        }

        std::string hourToken = "hh";
        if (const auto time = DateReader::Read(timeText)) {
            if (time->value.TimePart().ToString().find('1') == 0) {
                hourToken = "h";
            }
        }
        const std::string nowTime = DateValue::Now().TimePart().ToString();
        DetectTimeSeparator(nowTime);
        const std::string marker = CountTrailingLetters(nowTime) > 0 ? "AM/PM" : "";
        m_timeFormat = hourToken + m_timeSeparator + "mm" + m_timeSeparator + "ss " + marker;
    } catch (const std::exception&) {
        // Keeps whatever formats were set; the rule base raises nothing here.
    }
}

} // namespace tempix
