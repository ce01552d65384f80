#include "bench/support/BenchDatabase.h"

#include <sqlite3.h>

#include <cstdlib>
#include <iostream>
#include <vector>

#include "storage/Installer.h"
#include "storage/SqliteHandle.h"

namespace orvan::bench {

namespace {

namespace fs = std::filesystem;

// The day of the n-th weekday from `first`, a Monday.
DateTime Weekday(DateTime first, int n) {
    return first.AddDays((n / 5) * 7 + n % 5);
}

void Check(int rc, sqlite3* db, const char* what) {
    if (rc != SQLITE_OK && rc != SQLITE_DONE && rc != SQLITE_ROW) {
        std::cerr << what << ": " << (db != nullptr ? sqlite3_errmsg(db) : sqlite3_errstr(rc))
                  << "\n";
        std::exit(1);
    }
}

sqlite::Connection OpenOrExit(const Installation& installation) {
    int rc = SQLITE_OK;
    auto db = sqlite::Open(DatabasePath(installation), SQLITE_OPEN_READWRITE, rc);
    Check(rc, db.get(), "open");
    return db;
}

sqlite::Statement Prepare(sqlite3* db, const char* text, const char* what) {
    sqlite3_stmt* raw = nullptr;
    const int rc = sqlite3_prepare_v2(db, text, -1, &raw, nullptr);
    sqlite::Statement statement(raw);
    Check(rc, db, what);
    return statement;
}

const char* EmployeeInsert(const Installation& installation) {
    if (installation.contactDetails) {
        return "INSERT INTO Employee (EmployeeNumber, FirstName, LastName, SSNumber, Address, "
               "City, State, ZipCode, Phone, PayRate, OvertimePayRate, Active, AutoDeduct, "
               "AutoDeductLunchLength, AutoDeductBreakLength, CompanyID) VALUES (?1, "
               "'First' || ?1, 'Last' || ?1, '000-00-' || ?1, ?1 || ' Main St.', 'Springfield', "
               "'IL', '62701', '555-' || ?1, 12.5, 18.75, ?1 % 10 <> 0, ?1 % 2, 30, 15, 1)";
    }
    return "INSERT INTO Employee (EmployeeNumber, FirstName, LastName, SSNumber, "
           "PayRate, OvertimePayRate, Active, AutoDeduct, AutoDeductLunchLength, "
           "AutoDeductBreakLength, CompanyID) VALUES (?1, 'First' || ?1, "
           "'Last' || ?1, '000-00-' || ?1, 12.5, 18.75, 1, ?1 % 2, 30, 15, 1)";
}

} // namespace

DateTime FirstDay() {
    return DateTime::FromParts(2003, 1, 6);
}

fs::path Folder(const Installation& installation) {
    const char* tmp = std::getenv("TMPDIR");
    return fs::path(tmp != nullptr ? tmp : "/tmp") / installation.folder;
}

std::string DatabasePath(const Installation& installation) {
    return (Folder(installation) / "system" / "orvan_11.mdb").string();
}

void BuildInstallation(const Installation& installation) {
    const std::string path = DatabasePath(installation);
    if (fs::exists(path)) {
        return;
    }
    std::cerr << "building " << path << " ...\n";
    const DateTime first = FirstDay();
    std::vector<std::string> created;
    std::string message;
    if (!Installer::Install(Folder(installation).string(), installation.demo, first, created,
                            message)) {
        std::cerr << message << "\n";
        std::exit(1);
    }
    const auto db = OpenOrExit(installation);
    Check(sqlite3_exec(db.get(), "BEGIN", nullptr, nullptr, nullptr), db.get(), "begin");
    {
        const auto employee = Prepare(db.get(), EmployeeInsert(installation), "prepare employee");
        const auto record = Prepare(db.get(),
                                    "INSERT INTO TimeRecord (EmployeeID, StartTime, EndTime) "
                                    "VALUES (?1, ?2, ?3)",
                                    "prepare record");
        for (int e = 1; e <= installation.employees; ++e) {
            sqlite3_bind_int(employee.get(), 1, installation.firstNumber + e);
            Check(sqlite3_step(employee.get()), db.get(), "employee");
            sqlite3_reset(employee.get());
            const auto id = static_cast<int>(sqlite3_last_insert_rowid(db.get()));
            for (int d = 0; d < installation.weekdays; ++d) {
                const DateTime day = Weekday(first, d);
                const int shifts[2][4] = {{8, 0, 12, 0}, {12, 30, 17, 15}};
                for (const auto& s : shifts) {
                    sqlite3_bind_int(record.get(), 1, id);
                    sqlite3_bind_double(record.get(), 2, day.AddMinutes(s[0] * 60 + s[1]).Days());
                    sqlite3_bind_double(record.get(), 3, day.AddMinutes(s[2] * 60 + s[3]).Days());
                    Check(sqlite3_step(record.get()), db.get(), "record");
                    sqlite3_reset(record.get());
                }
            }
        }
    }
    Check(sqlite3_exec(db.get(), "COMMIT", nullptr, nullptr, nullptr), db.get(), "commit");
}

int32_t EmployeeId(const Installation& installation, int number) {
    const auto db = OpenOrExit(installation);
    const auto s =
        Prepare(db.get(), "SELECT EmployeeID FROM Employee WHERE EmployeeNumber = ?1", "prepare");
    sqlite3_bind_int(s.get(), 1, number);
    if (sqlite3_step(s.get()) != SQLITE_ROW) {
        std::cerr << "no employee numbered " << number << " in " << DatabasePath(installation)
                  << "\n";
        std::exit(1);
    }
    return sqlite3_column_int(s.get(), 0);
}

} // namespace orvan::bench
