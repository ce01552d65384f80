#include "storage/CDatabaseLocator.h"

#include "storage/CFileAdaptor.h"
#include "storage/DatabaseEngine.h"
#include "storage/ProgramFolder.h"

namespace orvan {

CDatabaseLocator::CDatabaseLocator() = default;

CDatabaseLocator::~CDatabaseLocator() = default;

void CDatabaseLocator::SetConfigFile(const std::shared_ptr<CFileAdaptor>& value) {
    if (value) {
        m_configFile = value;
    }
}

bool CDatabaseLocator::GetDatabasePath() {
    try {
        if (m_configFile) {
            m_databasePath = m_configFile->FindKeyValue("DatabasePath");
        }
        // A connection URI names a server, not a file: it is kept as written.
        if (!IsServerDatabaseName(m_databasePath) &&
            m_databasePath.find("<app.path>") != std::string::npos) {
            const auto p = m_databasePath.find('>');
            m_databasePath = ProgramPath(m_databasePath.substr(p + 1));
        }
    } catch (...) {
        m_databasePath.clear();
    }
    return true;
}

} // namespace orvan
