// orvan-initdb DIR [--demo]: makes a new Orvan installation under DIR.
// orvan-initdb DIR --server URI [--demo]: the same with its database on a
// PostgreSQL server. orvan-initdb --copy FROM TO: copies a database between
// a file and a server (or two files). orvan-initdb --verify-audit DIR|URI:
// checks the audit trail's hash chain. orvan-initdb --reset-admin-password
// DIR: puts the administrator's first-time password back. orvan-initdb
// --restore BACKUP DIR: puts a copy from backups/ back as DIR's database.

#include <filesystem>
#include <fstream>
#include <iostream>
#include <memory>
#include <optional>
#include <system_error>
#include <string>
#include <vector>

#include "core/DateTime.h"
#include "server/CopyEnd.h"
#include "server/DatabaseCopy.h"
#include "server/PgEngine.h"
#include "storage/AuditTrail.h"
#include "storage/CDatabaseLocator.h"
#include "storage/CFileAdaptor.h"
#include "storage/CJetDB.h"
#include "storage/DatabaseBackup.h"
#include "storage/DatabaseEngine.h"
#include "storage/Installer.h"
#include "storage/ProgramFolder.h"
#include "storage/ProgramStartUp.h"
#include "storage/ServerAddress.h"
#include "storage/StationStore.h"

namespace {

void Usage(std::ostream& out) {
    out << "usage: orvan-initdb DIR [--demo]\n"
           "       orvan-initdb DIR --server URI [--demo]\n"
           "       orvan-initdb --copy FROM TO\n"
           "       orvan-initdb --verify-audit DIR|URI\n"
           "       orvan-initdb --reset-admin-password DIR\n"
           "       orvan-initdb --restore BACKUP DIR\n"
           "  Creates DIR/system/orvan_11.mdb, DIR/system/orvan_11.cfg, DIR/reports/ and\n"
           "  DIR/documentation/ with the user's guide OrvanAdminUserGuide.doc and its HTML\n"
           "  page OrvanAdminUserGuide.html (taken from beside this program). --demo adds a "
           "company, eight employees and four weeks\n"
           "  of time records. An existing database is never overwritten.\n"
           "  --server URI puts the database on an empty PostgreSQL database instead\n"
           "  (postgresql://user@host:port/dbname; the password belongs in ~/.pgpass or\n"
           "  PGPASSWORD) and points DIR/system/orvan_11.cfg at it.\n"
           "  --copy copies every table from FROM to TO, each a database file or a server\n"
           "  URI, in one transaction; a missing destination file is created, an existing\n"
           "  destination must be empty.\n"
           "  --verify-audit checks the audit trail of the installation in DIR (its\n"
           "  system/orvan_11.mdb, or a database file named directly) or of a server\n"
           "  URI: every entry must be in its place and match its hash. Names the first\n"
           "  broken entry and exits with status 1 when the chain is broken.\n"
           "  --reset-admin-password puts the administrator's first-time password back in\n"
           "  the database the configuration file DIR/system/orvan_11.cfg names, for an\n"
           "  owner who forgot the changed one; the change is on the audit trail.\n"
           "  --restore puts the copy BACKUP (one of DIR/backups/orvan_11-YYYY-MM-DD.mdb,\n"
           "  which the programs make every day) back as the database the configuration\n"
           "  file DIR/system/orvan_11.cfg names. BACKUP must pass SQLite's integrity\n"
           "  check and hold the Orvan tables. Refused while a program is using the\n"
           "  database; the replaced file is kept beside it as\n"
           "  orvan_11.mdb.replaced-YYYYMMDD-HHMMSS. A database on a PostgreSQL server is\n"
           "  restored with pg_restore instead.\n";
}

namespace fs = std::filesystem;

constexpr const char* GuideName = "OrvanAdminUserGuide.doc";

// The user's guide lies beside this program, in the build's bin/ folder as
// in an installed program folder.
fs::path GuideSource() {
    return fs::path(orvan::ProgramFolder()) / GuideName;
}

// Copies the guide into the installation's documentation folder: the
// document, and the HTML page with its pictures (the help window's
// fallback), every file beside this program whose name begins with the
// guide's.
bool ShipGuide(const std::string& folder, std::vector<std::string>& created, std::string& message) {
    const fs::path documentation = fs::path(folder) / "documentation";
    std::vector<fs::path> files{GuideSource()};
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(GuideSource().parent_path(), error)) {
        const std::string name = entry.path().filename().string();
        if (name.rfind("OrvanAdminUserGuide", 0) == 0 && name != GuideName &&
            entry.is_regular_file(error)) {
            files.push_back(entry.path());
        }
    }
    for (const fs::path& from : files) {
        const fs::path target = documentation / from.filename();
        fs::copy_file(from, target, fs::copy_options::overwrite_existing, error);
        if (error) {
            message = "the user's guide could not be copied to " + target.string() + ": " +
                      error.message();
            return false;
        }
        created.push_back(target.string());
    }
    return true;
}

