#pragma once

#include <memory>
#include <string>

namespace orvan {

class CFileAdaptor;

// Finds the database file named by the configuration file's DatabasePath
// key. A value that contains "<app.path>" stands for a file under the program
// folder: everything up to and including the first ">" is replaced by the
// program folder (ProgramFolder()), and the backslashes of the rest become the
// platform's separator, so "<app.path>\system\orvan_11.mdb" becomes
// "<program folder>/system/orvan_11.mdb". Other values are kept as written;
// whoever opens the file passes the path through NativePath(). A PostgreSQL
// connection URI (postgresql://...) is never expanded or converted.
class CDatabaseLocator {
public:
    CDatabaseLocator();
    ~CDatabaseLocator();

    const std::shared_ptr<CFileAdaptor>& ConfigFile() const { return m_configFile; }
    // A null adaptor keeps the one already held.
    void SetConfigFile(const std::shared_ptr<CFileAdaptor>& value);
    // "" until GetDatabasePath has found a value.
    const std::string& DatabasePath() const { return m_databasePath; }

    // Reads the path from the configuration file (when one is held) and
    // expands "<app.path>". True in every case; DatabasePath is "" when the
    // key is missing or no adaptor is held.
    bool GetDatabasePath();

private:
    std::shared_ptr<CFileAdaptor> m_configFile;
    std::string m_databasePath;
};

} // namespace orvan
