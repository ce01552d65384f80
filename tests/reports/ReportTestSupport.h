#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QEvent>
#include <QWidget>

#include "core/CTimeRecordFactory.h"
#include "core/DateTime.h"
#include "core/Program.h"
#include "personnel/CEmployee.h"
#include "personnel/CEmployeeList.h"
#include "reports/IDocumentShell.h"
#include "storage/CJetDB.h"
#include "support/TestDatabase.h"
#include "support/TestSupport.h"
#include "ui/IReportParent.h"

namespace orvan::test {

// Records what is handed to the desktop shell instead of opening or printing
// anything. A missing document answers "file not found" as the desktop does;
// otherwise `answer`.
class FakeDocumentShell : public IDocumentShell {
public:
    struct Request {
        QWidget* parent;
        std::string verb;
        std::string document;
        int32_t showCommand;
    };

    int32_t Execute(QWidget* parent, const std::string& verb, const std::string& document,
                    int32_t showCommand) override {
        requests.push_back({parent, verb, document, showCommand});
        std::error_code error;
        if (!std::filesystem::exists(document, error)) {
            return ShellFileNotFound;
        }
        return answer;
    }

    std::vector<Request> requests;
    int32_t answer = ShellSuccess;
};

// Installs a FakeDocumentShell for as long as it lives.
class ScopedDocumentShell {
public:
    ScopedDocumentShell() : m_shell(std::make_shared<FakeDocumentShell>()) {
        SetDocumentShell(m_shell);
    }
    ~ScopedDocumentShell() { SetDocumentShell(nullptr); }
    ScopedDocumentShell(const ScopedDocumentShell&) = delete;
    ScopedDocumentShell& operator=(const ScopedDocumentShell&) = delete;
    FakeDocumentShell* operator->() { return m_shell.get(); }

private:
    std::shared_ptr<FakeDocumentShell> m_shell;
};

// A main window that counts the report notifications it receives.
class RecordingParent : public QWidget, public IReportParent {
public:
    bool UnloadTimeCardReport() override { return ++timeCard > 0; }
    bool UnloadReviewReport() override { return ++review > 0; }
    bool UnloadYTDTotalsReport() override { return ++ytdTotals > 0; }
    bool UnloadEmployeeReport() override { return ++employee > 0; }
    bool UnloadPhoneBookReport() override { return ++phoneBook > 0; }