// The installation folder of a server database: the folders, the guide and
// a configuration file naming the server. An existing configuration file is
// not replaced (checked before the server is touched).
bool WriteServerFolder(const std::string& folder, const std::string& uri,
                       std::vector<std::string>& created, std::string& message) {
    return orvan::Installer::MakeFolders(folder, created, message) &&
           orvan::Installer::WriteConfigFile(
               (fs::path(folder) / "system" / "orvan_11.cfg").string(), uri, created, message);
}

int Copy(const std::string& from, const std::string& to) {
    orvan::server::CopyReport report;
    std::string message;
    const bool ok = orvan::server::CopyDatabase(from, to, report, message);
    for (const auto& line : report) {
        std::cout << orvan::WithoutServerPasswords(line) << "\n";
    }
    if (!ok) {
        std::cerr << "orvan-initdb: " << orvan::WithoutServerPasswords(message) << "\n";
        return 1;
    }
    return 0;
}

// The database --verify-audit reads: a server URI as it is, an
// installation folder's database file, or a database file itself.
std::string AuditedDatabase(const std::string& target) {
    if (orvan::IsServerDatabaseName(target)) {
        return target;
    }
    const fs::path installed = fs::path(target) / "system" / "orvan_11.mdb";
    std::error_code error;
    return fs::is_directory(target, error) ? installed.string() : target;
}

int VerifyAudit(const std::string& target) {
    const std::string name = AuditedDatabase(target);
    std::error_code error;
    if (!orvan::IsServerDatabaseName(name) && !fs::is_regular_file(name, error)) {
        std::cerr << "orvan-initdb: no database file " << orvan::WithoutServerPasswords(name)
                  << "\n";
        return 1;
    }
    orvan::server::RegisterEngine();
    orvan::CJetDB database;
    database.SetDatabaseName(name);
    const auto entries = orvan::audit::ReadAll(database);
    if (!entries) {
        std::cerr << "orvan-initdb: cannot read the audit trail of "
                  << orvan::server::copy::ShownName(name) << ": "
                  << orvan::WithoutServerPasswords(database.EngineMessage()) << "\n";
        return 1;
    }
    const orvan::audit::Verification result = orvan::audit::Verify(*entries);
    (result.intact ? std::cout : std::cerr)
        << orvan::WithoutServerPasswords(orvan::audit::Describe(result)) << "\n";
    return result.intact ? 0 : 1;
}

// The configuration file of the installation in `folder` and the database
// it names, "<app.path>" read as that folder (which becomes the program
// folder). Nothing, after saying so, when there is no configuration file.
struct ConfiguredDatabase {
    std::shared_ptr<orvan::CFileAdaptor> config;
    std::string name;
};

std::optional<ConfiguredDatabase> ReadConfiguredDatabase(const std::string& folder) {
    const fs::path config = fs::path(folder) / "system" / "orvan_11.cfg";
    auto file = std::make_shared<orvan::CFileAdaptor>();
    std::error_code error;
    if (!fs::is_regular_file(config, error) || !file->ReadFile(config.string())) {
        std::cerr << "orvan-initdb: no configuration file " << config.string()
                  << " to name the database\n";
        return std::nullopt;
    }
    orvan::SetProgramFolder(fs::absolute(folder, error).string());
    orvan::CDatabaseLocator locator;
    locator.SetConfigFile(file);
    locator.GetDatabasePath();
    return ConfiguredDatabase{file, locator.DatabasePath()};
}

int ResetAdminPassword(const std::string& folder) {
    const std::optional<ConfiguredDatabase> configured = ReadConfiguredDatabase(folder);
    if (!configured) {
        return 1;
    }
    const std::string& name = configured->name;
    std::error_code error;
    if (!orvan::IsServerDatabaseName(name) && !fs::is_regular_file(name, error)) {
        std::cerr << "orvan-initdb: no database file " << orvan::WithoutServerPasswords(name)
                  << "\n";
        return 1;
    }
    orvan::server::RegisterEngine();
    auto database = std::make_shared<orvan::CJetDB>();
    database->SetDatabaseName(name);
    orvan::audit::SetWho("orvan-initdb");
    orvan::StationStore store(database);
    if (!store.ResetAdminPassword()) {
        std::cerr << "orvan-initdb: the administrator's password could not be reset in "
                  << orvan::server::copy::ShownName(name) << ": " << database->EngineMessage()
                  << "\n";
        return 1;
    }
    std::cout << "The administrator's password is the first-time password again; change it "
                 "under File, Change Password.\n";
    return 0;
}

