// What the database layer must never do with a file or a value it cannot
// handle: keep the file locked, write into a file it refuses, or narrow a
// stored number into another one.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "core/ErrorNumbers.h"
#include "personnel/CCompanyList.h"
#include "personnel/CEmployeeList.h"
#include "storage/CJetDB.h"
#include "storage/CSystemOptions.h"
#include "storage/EngineError.h"
#include "storage/JetDialect.h"
#include "storage/Recordset.h"
#include "support/FileRelease.h"
#include "support/TestDatabase.h"

namespace orvan {
namespace {

namespace fs = std::filesystem;

bool LoadEmployees(const std::shared_ptr<CJetDB>& db, std::shared_ptr<CEmployeeList>& list) {
    list = std::make_shared<CEmployeeList>();
    return db->LoadEmployeeList(list);
}

TEST(DialectTranslation, RewritesOnlyWhatIsOutsideQuotes) {
    // Each statement in Jet's dialect, SQLite's and PostgreSQL's.
    struct Case {
        const char* jet;
        const char* sqlite;
        const char* postgres;
    };
    const Case cases[] = {
        {"SELECT * FROM TimeRecord WHERE StartTime >= #1/15/2003#;",
         "SELECT * FROM TimeRecord WHERE StartTime >= 37636.0;",
         "SELECT * FROM TimeRecord WHERE StartTime >= 37636.0;"},
        {"SELECT #8:00:00 AM# AS t;", "SELECT 0.3333333333333333 AS t;",
         "SELECT 0.3333333333333333 AS t;"},
        // A # inside either kind of quotes is text, not a date literal.
        {"SELECT '#1/15/2003#' AS t FROM _System;", "SELECT '#1/15/2003#' AS t FROM _System;",
         "SELECT '#1/15/2003#' AS t FROM _System;"},
        {"SELECT \"a#b\" FROM x WHERE y = 'it''s [not] #a#';",
         "SELECT \"a#b\" FROM x WHERE y = 'it''s [not] #a#';",
         "SELECT \"a#b\" FROM x WHERE y = 'it''s [not] #a#';"},
        // Brackets become quoted names; quotes inside them stay part of the
        // name. PostgreSQL takes a plain name as it is (the server folds it
        // as it folded the table's names) and quotes the others in lower case.
        {"SELECT [it's] FROM [_System];", "SELECT \"it's\" FROM \"_System\";",
         "SELECT \"it's\" FROM _System;"},
        // The key of the connection's last new row, in any letter case; a
        // longer word or one in quotes is left alone.
        {"INSERT INTO PunchOffset VALUES (@@IDENTITY, -300, Null);",
         "INSERT INTO PunchOffset VALUES (last_insert_rowid(), -300, Null);",
         "INSERT INTO PunchOffset VALUES (lastval(), -300, Null);"},
        {"SELECT @@identity, @@IDENTITYX, '@@IDENTITY';",
         "SELECT last_insert_rowid(), @@IDENTITYX, '@@IDENTITY';",
         "SELECT lastval(), @@IDENTITYX, '@@IDENTITY';"},
        {"SELECT [a\"b] FROM [Time Record];", "SELECT \"a\"\"b\" FROM \"Time Record\";",
         "SELECT \"a\"\"b\" FROM \"time record\";"},
        {"SELECT [TimeRecord].[StartTime], [2nd] FROM [TimeRecord];",
         "SELECT \"TimeRecord\".\"StartTime\", \"2nd\" FROM \"TimeRecord\";",
         "SELECT TimeRecord.StartTime, \"2nd\" FROM TimeRecord;"},
        {"SELECT [Order], [user], [Name] FROM [Select];",
         "SELECT \"Order\", \"user\", \"Name\" FROM \"Select\";",
         "SELECT \"order\", \"user\", Name FROM \"select\";"},
        // DELETE with and without a column list.
        {"DELETE TimeRecord.* FROM TimeRecord WHERE TimeRecordID = 3;",
         "DELETE FROM TimeRecord WHERE TimeRecordID = 3;",
         "DELETE FROM TimeRecord WHERE TimeRecordID = 3;"},
        {"DELETE * FROM TimeRecord;", "DELETE FROM TimeRecord;", "DELETE FROM TimeRecord;"},
        {"DELETE FROM TimeRecord WHERE TimeRecordID = 3;",
         "DELETE FROM TimeRecord WHERE TimeRecordID = 3;",
         "DELETE FROM TimeRecord WHERE TimeRecordID = 3;"},
        // Qualified SET columns, also of a quoted or bracketed table name.
        {"UPDATE [_System] SET _System.period_length = 6, [_System].version = 'x';",
         "UPDATE \"_System\" SET period_length = 6, version = 'x';",
         "UPDATE _System SET period_length = 6, version = 'x';"},
        {"UPDATE \"TimeRecord\" SET TimeRecord.EndTime = #1/15/2003 5:00:00 PM# WHERE "
         "TimeRecord.TimeRecordID = 2;",
         "UPDATE \"TimeRecord\" SET EndTime = 37636.708333333336 WHERE TimeRecordID = 2;",
         "UPDATE \"TimeRecord\" SET EndTime = 37636.708333333336 WHERE TimeRecordID = 2;"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(TranslateJetStatement(c.jet), c.sqlite) << c.jet;
        EXPECT_EQ(TranslateJetStatement(c.jet, SqlDialect::Sqlite), c.sqlite) << c.jet;
        EXPECT_EQ(TranslateJetStatement(c.jet, SqlDialect::PostgreSql), c.postgres) << c.jet;
    }

    // A date literal that is no date, or that never closes, is a syntax error
    // in the statement, never passed on as it stands.
    for (const char* bad : {"SELECT #13/45/2003# FROM _System;", "SELECT #1/15/2003 FROM _System;",
                            "SELECT ## FROM _System;", "SELECT #2/30/2004 8:00 AM#;"}) {
        for (const SqlDialect dialect : {SqlDialect::Sqlite, SqlDialect::PostgreSql}) {
            try {
                TranslateJetStatement(bad, dialect);
                ADD_FAILURE() << "translated: " << bad;
            } catch (const EngineError& e) {
                EXPECT_EQ(e.Number(), err::EngineSyntaxErrorInDate) << bad;
            }
        }
    }
}

TEST(DialectTranslation, NumbersNamedParametersInOrderOfFirstUse) {
    struct Case {
        const char* statement;
        const char* numbered;
        std::vector<std::string> names;
    };
    const Case cases[] = {
        {"UPDATE Company SET Name = :paramName, City = :paramCity WHERE CompanyID = :paramID;",
         "UPDATE Company SET Name = $1, City = $2 WHERE CompanyID = $3;",
         {"paramName", "paramCity", "paramID"}},
        // A name used twice is one parameter; names keep their case.
        {"SELECT :a + :b + :a + :A", "SELECT $1 + $2 + $1 + $3", {"a", "b", "A"}},
        {"UPDATE Employee SET Active = COALESCE(:active_employee, Active) WHERE EmployeeID = "
         ":employee_id",
         "UPDATE Employee SET Active = COALESCE($1, Active) WHERE EmployeeID = $2",
         {"active_employee", "employee_id"}},
        // Colons in text, names, comments and casts are not parameters.
        {"SELECT ':x', \":y\", 1::integer, :z -- :w\n/* :v */ FROM T WHERE a=:z",
         "SELECT ':x', \":y\", 1::integer, $1 -- :w\n/* :v */ FROM T WHERE a=$1",
         {"z"}},
        // The statement is translated for PostgreSQL as well.
        {"SELECT [_System].program FROM _System WHERE :p > #1/15/2003#",
         "SELECT _System.program FROM _System WHERE $1 > 37636.0",
         {"p"}},
        {"SELECT 1;", "SELECT 1;", {}},
        {"SELECT a: b, :", "SELECT a: b, :", {}},
    };
    for (const Case& c : cases) {
        const NumberedStatement numbered = NumberJetParameters(c.statement);
        EXPECT_EQ(numbered.text, c.numbered) << c.statement;
        EXPECT_EQ(numbered.names, c.names) << c.statement;
    }
}

TEST(StoredQueryText, OnlyOneStatementRunsAndTheFileIsAlwaysReleased) {
    struct Case {
        const char* after; // appended to the stored GetAllEmployees text
        bool loads;
    };
    const Case cases[] = {
        {"  \r\n\t", true},
        {" -- every employee", true},
        {" /* every employee */", true},
        {";;", true},
        {"; -- done\n;", true},
        {"; SELECT 1", false},
        {"; DELETE FROM Employee", false},
        {";; DROP TABLE TimeRecord;", false},
        {" garbage", false},
    };
    for (const Case& c : cases) {
        test::TestDatabase tdb;
        const std::string original =
            tdb.QueryText("SELECT Sql FROM _StoredQuery WHERE Name = 'GetAllEmployees'");
        std::string text = original;
        while (!text.empty() && (text.back() == ';' || text.back() == ' ' || text.back() == '\n' ||
                                 text.back() == '\r')) {
            text.pop_back();
        }
        text += c.after;
        std::string quoted;
        for (char ch : text) {
            quoted += ch;
            if (ch == '\'') {
                quoted += '\'';
            }
        }
        tdb.Exec("UPDATE _StoredQuery SET Sql = '" + quoted + "' WHERE Name = 'GetAllEmployees'");

        auto db = tdb.NewJetDB();
        std::shared_ptr<CEmployeeList> list;
        EXPECT_EQ(LoadEmployees(db, list), c.loads) << text;
        if (c.loads) {
            EXPECT_EQ(list->Count(), 1) << text; // the administrator
        } else {
            EXPECT_EQ(db->ErrorNumber(), 407) << text;
            EXPECT_FALSE(db->EngineMessage().empty()) << text;
        }
        EXPECT_TRUE(test::FileIsReleased(tdb.DatabasePath())) << text;
        // Nothing that rode along has run.
        EXPECT_EQ(tdb.QueryInt("SELECT count(*) FROM Employee"), 1) << text;
        EXPECT_EQ(tdb.QueryInt("SELECT count(*) FROM sqlite_schema WHERE name = 'TimeRecord'"), 1);
    }
}

// Every numeric column of Employee, with a value its field cannot hold.
TEST(CheckedLoading, AnEmployeeNumberOutOfRangeFailsTheLoad) {
    struct Case {
        const char* column;
        const char* value;
    };
    const Case cases[] = {
        {"EmployeeNumber", "4294968303"},
        {"EmployeeNumber", "-2147483649"},
        {"EmployeeID", "4294967335"},
        {"CompanyID", "4294967297"},
        {"AutoDeductLunchLength", "40000"},
        {"AutoDeductBreakLength", "32768"},
        {"PayRate", "1e300"},
        {"OvertimePayRate", "-1e300"},
        {"DateOfBirth", "1e12"},
        {"HireDate", "-1e9"},
        {"ReleaseDate", "9e999"}, // infinity
        {"EmployeeNumber", "9223372036854775807"},
    };
    for (const Case& c : cases) {
        test::TestDatabase tdb;
        tdb.AddEmployee(1007, "Kristin", "Halvorsen");
        tdb.AddEmployee(1008, "Samuel", "Adeyemi");
        tdb.Exec(std::string("UPDATE Employee SET ") + c.column + " = " + c.value +
                 " WHERE EmployeeNumber = 1008");
        auto db = tdb.NewJetDB();
        std::shared_ptr<CEmployeeList> list;
        EXPECT_FALSE(LoadEmployees(db, list)) << c.column << " = " << c.value;
        EXPECT_EQ(db->ErrorNumber(), 407) << c.column;
        EXPECT_TRUE(test::FileIsReleased(tdb.DatabasePath())) << c.column;
    }

    // 4294968303 wraps to 1007 in 32 bits: it must never be taken for 1007.
    test::TestDatabase tdb;
    tdb.AddEmployee(4, "Wrapped", "Number");
    tdb.Exec("UPDATE Employee SET EmployeeNumber = 4294968303 WHERE LastName = 'Number'");
    auto list = std::make_shared<CEmployeeList>();
    EXPECT_FALSE(list->LoadList(tdb.NewJetDB()));
    EXPECT_EQ(list->ErrorNumber(), 301);
    EXPECT_EQ(list->GetEmployeeByNumber(1007), nullptr);
}

TEST(CheckedLoading, ValuesAtTheLimitsLoadExactly) {
    test::TestDatabase tdb;
    tdb.AddEmployee(2147483647, "Largest", "Number");
    tdb.Exec("UPDATE Employee SET AutoDeductLunchLength = 32767, AutoDeductBreakLength = -5, "
             "PayRate = 3.4e38, DateOfBirth = -657434, HireDate = 2958465.5 "
             "WHERE LastName = 'Number'");
    auto db = tdb.NewJetDB();
    std::shared_ptr<CEmployeeList> list;
    ASSERT_TRUE(LoadEmployees(db, list)) << db->ErrorNumber() << " " << db->EngineMessage();
    const auto e = list->GetEmployeeByNumber(2147483647);
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(e->AutoDeductLunchLength(), 32767);
    EXPECT_EQ(e->AutoDeductBreakLength(), 0); // negative: not set
    EXPECT_FLOAT_EQ(e->PayRate(), 3.4e38f);
    EXPECT_EQ(e->DateOfBirth(), DateTime::FromParts(100, 1, 1));
    EXPECT_EQ(e->HireDate(), DateTime::FromParts(9999, 12, 31, 12));
}

TEST(CheckedLoading, ACompanyKeyOutOfRangeFailsTheLoad) {
    test::TestDatabase tdb;
    tdb.Exec("INSERT INTO Company (CompanyID, Name) VALUES (4294967297, 'Wrapped Ltd')");
    auto db = tdb.NewJetDB();
    auto list = std::make_shared<CCompanyList>();
    EXPECT_FALSE(db->LoadCompanyList(list));
    EXPECT_EQ(db->ErrorNumber(), 407);
    EXPECT_EQ(list->GetCompanyByID(1), nullptr);
    EXPECT_TRUE(test::FileIsReleased(tdb.DatabasePath()));
}

TEST(CheckedLoading, WholeNumbersBeyondSixtyFourBitsOverflow) {
    test::TestDatabase tdb;
    auto db = tdb.NewJetDB();
    ASSERT_TRUE(db->OpenDB());
    const auto rows = db->ExecuteSelect(
        "SELECT 9223372036854775808 AS big, -9223372036854775808.0 AS small, 2.5 AS half");
    ASSERT_NE(rows, nullptr);
    try {
        rows->AsInteger("big");
        ADD_FAILURE() << "2^63 converted";
    } catch (const EngineError& e) {
        EXPECT_EQ(e.Number(), 6);
    }
    EXPECT_EQ(rows->AsInteger("small"), INT64_MIN);
    EXPECT_EQ(rows->AsInteger("half"), 2);
    db->CloseDB();

    // A period length of 2^63 in a database made elsewhere (no type checks).
    tdb.Exec("DROP TABLE _System; CREATE TABLE _System (program, version, period_length, "
             "auto_shift_start_time, auto_shift_end_time); INSERT INTO _System VALUES "
             "('OrvanAdmin', '1.0', 9223372036854775808, 0.3333, 0.7083)");
    CSystemOptions options;
    options.SetOrvanDatabase(db);
    ASSERT_TRUE(db->OpenDB());
    EXPECT_FALSE(options.Load());
    EXPECT_EQ(options.PeriodLength(), CSystemOptions().PeriodLength()); // unchanged
    db->CloseDB();
    EXPECT_TRUE(test::FileIsReleased(tdb.DatabasePath()));
}

TEST(RefusedFiles, AreLeftExactlyAsTheyWere) {
    test::TempDir dir;
    const std::vector<std::string> contents = {
        "", std::string("DatabasePath=<app.path>\\system\\orvan_11.mdb\r\n"),
        std::string(4096, '\0'), std::string("SQLite format 3\0", 16)};
    for (size_t i = 0; i < contents.size(); ++i) {
        const fs::path file = dir / ("refused" + std::to_string(i) + ".mdb");
        test::WriteAll(file, contents[i]);
        CJetDB db;
        EXPECT_FALSE(db.OpenDB(file.string())) << i;
        EXPECT_NE(db.ErrorNumber(), 0) << i;
        EXPECT_EQ(test::ReadAll(file), contents[i]) << i;
        EXPECT_FALSE(fs::exists(file.string() + "-journal")) << i;
        EXPECT_TRUE(test::FileIsReleased(file.string())) << i;
    }
}

} // namespace
} // namespace orvan