    int timeCard = 0;
    int review = 0;
    int ytdTotals = 0;
    int employee = 0;
    int phoneBook = 0;
};

// Windows unloaded by a report are deleted from the event loop; tests run
// without one, so they deliver those deletions themselves.
inline void DeleteUnloadedWindows() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// The expected copy of a report file.
inline std::string Expected(const std::string& name) {
    const std::filesystem::path path = std::filesystem::path(ORVAN_REPORTS_TEST_DATA) / name;
    std::string bytes = ReadAll(path);
    EXPECT_FALSE(bytes.empty()) << "missing expected file " << path;
    return bytes;
}

// The people the report tests write about.
inline std::shared_ptr<CEmployee> MakeAnnLee(int32_t employeeid) {
    auto e = std::make_shared<CEmployee>();
    e->SetEmployeeID(employeeid);
    e->SetEmployeeNumber(1007);
    e->SetFirstName("Ann");
    e->SetLastName("Lee");
    e->SetSSN("123-45-6789");
    e->SetAddress1("12 Elm Street");
    e->SetAddress2("Suite 4");
    e->SetCity("Springfield");
    e->SetState("IL");
    e->SetZipCode("62704");
    e->SetPhone("(217) 555-0101");
    e->SetPayRate(12.5f);
    e->SetOvertimePayRate(18.75f);
    e->SetDateOfBirth(DateTime::FromParts(1970, 3, 4));
    e->SetHireDate(DateTime::FromParts(2001, 6, 1));
    e->SetEmployeeActive(true);
    e->SetAutoDeduct(true);
    e->SetAutoDeductLunchLength(30);
    e->SetAutoDeductBreakLength(15);
    return e;
}

inline std::shared_ptr<CEmployee> MakeBobStone(int32_t employeeid) {
    auto e = std::make_shared<CEmployee>();
    e->SetEmployeeID(employeeid);
    e->SetEmployeeNumber(1011);
    e->SetFirstName("Bob");
    e->SetLastName("Stone");
    e->SetSSN("555-12-3456");
    e->SetAddress1("3 Pine Court");
    e->SetCity("Springfield");
    e->SetState("IL");
    e->SetZipCode("62701");
    e->SetPhone("(217) 555-0155");
    e->SetPayRate(9.0f);
    e->SetOvertimePayRate(13.5f);
    e->SetEmployeeActive(true);
    return e;
}

// No first name, not active, no dates.
inline std::shared_ptr<CEmployee> MakeDiaz(int32_t employeeid) {
    auto e = std::make_shared<CEmployee>();
    e->SetEmployeeID(employeeid);
    e->SetEmployeeNumber(42);
    e->SetLastName("Diaz");
    e->SetSSN("987-65-4321");
    e->SetAddress1("7 Oak Road");
    e->SetCity("Peoria");
    e->SetState("IL");
    e->SetZipCode("61602");
    e->SetPhone("(309) 555-0199");
    e->SetPayRate(8.0f);
    e->SetOvertimePayRate(12.0f);
    e->SetEmployeeActive(false);
    return e;
}

inline std::shared_ptr<CEmployeeList>
ListOf(const std::vector<std::shared_ptr<CEmployee>>& employees) {
    auto list = std::make_shared<CEmployeeList>();
    for (const auto& e : employees) {
        list->Insert(e, list->Count() + 1);
    }
    return list;
}

inline DateTime At(int year, int month, int day, int hour = 0, int minute = 0) {
    return DateTime::FromParts(year, month, day, hour, minute);
}

// A real installation as the program folder, with the program's time record
// factory on its database.
class ReportTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_installation.UseAsProgramFolder();
        m_database = m_installation.NewJetDB();
        m_factory = std::make_shared<CTimeRecordFactory>();
        m_factory->SetOrvanDatabase(m_installation.NewJetDB());
        Program::SetTimeRecordFactory(m_factory);
    }

    void TearDown() override {
        DeleteUnloadedWindows();
        Program::SetTimeRecordFactory(nullptr);
    }

    std::filesystem::path ReportsFolder() const { return m_installation.Folder() / "reports"; }
    std::string ReportFile(const std::string& name) const {
        return ReadAll(ReportsFolder() / name);
    }

    // Ann Lee's records: one of the day before the period, four in the
    // period 1/15/2003 to 1/28/2003 (a night shift on its last day among
    // them, stored out of order) and one of the day after it.
    void AddAnnLeeRecords(int32_t id) {
        m_installation.AddTimeRecord(id, At(2003, 1, 16, 13, 0), At(2003, 1, 16, 18, 30));
        m_installation.AddTimeRecord(id, At(2003, 1, 15, 8, 0), At(2003, 1, 15, 17, 0));
        m_installation.AddTimeRecord(id, At(2003, 1, 16, 8, 0), At(2003, 1, 16, 12, 0));
        m_installation.AddTimeRecord(id, At(2003, 1, 28, 22, 0), At(2003, 1, 29, 6, 0));
        m_installation.AddTimeRecord(id, At(2003, 1, 14, 8, 0), At(2003, 1, 14, 17, 0));
        m_installation.AddTimeRecord(id, At(2003, 1, 29, 8, 0), At(2003, 1, 29, 12, 0));
    }

    TestDatabase m_installation;
    std::shared_ptr<CJetDB> m_database;
    std::shared_ptr<CTimeRecordFactory> m_factory;
    ScopedMessageBox m_messages;
    ScopedDocumentShell m_shell;
};

} // namespace orvan::test
