#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "personnel/CCompany.h"
#include "personnel/PersonnelList.h"

namespace orvan {

// The ordered collection of companies, positions 1 to Count, with the list
// mechanics of PersonnelList and the lookups below.
class CCompanyList : public PersonnelList<CCompanyList, CCompany> {
public:
    CCompanyList() = default;
    ~CCompanyList() = default;

    // Lookups return the first match in list order, or null.
    std::shared_ptr<CCompany> GetCompanyByID(int32_t theid) const;
    // Matches CompanyName exactly, case-sensitive.
    std::shared_ptr<CCompany> GetCompanyByName(const std::string& thename) const;

private:
    friend class PersonnelList<CCompanyList, CCompany>;
    static bool LoadFrom(CJetDB& database, const std::shared_ptr<CCompanyList>& list);
};

} // namespace orvan
