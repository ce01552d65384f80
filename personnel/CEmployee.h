#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "core/DateTime.h"
#include "core/ObjectState.h"

namespace orvan {

class CJetDB;

// One employee's record as the programs hold it in memory, with the
// persistence state that tells the next Save what to do.
//
// Setters store the value unchecked (the windows check typed text with
// CDataValidator). Every setter except EmployeeID and ObjectState marks the
// employee StateChanged unless it is StateNew; setting EmployeeID to anything
// but -1 marks it StateChanged even when new.
class CEmployee : public std::enable_shared_from_this<CEmployee> {
public:
    // The EmployeeID of the administrator's own record, which every new
    // installation holds (storage/orvan_schema.sql) with employee number 0.
    static constexpr int32_t AdministratorID = 39;

    CEmployee() = default;

    int32_t EmployeeID() const { return m_employeeID; }
    void SetEmployeeID(int32_t value);
    const std::string& SSN() const { return m_ssn; }
    void SetSSN(const std::string& value);
    int32_t EmployeeNumber() const { return m_employeeNumber; }
    void SetEmployeeNumber(int32_t value);
    const std::string& FirstName() const { return m_firstName; }
    void SetFirstName(const std::string& value);
    const std::string& LastName() const { return m_lastName; }
    void SetLastName(const std::string& value);
    const std::string& Address1() const { return m_address1; }
    void SetAddress1(const std::string& value);
    const std::string& Address2() const { return m_address2; }
    void SetAddress2(const std::string& value);
    const std::string& City() const { return m_city; }
    void SetCity(const std::string& value);
    const std::string& State() const { return m_state; }
    void SetState(const std::string& value);
    const std::string& ZipCode() const { return m_zipCode; }
    void SetZipCode(const std::string& value);
    const std::string& Phone() const { return m_phone; }
    void SetPhone(const std::string& value);
    // Login password, kept and compared as plain text.
    const std::string& Password() const { return m_password; }
    void SetPassword(const std::string& value);
    float PayRate() const { return m_payRate; }
    void SetPayRate(float value);
    float OvertimePayRate() const { return m_overtimePayRate; }
    void SetOvertimePayRate(float value);
    // A zero date means that no date was entered.
    DateTime DateOfBirth() const { return m_dateOfBirth; }
    void SetDateOfBirth(DateTime value);
    DateTime HireDate() const { return m_hireDate; }
    void SetHireDate(DateTime value);
    DateTime ReleaseDate() const { return m_releaseDate; }
    void SetReleaseDate(DateTime value);
    bool EmployeeActive() const { return m_employeeActive; }
    void SetEmployeeActive(bool value);
    int32_t CompanyID() const { return m_companyID; }
    void SetCompanyID(int32_t value);
    bool AutoDeduct() const { return m_autoDeduct; }
    void SetAutoDeduct(bool value);
    // Minutes deducted per day when AutoDeduct is set.
    int16_t AutoDeductLunchLength() const { return m_autoDeductLunchLength; }
    void SetAutoDeductLunchLength(int16_t value);
    int16_t AutoDeductBreakLength() const { return m_autoDeductBreakLength; }
    void SetAutoDeductBreakLength(int16_t value);

    int32_t ObjectState() const { return m_objectState; }
    void SetObjectState(int32_t value) { m_objectState = value; }
    // 803 when Save has nothing to do (or no database), 806 when a text
    // rendering fails.
    int32_t ErrorNumber() const { return m_errorNumber; }

    // Whether this is the administrator: employee number 0, or the
    // administrator's own record (AdministratorID).
    bool IsAdministrator() const;

    // The name shown in every employee name list: first name, a blank and the
    // last name, or the last name alone when the first name is empty.
    std::string DisplayName() const;

    // Adds, updates or "deletes" (the database removes nothing) the employee
    // according to its state and returns the database's result. Afterwards
    // the state is StateUnchanged whether or not the call succeeded, so a
    // failed save is not retried. A new employee keeps EmployeeID -1 until
    // the list is loaded again. StateUnchanged or an unknown state: 803 and
    // False. A null database: 803 and False, state kept.
    bool Save(const std::shared_ptr<CJetDB>& thedatabase);

    // Text blocks for the reports; lines end in CR LF. On failure
    // ErrorNumber is 806 and the text is empty.
    // The employee records report block.
    std::string ToString() const;
    // The employee block of the time card report.
    std::string ToStringTimeCard() const;
    // The employee block of the accountant's review report.
    std::string ToStringReview() const;

private:
    void MarkChanged();

    int32_t m_employeeID = -1;
    std::string m_ssn;
    int32_t m_employeeNumber = 0;
    std::string m_firstName;
    std::string m_lastName;
    std::string m_address1;
    std::string m_address2;
    std::string m_city;
    std::string m_state;
    std::string m_zipCode;
    std::string m_phone;
    std::string m_password;
    float m_payRate = 0.0f;
    float m_overtimePayRate = 0.0f;
    DateTime m_dateOfBirth;
    DateTime m_hireDate;
    DateTime m_releaseDate;
    bool m_employeeActive = false;
    int32_t m_companyID = 0;
    bool m_autoDeduct = false;
    int16_t m_autoDeductLunchLength = 0;
    int16_t m_autoDeductBreakLength = 0;
    int32_t m_objectState = StateNew;
    mutable int32_t m_errorNumber = 0;
};

} // namespace orvan
