#include "personnel/CCompanyList.h"

#include <exception>

#include "storage/CJetDB.h"

namespace orvan {

CCompanyList::CCompanyList() {
    Create();
}

CCompanyList::~CCompanyList() {
    Destroy();
}

bool CCompanyList::Create() {
    m_errorNumber = 0;
    try {
        if (m_items.empty()) {
            m_items.clear();
            m_items.shrink_to_fit();
        }
        return true;
    } catch (...) {
        m_errorNumber = 301;
        return false;
    }
}

bool CCompanyList::Destroy() {
    m_errorNumber = 0;
    m_items.clear();
    return true;
}

std::shared_ptr<CCompany> CCompanyList::Insert(std::shared_ptr<CCompany> thisvalue,
                                               int32_t thisindex) {
    m_errorNumber = 0;
    if (!thisvalue) {
        m_errorNumber = 312;
        return nullptr;
    }
    try {
        const int32_t count = Count();
        int32_t position = thisindex;
        if (position > count) {
            position = count + 1;
        }
        if (position < 1) {
            position = 1;
        }
        m_items.insert(m_items.begin() + (position - 1), thisvalue);
        return thisvalue;
    } catch (...) {
        m_errorNumber = 312;
        return nullptr;
    }
}

std::shared_ptr<CCompany> CCompanyList::Remove(int32_t thisindex) {
    m_errorNumber = 0;
    if (thisindex < 1 || thisindex > Count()) {
        m_errorNumber = 351;
        return nullptr;
    }
    try {
        std::shared_ptr<CCompany> removed = m_items[thisindex - 1];
        m_items.erase(m_items.begin() + (thisindex - 1));
        return removed;
    } catch (...) {
        m_errorNumber = 313;
        return nullptr;
    }
}

std::shared_ptr<CCompany> CCompanyList::Move(int32_t fromHere, int32_t toHere) {
    std::shared_ptr<CCompany> moved = Remove(fromHere);
    if (!moved) {
        return nullptr;
    }
    return Insert(moved, toHere);
}

std::shared_ptr<CCompany> CCompanyList::Item(int32_t thisindex) const {
    if (thisindex < 1 || thisindex > Count()) {
        return nullptr;
    }
    return m_items[thisindex - 1];
}

std::shared_ptr<CCompany> CCompanyList::GetCompanyByID(int32_t theid) const {
    for (const auto& company : m_items) {
        if (company->CompanyID() == theid) {
            return company;
        }
    }
    return nullptr;
}

std::shared_ptr<CCompany> CCompanyList::GetCompanyByName(const std::string& thename) const {
    for (const auto& company : m_items) {
        if (company->CompanyName() == thename) {
            return company;
        }
    }
    return nullptr;
}

bool CCompanyList::WeedList(int32_t thecompanyid) {
    m_errorNumber = 0;
    if (thecompanyid == 0) {
        return true;
    }
    if (m_items.empty()) {
        m_errorNumber = 331;
        return true;
    }
    for (int32_t position = Count(); position >= 1; --position) {
        if (m_items[position - 1]->CompanyID() != thecompanyid) {
            Remove(position);
        }
    }
    return true;
}

bool CCompanyList::LoadList(const std::shared_ptr<CJetDB>& thedatabase) {
    m_errorNumber = 0;
    if (!thedatabase) {
        return false;
    }
    m_database = thedatabase;
    bool result = false;
    try {
        // The database takes a shared reference; a list not owned by a
        // shared_ptr lends itself through a non-owning one for the call.
        std::shared_ptr<CCompanyList> self = weak_from_this().lock();
        if (!self) {
            self = std::shared_ptr<CCompanyList>(std::shared_ptr<void>(), this);
        }
        result = thedatabase->LoadCompanyList(self);
    } catch (...) {
        result = false;
    }
    if (!result) {
        m_errorNumber = 301;
    }
    return result;
}

bool CCompanyList::SaveList() {
    m_errorNumber = 0;
    try {
        bool result = true;
        // Walk a copy: a save must not be disturbed by the list changing
        // under it.
        const std::vector<std::shared_ptr<CCompany>> items = m_items;
        for (const auto& company : items) {
            const int32_t state = company->ObjectState();
            if (state == StateUnchanged || state == -1) {
                continue;
            }
            if (!company->Save(m_database)) {
                result = false;
            }
        }
        return result;
    } catch (...) {
        return false;
    }
}

std::shared_ptr<CCompanyList> CCompanyList::Clone() const {
    try {
        auto copy = std::make_shared<CCompanyList>();
        copy->m_items = m_items;
        return copy;
    } catch (...) {
        return nullptr;
    }
}

} // namespace orvan
