#include "personnel/CEmployee.h"

#include <exception>

#include "storage/CJetDB.h"
#include "core/ErrorNumbers.h"

namespace orvan {

namespace {

constexpr const char* kCrLf = "\r\n";

// A label followed by a tab and the date, or the bare label when no date was
// entered.
std::string DateLine(const std::string& label, const DateTime& value) {
    if (value.IsZero()) {
        return label + kCrLf;
    }
    return label + "\t" + value.Format("mm/dd/yyyy") + kCrLf;
}

} // namespace

void CEmployee::MarkChanged() {
    if (m_objectState != StateNew) {
        m_objectState = StateChanged;
    }
}

void CEmployee::SetEmployeeID(int32_t value) {
    m_employeeID = value;
    if (value != -1) {
        m_objectState = StateChanged;
    }
}

void CEmployee::SetSSN(const std::string& value) {
    m_ssn = value;
    MarkChanged();
}

void CEmployee::SetEmployeeNumber(int32_t value) {
    m_employeeNumber = value;
    MarkChanged();
}

void CEmployee::SetFirstName(const std::string& value) {
    m_firstName = value;
    MarkChanged();
}

void CEmployee::SetLastName(const std::string& value) {
    m_lastName = value;
    MarkChanged();
}

void CEmployee::SetAddress1(const std::string& value) {
    m_address1 = value;
    MarkChanged();
}

void CEmployee::SetAddress2(const std::string& value) {
    m_address2 = value;
    MarkChanged();
}

void CEmployee::SetCity(const std::string& value) {
    m_city = value;
    MarkChanged();
}

void CEmployee::SetState(const std::string& value) {
    m_state = value;
    MarkChanged();
}

void CEmployee::SetZipCode(const std::string& value) {
    m_zipCode = value;
    MarkChanged();
}

void CEmployee::SetPhone(const std::string& value) {
    m_phone = value;
    MarkChanged();
}

void CEmployee::SetPassword(const std::string& value) {
    m_password = value;
    MarkChanged();
}

void CEmployee::SetPayRate(float value) {
    m_payRate = value;
    MarkChanged();
}

void CEmployee::SetOvertimePayRate(float value) {
    m_overtimePayRate = value;
    MarkChanged();
}

void CEmployee::SetDateOfBirth(DateTime value) {
    m_dateOfBirth = value;
    MarkChanged();
}

void CEmployee::SetHireDate(DateTime value) {
    m_hireDate = value;
    MarkChanged();
}

void CEmployee::SetReleaseDate(DateTime value) {
    m_releaseDate = value;
    MarkChanged();
}

void CEmployee::SetEmployeeActive(bool value) {
    m_employeeActive = value;
    MarkChanged();
}

void CEmployee::SetCompanyID(int32_t value) {
    m_companyID = value;
    MarkChanged();
}

void CEmployee::SetAutoDeduct(bool value) {
    m_autoDeduct = value;
    MarkChanged();
}

void CEmployee::SetAutoDeductLunchLength(int16_t value) {
    m_autoDeductLunchLength = value;
    MarkChanged();
}

void CEmployee::SetAutoDeductBreakLength(int16_t value) {
    m_autoDeductBreakLength = value;
    MarkChanged();
}

bool CEmployee::IsAdministrator() const {
    return m_employeeNumber == 0 || m_employeeID == AdministratorID;
}

std::string CEmployee::DisplayName() const {
    if (m_firstName.empty()) {
        return m_lastName;
    }
    return m_firstName + " " + m_lastName;
}

bool CEmployee::Save(const std::shared_ptr<CJetDB>& thedatabase) {
    m_errorNumber = 0;
    try {
        if (m_objectState != StateNew && m_objectState != StateChanged &&
            m_objectState != StateDeleted) {
            m_errorNumber = err::OutOfLimitsOrNotSaved;
            m_objectState = StateUnchanged;
            return false;
        }
        // Without a database nothing was attempted: keep the state so that a
        // later save with a database still stores the change.
        if (!thedatabase) {
            m_errorNumber = err::OutOfLimitsOrNotSaved;
            return false;
        }
        // The database takes a shared reference; when this employee is not
        // owned by a shared_ptr, hand it a non-owning one for the call.
        std::shared_ptr<CEmployee> self = weak_from_this().lock();
        if (!self) {
            self = std::shared_ptr<CEmployee>(std::shared_ptr<void>(), this);
        }
        bool result = false;
        switch (m_objectState) {
        case StateNew:
            result = thedatabase->AddNewEmployee(self);
            break;
        case StateChanged:
            result = thedatabase->UpdateEmployee(self);
            break;
        default:
            result = thedatabase->DeleteEmployee(self);
            break;
        }
        m_objectState = StateUnchanged;
        return result;
    } catch (...) {
        m_errorNumber = err::OutOfLimitsOrNotSaved;
        m_objectState = StateUnchanged;
        return false;
    }
}

std::string CEmployee::ToString() const {
    try {
        std::string text;
        if (!m_firstName.empty()) {
            text += "Last Name:  " + m_lastName + "\t\t\t" + "First Name:  " + m_firstName + kCrLf;
        } else {
            text += "Name: \t" + m_lastName + kCrLf;
        }
        text += "Social Security Number:   " + m_ssn + kCrLf;
        text += std::string("Address: ") + kCrLf;
        text += "\t" + m_address1 + kCrLf;
        if (!m_address2.empty()) {
            text += "\t" + m_address2 + kCrLf;
        }
        text += "\t" + m_city + ", " + m_state + ". " + m_zipCode + kCrLf;
        text += "Phone Number: \t\t" + m_phone + kCrLf;
        text += DateLine("Date Of Birth: ", m_dateOfBirth);
        text += "Employee Number: \t" + std::to_string(m_employeeNumber) + kCrLf;
        text += std::string("Employee Active: \t") +
                (m_employeeActive ? "This employee is active." : "This employee is NOT active.") +
                kCrLf;
        text += DateLine("Hire Date: ", m_hireDate);
        text += DateLine("Release Date: ", m_releaseDate);
        text += "Current Rate of Pay: \t$" + ShortestText(m_payRate) + "/hour" + kCrLf;
        text += "Overtime Rate of Pay: \t$" + ShortestText(m_overtimePayRate) + "/hour" + kCrLf;
        return text;
    } catch (...) {
        m_errorNumber = err::TextRendering;
        return std::string();
    }
}

std::string CEmployee::ToStringTimeCard() const {
    try {
        std::string text;
        if (!m_firstName.empty()) {
            text += "Name:  \t\t\t\t" + m_firstName + " " + m_lastName + kCrLf;
        } else {
            text += "Name: \t\t\t\t" + m_lastName + kCrLf;
        }
        text += "Social Security Number: \t" + m_ssn + kCrLf;
        return text;
    } catch (...) {
        m_errorNumber = err::TextRendering;
        return std::string();
    }
}

std::string CEmployee::ToStringReview() const {
    try {
        std::string text;
        text += "Name:  " + DisplayName() + "\t\t" + "Social Security Number:  " + m_ssn + kCrLf;
        text += "Employee Number:  " + std::to_string(m_employeeNumber) + kCrLf;
        text += std::string("Address: ") + kCrLf;
        text += "\t" + m_address1 + kCrLf;
        if (!m_address2.empty()) {
            text += "\t" + m_address2 + kCrLf;
        }
        text += "\t" + m_city + ", " + m_state + ". " + m_zipCode + kCrLf;
        text += "Phone Number: \t" + m_phone + kCrLf;
        text += DateLine("Date Of Birth: ", m_dateOfBirth);
        return text;
    } catch (...) {
        m_errorNumber = err::TextRendering;
        return std::string();
    }
}

} // namespace orvan
