#include "personnel/CCompanyList.h"

#include "storage/CJetDB.h"

namespace orvan {

std::shared_ptr<CCompany> CCompanyList::GetCompanyByID(int32_t theid) const {
    return FindFirst([theid](const CCompany& c) { return c.CompanyID() == theid; });
}

std::shared_ptr<CCompany> CCompanyList::GetCompanyByName(const std::string& thename) const {
    return FindFirst([&thename](const CCompany& c) { return c.CompanyName() == thename; });
}

bool CCompanyList::LoadFrom(CJetDB& database, const std::shared_ptr<CCompanyList>& list) {
    return database.LoadCompanyList(list);
}

} // namespace orvan
