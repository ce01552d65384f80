#pragma once

// The large installations the benchmarks run on, built once under $TMPDIR
// (or /tmp) and reused by every later run; delete the folder to rebuild.

#include <cstdint>
#include <filesystem>
#include <string>

#include "core/DateTime.h"

namespace orvan::bench {

// What an installation holds: `employees` employees numbered
// firstNumber + 1 ... firstNumber + employees, each with two shifts
// (8:00-12:00 and 12:30-17:15) on `weekdays` weekdays from FirstDay().
struct Installation {
    const char* folder; // the folder's name under $TMPDIR
    bool demo;          // installed with the demonstration data
    int employees;
    int firstNumber;
    int weekdays;
    bool contactDetails; // addresses and phones, and every tenth inactive
};

// 200 employees (1001-1200) of 2,500 weekdays: 1,000,000 time records.
inline constexpr Installation kLargeInstallation{"orvan-bench", false, 200, 1000, 2500, false};

// 1,000 employees (10001-11000, every tenth inactive) of 500 weekdays on the
// demonstration installation: 1,000,000 time records.
inline constexpr Installation kManyEmployeesInstallation{
    "orvan-admin-bench", true, 1000, 10000, 500, true};

// The first day of every employee's records: Monday, 6 January 2003.
DateTime FirstDay();

// The installation's program folder, and its database file in there.
std::filesystem::path Folder(const Installation& installation);
std::string DatabasePath(const Installation& installation);

// Builds the installation unless its database exists already. A failure is
// written to standard error and ends the program.
void BuildInstallation(const Installation& installation);

// The EmployeeID of the employee numbered `number`; ends the program when
// there is none.
int32_t EmployeeId(const Installation& installation, int number);

} // namespace orvan::bench
