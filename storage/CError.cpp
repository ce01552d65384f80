#include "storage/CError.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <limits>

#include "storage/MessageBox.h"

namespace orvan {

namespace {

const char* const kCrLf = "\r\n";

// The integer value of a numeric text (blanks around it allowed, decimals
// rounded half to even), or nothing when the text is not a number.
std::optional<int32_t> NumericValue(const std::optional<std::string>& text) {
    if (!text) {
        return std::nullopt;
    }
    const std::string& s = *text;
    const auto first = s.find_first_not_of(" \t");
    if (first == std::string::npos) {
        return std::nullopt;
    }
    const auto last = s.find_last_not_of(" \t");
    const std::string trimmed = s.substr(first, last - first + 1);
    // strtod would also take hexadecimal, "inf" and "nan"; only plain decimal
    // numbers count.
    for (char c : trimmed) {
        if (!((c >= '0' && c <= '9') || c == '.' || c == '-' || c == '+' || c == 'e' || c == 'E')) {
            return std::nullopt;
        }
    }
    const int savedErrno = errno;
    char* end = nullptr;
    const double value = std::strtod(trimmed.c_str(), &end);
    errno = savedErrno;
    if (end != trimmed.c_str() + trimmed.size() || !std::isfinite(value)) {
        return std::nullopt;
    }
    const double rounded = std::nearbyint(value);
    if (rounded < std::numeric_limits<int32_t>::min() ||
        rounded > std::numeric_limits<int32_t>::max()) {
        return std::nullopt;
    }
    return static_cast<int32_t>(rounded);
}

} // namespace

namespace {

// The failure being handled: inside a catch block the exception in flight
// (with the source and details recorded for it, when it was recorded),
// otherwise the last recorded failure.
Failure FailureBeingHandled() {
    const Failure recorded = LastFailure();
    const Failure thrown = FailureOfCurrentException("");
    if (thrown.Number == 0) {
        return recorded;
    }
    if (recorded.Number == thrown.Number && recorded.Description == thrown.Description) {
        return recorded;
    }
    return thrown;
}

} // namespace

CError::CError() : CError(FailureBeingHandled()) {}

CError::CError(const Failure& failure)
    : m_errorNumber(failure.Number), m_errorSource(failure.Source),
      m_errorDescription(failure.Description), m_helpContext(failure.HelpContext),
      m_lastSystemError(failure.LastSystemError) {}

CError::CError(int32_t number, const std::string& description, const std::string& source,
               int32_t helpContext)
    : m_errorNumber(number), m_errorSource(source), m_errorDescription(description),
      m_helpContext(helpContext), m_lastSystemError(static_cast<int32_t>(errno)) {}

void CError::SetErrorDescription(const std::string& thisDesc) {
    if (!thisDesc.empty()) {
        m_errorDescription += thisDesc;
    } else if (m_errorDescription.empty()) {
        m_errorDescription = "No Error Description Available";
    }
}

void CError::SetAdditionalDescription(const std::string& thisDesc) {
    m_additionalDescription = thisDesc;
}

void CError::SetModuleName(const std::string& thisModule) {
    m_moduleName = thisModule.empty() ? std::string("No module name available") : thisModule;
}

std::string CError::MessageText() const {
    std::string text = "The following error ocurred in module " + m_moduleName;
    if (!m_errorSource.empty()) {
        text += kCrLf;
        text += "Error Source: " + m_errorSource;
    }
    text += kCrLf;
    text += std::to_string(m_errorNumber) + ": " + m_errorDescription;
    if (!m_additionalDescription.empty()) {
        text += kCrLf;
        text += m_additionalDescription;
    }
    return text;
}

std::string CError::MessageTitle() const {
    return "Error Number: " + std::to_string(m_errorNumber);
}

int16_t CError::MessageBox(const std::optional<std::string>& userIcon,
                           const std::optional<std::string>& userButtons) {
    return Show(NumericValue(userIcon).value_or(MsgIconExclamation),
                NumericValue(userButtons).value_or(MsgButtonsOK));
}

int16_t CError::MessageBox(int32_t userIcon, int32_t userButtons) {
    return Show(userIcon, userButtons);
}

int16_t CError::Show(int32_t icon, int32_t buttons) {
    try {
        const std::string text = MessageText();
        const std::string title = MessageTitle();
        CurrentMessageBox().ResetMousePointer();
        const int32_t pressed =
            ShowMessage(static_cast<int32_t>(static_cast<int64_t>(icon) + buttons), title, text);
        m_msgBoxRetVal = static_cast<int16_t>(pressed);
    } catch (...) {
        // Nothing could be shown; no button counts as pressed.
        m_msgBoxRetVal = 0;
    }
    return m_msgBoxRetVal;
}

} // namespace orvan
