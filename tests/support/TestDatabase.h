#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>

#include "core/DateTime.h"
#include "storage/CJetDB.h"
#include "support/TestSupport.h"

namespace orvan::test {

// A real installation in a fresh temporary folder, made by the same code as
// orvan-initdb: system/orvan_11.mdb (schema, stored queries, _System row,
// administrator with EmployeeID 39), system/orvan_11.cfg, reports/,
// documentation/. With demo data it also holds the demonstration company,
// employees and time records (ending on `today`). Removed with the object.
class TestDatabase {
public:
    explicit TestDatabase(bool demo = false, DateTime today = DateTime::FromParts(2003, 1, 15));

    // The installation (program) folder.
    const std::filesystem::path& Folder() const { return m_dir.Path(); }
    std::string DatabasePath() const;
    std::string ConfigPath() const;

    // Makes this folder the program folder (ProgramFolder()) until the object
    // goes away.
    void UseAsProgramFolder();

    // Appends `line` and its CR LF to system/orvan_11.cfg.
    void AddConfigLine(const std::string& line) const;

    // A closed database object whose DatabaseName is this database.
    std::shared_ptr<CJetDB>
    NewJetDB(CJetDB::Variant variant = CJetDB::Variant::Administrator) const;

    // Direct SQL on the file for setting up and checking tests (opens and
    // closes the file each time). Exec fails the test on an error.
    void Exec(const std::string& sql) const;
    int64_t QueryInt(const std::string& sql) const;
    double QueryDouble(const std::string& sql) const;
    std::string QueryText(const std::string& sql) const;

    // Inserts a time record directly and returns its TimeRecordID.
    int64_t AddTimeRecord(int32_t employeeid, DateTime start, DateTime end = DateTime()) const;
    // Inserts a minimal active employee directly and returns its EmployeeID.
    int32_t AddEmployee(int32_t number, const std::string& first, const std::string& last,
                        float rate = 10.0f, float overtime = 15.0f) const;

private:
    TempDir m_dir;
    bool m_programFolderSet = false;

public:
    ~TestDatabase();
    TestDatabase(const TestDatabase&) = delete;
    TestDatabase& operator=(const TestDatabase&) = delete;
};

} // namespace orvan::test
