#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "core/ObjectState.h"

namespace orvan {

class CJetDB;

// One employer's record, with the persistence state that tells the next Save
// what to do. The text setters mark the company StateChanged unless it is
// StateNew; setting CompanyID to anything but -1 marks it StateChanged even
// when new.
class CCompany : public std::enable_shared_from_this<CCompany> {
public:
    CCompany() = default;

    int32_t CompanyID() const { return m_companyID; }
    void SetCompanyID(int32_t value);
    const std::string& CompanyName() const { return m_companyName; }
    void SetCompanyName(const std::string& value);
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
    const std::string& Fax() const { return m_fax; }
    void SetFax(const std::string& value);
    const std::string& FederalTaxID() const { return m_federalTaxID; }
    void SetFederalTaxID(const std::string& value);
    const std::string& URL() const { return m_url; }
    void SetURL(const std::string& value);

    int32_t ObjectState() const { return m_objectState; }
    void SetObjectState(int32_t value) { m_objectState = value; }
    // 321 when Save has nothing to do (or no database), 806 when ToString
    // fails.
    int32_t ErrorNumber() const { return m_errorNumber; }

    // Adds, updates or "deletes" (the database removes nothing) the company
    // according to its state and returns the database's result; afterwards
    // the state is StateUnchanged whatever the result. An added company keeps
    // CompanyID -1 until the list is loaded again. StateUnchanged or an
    // unknown state: 321 and False. A null database: 321 and False, state
    // kept.
    bool Save(const std::shared_ptr<CJetDB>& thedatabase);

    // The company records block; lines end in CR LF. On failure ErrorNumber
    // is 806 and the text is empty.
    std::string ToString() const;

private:
    void MarkChanged();

    int32_t m_companyID = -1;
    std::string m_companyName;
    std::string m_address1;
    std::string m_address2;
    std::string m_city;
    std::string m_state;
    std::string m_zipCode;
    std::string m_phone;
    std::string m_fax;
    std::string m_federalTaxID;
    std::string m_url;
    int32_t m_objectState = StateNew;
    mutable int32_t m_errorNumber = 0;
};

} // namespace orvan