int Restore(const std::string& backupFile, const std::string& folder) {
    const std::optional<ConfiguredDatabase> configured = ReadConfiguredDatabase(folder);
    if (!configured) {
        return 1;
    }
    const std::string& name = configured->name;
    if (name.empty()) {
        std::cerr << "orvan-initdb: " << (fs::path(folder) / "system" / "orvan_11.cfg").string()
                  << " names no database\n";
        return 1;
    }
    if (orvan::IsServerDatabaseName(name)) {
        std::cerr << "orvan-initdb: the database of " << folder
                  << " is on a PostgreSQL server; restore it with pg_restore (see the user's "
                     "guide, Backing up the database file)\n";
        return 1;
    }
    std::string replaced;
    std::string reason;
    if (!orvan::backup::RestoreDatabase(backupFile, name,
                                        orvan::ConfiguredBusyTimeout(*configured->config),
                                        orvan::DateTime::Now(), replaced, reason)) {
        std::cerr << "orvan-initdb: " << backupFile << " was not restored: " << reason << "\n";
        return 1;
    }
    std::cout << "Restored " << backupFile << " as " << orvan::NativePath(name) << "\n";
    if (!replaced.empty()) {
        std::cout << "The replaced database is kept as " << replaced << "\n";
    }
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    std::string folder;
    std::string server;
    std::vector<std::string> copy;
    bool demo = false;
    bool copying = false;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--demo") {
            demo = true;
        } else if (arg == "-h" || arg == "--help") {
            Usage(std::cout);
            return 0;
        } else if (arg == "--server") {
            if (i + 1 >= argc || !server.empty()) {
                std::cerr << "orvan-initdb: --server needs one connection URI\n";
                Usage(std::cerr);
                return 2;
            }
            server = argv[++i];
        } else if (arg == "--copy") {
            copying = true;
        } else if (arg == "--verify-audit") {
            if (argc != 3 || i != 1) {
                std::cerr << "orvan-initdb: --verify-audit takes one folder, file or URI and "
                             "nothing else\n";
                Usage(std::cerr);
                return 2;
            }
            return VerifyAudit(argv[2]);
        } else if (arg == "--reset-admin-password") {
            if (argc != 3 || i != 1) {
                std::cerr << "orvan-initdb: --reset-admin-password takes one installation "
                             "folder and nothing else\n";
                Usage(std::cerr);
                return 2;
            }
            return ResetAdminPassword(argv[2]);
        } else if (arg == "--restore") {
            if (argc != 4 || i != 1) {
                std::cerr << "orvan-initdb: --restore takes one backup file and one "
                             "installation folder and nothing else\n";
                Usage(std::cerr);
                return 2;
            }
            return Restore(argv[2], argv[3]);
        } else if (!arg.empty() && arg[0] == '-') {
            std::cerr << "orvan-initdb: unknown option " << arg << "\n";
            Usage(std::cerr);
            return 2;
        } else if (copying) {
            copy.push_back(arg);
        } else if (folder.empty()) {
            folder = arg;
        } else {
            std::cerr << "orvan-initdb: only one folder may be given\n";
            Usage(std::cerr);
            return 2;
        }
    }
    if (copying) {
        if (copy.size() != 2 || !folder.empty() || !server.empty() || demo) {
            std::cerr << "orvan-initdb: --copy takes a source and a destination and nothing "
                         "else\n";
            Usage(std::cerr);
            return 2;
        }
        return Copy(copy[0], copy[1]);
    }
    if (folder.empty()) {
        Usage(std::cerr);
        return 2;
    }
    if (!server.empty() && !orvan::IsServerDatabaseName(server)) {
        std::cerr << "orvan-initdb: " << orvan::WithoutServerPasswords(server)
                  << " is not a PostgreSQL connection URI (postgresql://user@host:port/dbname)\n";
        return 2;
    }

    // Checked first, so that a program folder without its guide makes nothing.
    if (!fs::is_regular_file(GuideSource())) {
        std::cerr << "orvan-initdb: the user's guide " << GuideSource().string()
                  << " is missing; install the program folder again\n";
        return 1;
    }

    std::vector<std::string> created;
    std::string message;
    bool ok = false;
    if (server.empty()) {
        ok = orvan::Installer::Install(folder, demo, orvan::DateTime::Now(), created, message) &&
             ShipGuide(folder, created, message);
    } else {
        const fs::path config = fs::path(folder) / "system" / "orvan_11.cfg";
        std::error_code error;
        if (fs::exists(config, error)) {
            message = "A configuration file already exists at " + config.string() +
                      "; nothing was changed.";
        } else {
            ok = orvan::server::CreateServerDatabase(server, demo, orvan::DateTime::Now(), created,
                                                     message) &&
                 WriteServerFolder(folder, server, created, message) &&
                 ShipGuide(folder, created, message);
        }
    }
    for (const auto& line : created) {
        std::cout << orvan::WithoutServerPasswords(line) << "\n";
    }
    if (!ok) {
        std::cerr << "orvan-initdb: " << orvan::WithoutServerPasswords(message) << "\n";
        return 1;
    }
    return 0;
}
