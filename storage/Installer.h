#pragma once

#include <string>
#include <vector>

#include "core/DateTime.h"

namespace orvan {

// Makes new installations: the database file with its tables, stored
// queries and first rows (the schema file compiled into the library), the
// configuration file and the folders below the program folder. The
// orvan-initdb tool and the tests use the same code.
//
// Every operation returns False with a message in `message` on failure and
// leaves no half-made database behind.
class Installer {
public:
    // The schema and stored queries as one SQL text.
    static const char* SchemaSql();

    // Creates the database file at `path` (which must not exist): tables,
    // index, stored queries, the _System row (period length 13, standard shift
    // 8:00 AM to 5:00 PM) and the administrator (EmployeeID 39, the
    // CEmployee::AdministratorID), brought to the current schema version by
    // the upgrades an older file gets.
    static bool CreateDatabase(const std::string& path, std::string& message);

    // Adds a demonstration company, eight employees and four weeks of time
    // records ending with `today` (weekday shifts, a night shift across
    // midnight, one record of today still open and one forgotten clock-out
    // a few days back) to an existing database. `today` with a time of day
    // is the moment the data is made: no record starts or ends after it. A
    // date alone stands for the end of that day.
    static bool AddDemoData(const std::string& path, DateTime today, std::string& message);

    // A whole installation under `folder`: system/orvan_11.mdb,
    // system/orvan_11.cfg (kept when it exists), reports/ and documentation/.
    // Refuses to overwrite an existing database. `created` receives one line
    // per thing made.
    static bool Install(const std::string& folder, bool demo, DateTime today,
                        std::vector<std::string>& created, std::string& message);

    // The folders of an installation (the folder itself, system/, reports/,
    // documentation/), each that is missing; one line per folder made.
    // system/ and reports/ and the files in them are left private to the
    // owner and the group (storage/PrivateFiles.h), the database file too.
    static bool MakeFolders(const std::string& folder, std::vector<std::string>& created,
                            std::string& message);
    // Writes a configuration file naming `databasePath` (a file path or a
    // server address) with the login help on.
    static bool WriteConfigFile(const std::string& path, const std::string& databasePath,
                                std::vector<std::string>& created, std::string& message);
};

} // namespace orvan
