#include "personnel/CCompany.h"

#include <exception>

#include "storage/CJetDB.h"
#include "core/ErrorNumbers.h"

namespace orvan {

namespace {
constexpr const char* kCrLf = "\r\n";
} // namespace

void CCompany::MarkChanged() {
    if (m_objectState != StateNew) {
        m_objectState = StateChanged;
    }
}

void CCompany::SetCompanyID(int32_t value) {
    m_companyID = value;
    if (value != -1) {
        m_objectState = StateChanged;
    }
}

void CCompany::SetCompanyName(const std::string& value) {
    m_companyName = value;
    MarkChanged();
}

void CCompany::SetAddress1(const std::string& value) {
    m_address1 = value;
    MarkChanged();
}

void CCompany::SetAddress2(const std::string& value) {
    m_address2 = value;
    MarkChanged();
}

void CCompany::SetCity(const std::string& value) {
    m_city = value;
    MarkChanged();
}

void CCompany::SetState(const std::string& value) {
    m_state = value;
    MarkChanged();
}

void CCompany::SetZipCode(const std::string& value) {
    m_zipCode = value;
    MarkChanged();
}

void CCompany::SetPhone(const std::string& value) {
    m_phone = value;
    MarkChanged();
}

void CCompany::SetFax(const std::string& value) {
    m_fax = value;
    MarkChanged();
}

void CCompany::SetFederalTaxID(const std::string& value) {
    m_federalTaxID = value;
    MarkChanged();
}

void CCompany::SetURL(const std::string& value) {
    m_url = value;
    MarkChanged();
}

bool CCompany::Save(const std::shared_ptr<CJetDB>& thedatabase) {
    m_errorNumber = 0;
    try {
        if (m_objectState != StateNew && m_objectState != StateChanged &&
            m_objectState != StateDeleted) {
            m_errorNumber = err::SaveFailed;
            m_objectState = StateUnchanged;
            return false;
        }
        // Without a database nothing was attempted: keep the state so that a
        // later save with a database still stores the change.
        if (!thedatabase) {
            m_errorNumber = err::SaveFailed;
            return false;
        }
        // The database takes a shared reference; when this company is not
        // owned by a shared_ptr, hand it a non-owning one for the call.
        std::shared_ptr<CCompany> self = weak_from_this().lock();
        if (!self) {
            self = std::shared_ptr<CCompany>(std::shared_ptr<void>(), this);
        }
        bool result = false;
        switch (m_objectState) {
        case StateNew:
            result = thedatabase->AddNewCompany(self);
            break;
        case StateChanged:
            result = thedatabase->UpdateCompany(self);
            break;
        default:
            result = thedatabase->DeleteCompany(self);
            break;
        }
        m_objectState = StateUnchanged;
        return result;
    } catch (...) {
        m_errorNumber = err::SaveFailed;
        m_objectState = StateUnchanged;
        return false;
    }
}

std::string CCompany::ToString() const {
    try {
        std::string text;
        text += "Company Name: \t" + m_companyName + kCrLf;
        text += std::string("Address: ") + kCrLf;
        text += "\t" + m_address1 + kCrLf;
        if (!m_address2.empty()) {
            text += "\t" + m_address2 + kCrLf;
        }
        text += "\t" + m_city + ", " + m_state + ". " + m_zipCode + kCrLf;
        text += "Phone Number: \t\t" + m_phone + kCrLf;
        text += "Fax Number: \t\t" + m_fax + kCrLf;
        text += "Tax ID Number:   " + m_federalTaxID + kCrLf;
        text += "Website URL: \t" + m_url + kCrLf;
        return text;
    } catch (...) {
        m_errorNumber = err::TextRendering;
        return std::string();
    }
}

} // namespace orvan
