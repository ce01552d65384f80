#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "core/DateTime.h"
#include "personnel/CEmployee.h"
#include "personnel/CEmployeeList.h"
#include "storage/CJetDB.h"
#include "support/TestDatabase.h"
#include "support/TestSupport.h"
#include "support_qt/FakeDocumentShell.h"
#include "support_qt/RecordingParent.h"
#include "support_qt/ScopedDocumentShell.h"

namespace orvan::test {

// Windows unloaded by a report are deleted from the event loop; tests run
// without one, so they deliver those deletions themselves.
void DeleteUnloadedWindows();

// The expected copy of a report file (a test failure when it is missing).
std::string Expected(const std::string& name);

// The people the report tests write about.
std::shared_ptr<CEmployee> MakeAnnLee(int32_t employeeid);
std::shared_ptr<CEmployee> MakeBobStone(int32_t employeeid);
// No first name, not active, no dates.
std::shared_ptr<CEmployee> MakeDiaz(int32_t employeeid);

std::shared_ptr<CEmployeeList> ListOf(const std::vector<std::shared_ptr<CEmployee>>& employees);

DateTime At(int year, int month, int day, int hour = 0, int minute = 0);

// A real installation as the program folder, with the program's time record
// factory on its database.
class ReportTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    std::filesystem::path ReportsFolder() const;
    std::string ReportFile(const std::string& name) const;

    // Ann Lee's records: one of the day before the period, four in the
    // period 1/15/2003 to 1/28/2003 (a night shift on its last day among
    // them, stored out of order) and one of the day after it.
    void AddAnnLeeRecords(int32_t id);

    TestDatabase m_installation;
    std::shared_ptr<CJetDB> m_database;
    ScopedTimeRecordFactory m_factory{m_installation.NewJetDB()};
    ScopedMessageBox m_messages;
    ScopedDocumentShell m_shell;
};

} // namespace orvan::test
