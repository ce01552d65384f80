#include "server/CopyEnd.h"

#include "storage/DatabaseEngine.h"
#include "storage/ServerAddress.h"

namespace orvan::server::copy {

const std::vector<Table>& Tables() {
    static const std::vector<Table> tables = {
        {"_System",
         nullptr,
         nullptr,
         false,
         {"program", "version", "period_length", "auto_shift_start_time", "auto_shift_end_time"}},
        {"Company",
         "CompanyID",
         "CompanyID",
         false,
         {"CompanyID", "Name", "Address1", "Address2", "City", "State", "ZipCode", "Phone", "Fax",
          "FederalTaxID", "URL"}},
        {"Employee",
         "EmployeeID",
         "EmployeeID",
         false,
         {"EmployeeID",
          "EmployeeNumber",
          "SSNumber",
          "FirstName",
          "LastName",
          "Address",
          "Address2",
          "City",
          "State",
          "ZipCode",
          "Phone",
          "Password",
          "PayRate",
          "OvertimePayRate",
          "DateOfBirth",
          "HireDate",
          "ReleaseDate",
          "Active",
          "CompanyID",
          "AutoDeduct",
          "AutoDeductLunchLength",
          "AutoDeductBreakLength"}},
        {"TimeRecord",
         "TimeRecordID",
         "TimeRecordID",
         false,
         {"TimeRecordID", "EmployeeID", "ShiftDate", "StartTime", "EndTime"}},
        {"_StoredQuery", nullptr, "Name", false, {"Name", "Sql"}},
        {"StationOption", nullptr, "Name", true, {"Name", "Value"}},
        {"EmployeePin", nullptr, "EmployeeID", true, {"EmployeeID", "PinHash"}},
        {"StationLockout", nullptr, "EmployeeID", true, {"EmployeeID", "WrongPins", "LockedUntil"}},
        {"PunchOffset",
         nullptr,
         "TimeRecordID",
         true,
         {"TimeRecordID", "StartOffset", "EndOffset"}},
        {"AuditEntry",
         nullptr,
         "EntryID",
         true,
         {"EntryID", "EntryTime", "Who", "Kind", "TimeRecordID", "EmployeeID", "ValueBefore",
          "ValueAfter", "Reason", "Hash"}},
        {"AdminPassword", nullptr, "EmployeeID", true, {"EmployeeID", "PasswordHash"}},
    };
    return tables;
}

std::string ColumnList(const Table& table) {
    std::string list;
    for (const char* column : table.columns) {
        list += list.empty() ? "" : ", ";
        list += column;
    }
    return list;
}

std::string SelectAll(const Table& table) {
    std::string sql = "SELECT " + ColumnList(table) + " FROM " + table.name;
    if (table.order != nullptr) {
        sql += std::string(" ORDER BY ") + table.order;
    }
    return sql;
}

std::string ShownName(const std::string& name) {
    return IsServerDatabaseName(name) ? WithoutServerPasswords(name) : name;
}

} // namespace orvan::server::copy
