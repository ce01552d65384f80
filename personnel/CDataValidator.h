#pragma once

#include <string>

namespace orvan {

// Checks typed text before the windows store it into an employee, a company
// or the system options. Stateless; nothing is shown, the text is left as
// it is.
class CDataValidator {
public:
    // True when the text holds the digits 0-9 only (the empty text too).
    static bool CheckIntegerValues(const std::string& thestring);
    // True when the text holds digits and points only and reads as a 32-bit
    // floating-point number: "12.5" and "12." pass; "", ".", "1.2.3", "-3"
    // and "1,5" do not, nor a value beyond the float range.
    static bool CheckSingleValues(const std::string& thestring);
    // True when the whole text reads as a date, a time or both
    // ("12/31/2006", "8:30 AM", "12/31/2006 8:30 AM").
    static bool CheckTempixValues(const std::string& thestring);
    // True when the text holds no control character and no text-direction
    // override or isolate (see IsPlainText): names, addresses and the other
    // typed fields.
    static bool CheckPlainText(const std::string& thestring);
};

} // namespace orvan
