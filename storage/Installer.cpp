#include "storage/Installer.h"

#include <sqlite3.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <memory>

#include "personnel/CCompany.h"
#include "personnel/CEmployee.h"
#include "storage/CJetDB.h"
#include "storage/EngineError.h"
#include "storage/FileReplacement.h"
#include "storage/PersonnelStore.h"
#include "storage/PrivateFiles.h"
#include "storage/Recordset.h"
#include "storage/SqliteEngine.h"
#include "storage/SqliteHandle.h"

namespace orvan {

extern const char kSchemaSql[];

namespace fs = std::filesystem;

namespace {

struct DemoEmployee {
    int32_t number;
    const char* first;
    const char* last;
    const char* ssn;
    const char* address;
    const char* phone;
    float rate;
    bool autoDeduct;
    int16_t lunch;
    int16_t breakLength;
    int shift; // 0 day shift, 1 early shift, 2 night shift
};

const DemoEmployee kDemoEmployees[] = {
    {1001, "Margaret", "Okafor", "512-44-1093", "14 Linden Street", "(608) 555-0141", 18.50f, true,
     30, 15, 0},
    {1002, "José", "Álvarez", "498-22-7310", "207 Harbor Road", "(608) 555-0187", 15.25f, true, 30,
     0, 1},
    {1003, "Anna", "Müller", "533-81-2246", "9 Orchard Lane", "(608) 555-0112", 16.00f, false, 0, 0,
     0},
    {1004, "David", "Chen", "471-63-9058", "88 Mill Pond Drive", "(608) 555-0163", 21.75f, true, 45,
     15, 1},
    {1005, "Priya", "Raman", "520-17-4482", "3120 Prairie Avenue", "(608) 555-0129", 14.50f, false,
     0, 0, 0},
    {1006, "Thomas", "O'Brien", "465-90-3317", "41 Canal Street", "(608) 555-0175", 17.00f, true,
     30, 15, 2},
    {1007, "Kristin", "Halvorsen", "509-36-8821", "12 Birch Court", "(608) 555-0196", 19.25f, true,
     30, 15, 0},
    {1008, "Samuel", "Adeyemi", "488-52-6604", "765 Willow Way", "(608) 555-0158", 13.75f, false, 0,
     0, 1},
};

bool Exec(sqlite3* db, const char* sql, std::string& message) {
    char* error = nullptr;
    if (sqlite3_exec(db, sql, nullptr, nullptr, &error) != SQLITE_OK) {
        message = error != nullptr ? error : sqlite3_errmsg(db);
        sqlite3_free(error);
        return false;
    }
    return true;
}

// A small fixed sequence so every demo installation looks the same for a
// given day.
class Jitter {
public:
    int Next(int range) {
        m_state = m_state * 1103515245u + 12345u;
        return static_cast<int>((m_state >> 16) % static_cast<unsigned>(range));
    }

private:
    unsigned m_state = 20030115u;
};

} // namespace

const char* Installer::SchemaSql() {
    return kSchemaSql;
}

bool Installer::CreateDatabase(const std::string& path, std::string& message) {
    std::error_code ec;
    if (fs::exists(path, ec)) {
        message = "A database already exists at " + path + "; it is left unchanged.";
        return false;
    }
    // SQLite makes a missing file with the umask's mode; an empty file made
    // here private counts as a new database, and its journals take its mode.
    if (!CreatePrivateFile(path)) {
        message = "Cannot create " + path + ": " + std::strerror(errno);
        return false;
    }
    bool ok = false;
    {
        int rc = SQLITE_OK;
        const sqlite::Connection db =
            sqlite::Open(path, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, rc);
        if (rc != SQLITE_OK) {
            message =
                "Cannot create " + path + ": " + (db ? sqlite3_errmsg(db.get()) : "out of memory");
        } else {
            // The schema as first made, then the same upgrades an older file
            // gets when it is opened, so a new file is at the current version.
            ok = Exec(db.get(), "BEGIN EXCLUSIVE", message) && Exec(db.get(), kSchemaSql, message);
            if (ok && SqliteEngine::UpgradeSchema(db.get()) != SQLITE_OK) {
                message = sqlite3_errmsg(db.get());
                ok = false;
            }
            ok = ok && Exec(db.get(), "COMMIT", message);
            if (!ok) {
                message = "Cannot create the database " + path + ": " + message;
            }
        }
    } // closed before a failed file is removed
    if (!ok) {
        fs::remove(path, ec);
    }
    return ok;
}

bool Installer::AddDemoData(const std::string& path, DateTime today, std::string& message) {
    auto db = std::make_shared<CJetDB>();
    db->SetDatabaseName(path);

    auto company = std::make_shared<CCompany>();
    company->SetCompanyName("Lindqvist & Sons Bakery");
    company->SetAddress1("1200 Regent Street");
    company->SetAddress2("Suite 4");
    company->SetCity("Madison");
    company->SetState("WI");
    company->SetZipCode("53715");
    company->SetPhone("(608) 555-0100");
    company->SetFax("(608) 555-0101");
    company->SetFederalTaxID("39-1827364");
    company->SetURL("www.lindqvistbakery.example");
    if (!db->AddNewCompany(company)) {
        message = "Cannot add the demonstration company (error " +
                  std::to_string(db->ErrorNumber()) + ").";
        return false;
    }

    int index = 0;
    for (const auto& d : kDemoEmployees) {
        auto e = std::make_shared<CEmployee>();
        e->SetEmployeeNumber(d.number);
        e->SetFirstName(d.first);
        e->SetLastName(d.last);
        e->SetSSN(d.ssn);
        e->SetAddress1(d.address);
        e->SetCity("Madison");
        e->SetState("WI");
        e->SetZipCode("53703");
        e->SetPhone(d.phone);
        e->SetPayRate(d.rate);
        e->SetOvertimePayRate(d.rate * 1.5f);
        e->SetDateOfBirth(DateTime::FromParts(1968 + index * 3, 1 + index, 3 + index * 3));
        e->SetHireDate(DateTime::FromParts(2015 + index % 6, 2 + index, 1));
        e->SetEmployeeActive(true);
        e->SetCompanyID(1);
        e->SetAutoDeduct(d.autoDeduct);
        e->SetAutoDeductLunchLength(d.lunch);
        e->SetAutoDeductBreakLength(d.breakLength);
        // Straight to the table: the demonstration's employees are where
        // the audit trail starts, not changes on it.
        if (!PersonnelStore(*db).AddNewEmployee(e)) {
            message = "Cannot add the demonstration employee " + std::string(d.last) + " (error " +
                      std::to_string(db->ErrorNumber()) + ").";
            return false;
        }
        ++index;
    }

    int rc = SQLITE_OK;
    const sqlite::Connection raw = sqlite::Open(path, SQLITE_OPEN_READWRITE, rc);
    if (rc != SQLITE_OK) {
        message = "Cannot reopen " + path + " for the demonstration time records.";
        return false;
    }
    bool ok = Exec(raw.get(), "BEGIN EXCLUSIVE", message);
    sqlite::Statement insert;
    try {
        insert = sqlite::PrepareOne(
            raw.get(), "INSERT INTO TimeRecord (EmployeeID, StartTime, EndTime) "
                       "SELECT EmployeeID, ?2, ?3 FROM Employee WHERE EmployeeNumber = ?1");
    } catch (const EngineError& e) {
        message = e.what();
        ok = false;
    }
    Jitter jitter;
    const DateTime first = today.DatePart().AddDays(-28);
    // Nothing starts or ends after the moment the demonstration is made (a
    // date alone stands for the end of that day), so no shift lies in the
    // future and no one is at work who has not clocked in.
    const DateTime madeAt = today == today.DatePart() ? today.AddDays(1) : today;
    // One forgotten clock-out for the missing clock-outs report: the early
    // shift of the last working day at least two days back.
    int forgottenDay = -1;
    for (int day = 26; day >= 20 && forgottenDay < 0; --day) {
        const int weekday = first.AddDays(day).Weekday();
        if (weekday != 1 && weekday != 7) {
            forgottenDay = day;
        }
    }
    for (int day = 0; ok && day <= 28; ++day) {
        const DateTime date = first.AddDays(day);
        const int weekday = date.Weekday();
        const bool isToday = day == 28;
        for (const auto& d : kDemoEmployees) {
            if (!ok || weekday == 1 || (weekday == 7 && d.shift != 2)) {
                continue;
            }
            DateTime start;
            DateTime end;
            if (d.shift == 0) {
                start = date.AddMinutes(7 * 60 + 50 + jitter.Next(20));
                end = date.AddMinutes(16 * 60 + 55 + jitter.Next(50));
            } else if (d.shift == 1) {
                start = date.AddMinutes(5 * 60 + 55 + jitter.Next(10));
                end = date.AddMinutes(14 * 60 + 25 + jitter.Next(15));
            } else {
                // The night shift starts before midnight and ends the next morning.
                start = date.AddMinutes(21 * 60 + 55 + jitter.Next(10));
                end = date.AddDays(1).AddMinutes(6 * 60 + jitter.Next(40));
            }
            if (isToday) {
                // Today: one employee has clocked in and not yet out.
                if (d.number != 1001) {
                    continue;
                }
                end = DateTime();
            }
            if (d.number == 1008 && day == forgottenDay) {
                end = DateTime();
            }
            // A shift not yet begun is left out, and so is one under way,
            // but for the open records above.
            if (madeAt < start || (!end.IsZero() && madeAt < end)) {
                continue;
            }
            sqlite3_bind_int(insert.get(), 1, d.number);
            sqlite3_bind_double(insert.get(), 2, start.Days());
            sqlite3_bind_double(insert.get(), 3, end.Days());
            ok = sqlite3_step(insert.get()) == SQLITE_DONE;
            sqlite3_reset(insert.get());
        }
    }
    if (!ok && message.empty()) {
        message = sqlite3_errmsg(raw.get());
    }
    insert.reset();
    ok = ok && Exec(raw.get(), "COMMIT", message);
    if (!ok) {
        message = "Cannot add the demonstration time records: " + message;
    }
    return ok;
}

bool Installer::Install(const std::string& folder, bool demo, DateTime today,
                        std::vector<std::string>& created, std::string& message) {
    std::error_code ec;
    const fs::path root(folder);
    const fs::path system = root / "system";
    const fs::path database = system / "orvan_11.mdb";
    const fs::path config = system / "orvan_11.cfg";
    if (fs::exists(database, ec)) {
        message = "A database already exists at " + database.string() + "; nothing was changed.";
        return false;
    }
    if (!MakeFolders(folder, created, message)) {
        return false;
    }

    // Build the database beside its final name and move it in place only
    // when complete, so a failure leaves nothing that looks like a database.
    const fs::path building = system / "orvan_11.mdb.new";
    fs::remove(building, ec);
    bool ok = CreateDatabase(building.string(), message);
    if (ok && demo) {
        ok = AddDemoData(building.string(), today, message);
    }
    if (ok && ::link(building.c_str(), database.c_str()) != 0) {
        message = "Cannot create " + database.string() + ": " + std::strerror(errno);
        ok = false;
    }
    fs::remove(building, ec);
    fs::remove(system / "orvan_11.mdb.new-journal", ec);
    if (!ok) {
        return false;
    }
    created.push_back("created database " + database.string() +
                      (demo ? " (with demonstration data)" : ""));

    if (fs::exists(config, ec)) {
        created.push_back("kept existing configuration " + config.string());
        return true;
    }
    return WriteConfigFile(config.string(), "<app.path>\\system\\orvan_11.mdb", created, message);
}

bool Installer::MakeFolders(const std::string& folder, std::vector<std::string>& created,
                            std::string& message) {
    std::error_code ec;
    const fs::path root(folder);
    for (const fs::path& dir : {root, root / "system", root / "reports", root / "documentation"}) {
        if (fs::is_directory(dir, ec)) {
            continue;
        }
        // The folders that hold personal data are private to the owner and
        // the group; the installation folder and the guide's are not.
        const bool isPrivate = dir != root && dir.filename() != "documentation";
        if (isPrivate ? !MakePrivateFolder(dir.string())
                      : (!fs::create_directories(dir, ec) || ec)) {
            const std::string reason = isPrivate ? std::string(std::strerror(errno)) : ec.message();
            message = "Cannot create the folder " + dir.string() + ": " + reason;
            return false;
        }
        created.push_back("created folder " + dir.string());
    }
    MakeInstallationPrivate(folder);
    return true;
}

bool Installer::WriteConfigFile(const std::string& path, const std::string& databasePath,
                                std::vector<std::string>& created, std::string& message) {
    if (!ReplaceFileContent(path,
                            "DatabasePath=" + databasePath + "\r\n" + "ShowLoginHelp=True\r\n")) {
        message = "Cannot write the configuration file " + path + ".";
        return false;
    }
    created.push_back("created configuration " + path);
    return true;
}

} // namespace orvan
