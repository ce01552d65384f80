// Report writing speed on a real installation:
//  - one employee's time card report over a whole year (about 500 records);
//  - the accountant's review of 200 employees for one 14-day period.
// Each iteration writes the report file and fills its window, as the
// programs do, then unloads the window.
//
//   reports_bench [--benchmark_repetitions=9 --benchmark_report_aggregates_only=true]

#include <benchmark/benchmark.h>

#include <cstdio>
#include <memory>
#include <string>

#include <QApplication>
#include <QCoreApplication>
#include <QEvent>

#include "core/CTimeRecordFactory.h"
#include "core/DateTime.h"
#include "core/Program.h"
#include "personnel/CEmployee.h"
#include "personnel/CEmployeeList.h"
#include "reports/CReportReview.h"
#include "reports/CReportTimeCard.h"
#include "storage/CJetDB.h"
#include "support/TestDatabase.h"

namespace {

using orvan::DateTime;

constexpr int kReviewEmployees = 200;

// Two shifts (08:00-12:00, 12:30-17:15) on every weekday from `first` up to
// `last`, as one INSERT text.
std::string WeekdayShifts(int32_t employeeid, DateTime first, DateTime last, int& count) {
    std::string sql;
    char line[200];
    for (DateTime day = first; day.Days() <= last.Days(); day = day.AddDays(1)) {
        const int weekday = day.Weekday(); // 1 Sunday .. 7 Saturday
        if (weekday == 1 || weekday == 7) {
            continue;
        }
        const DateTime shifts[2][2] = {
            {day.AddMinutes(8 * 60), day.AddMinutes(12 * 60)},
            {day.AddMinutes(12 * 60 + 30), day.AddMinutes(17 * 60 + 15)}};
        for (const auto& shift : shifts) {
            std::snprintf(line, sizeof line,
                          "INSERT INTO TimeRecord (EmployeeID, StartTime, EndTime) "
                          "VALUES (%d, %.17g, %.17g);\n",
                          static_cast<int>(employeeid), shift[0].Days(), shift[1].Days());
            sql += line;
            ++count;
        }
    }
    return sql;
}

std::shared_ptr<orvan::CEmployee> Employee(int32_t id, int32_t number) {
    auto e = std::make_shared<orvan::CEmployee>();
    e->SetEmployeeID(id);
    e->SetEmployeeNumber(number);
    e->SetFirstName("Employee");
    e->SetLastName(std::to_string(number));
    e->SetSSN("000-00-" + std::to_string(1000 + number));
    e->SetAddress1("1 Main Street");
    e->SetCity("Springfield");
    e->SetState("IL");
    e->SetZipCode("62704");
    e->SetPhone("(217) 555-0100");
    e->SetPayRate(12.5f);
    e->SetOvertimePayRate(18.75f);
    e->SetAutoDeduct(true);
    e->SetAutoDeductLunchLength(30);
    return e;
}

// The installation shared by the benchmarks, built once.
struct Installation {
    Installation() {
        folder.UseAsProgramFolder();
        auto factory = std::make_shared<orvan::CTimeRecordFactory>();
        factory->SetOrvanDatabase(folder.NewJetDB());
        orvan::Program::SetTimeRecordFactory(factory);
        database = folder.NewJetDB();

        int yearRecords = 0;
        const int32_t yearId = folder.AddEmployee(1007, "Ann", "Lee", 12.5f, 18.75f);
        yearEmployee = Employee(yearId, 1007);
        folder.Exec("BEGIN;\n" +
                    WeekdayShifts(yearId, DateTime::FromParts(2003, 1, 1),
                                  DateTime::FromParts(2003, 12, 31), yearRecords) +
                    "COMMIT;");

        int reviewRecords = 0;
        reviewList = std::make_shared<orvan::CEmployeeList>();
        std::string sql = "BEGIN;\n";
        for (int i = 1; i <= kReviewEmployees; ++i) {
            const int32_t id = folder.AddEmployee(2000 + i, "Employee", std::to_string(2000 + i));
            reviewList->Insert(Employee(id, 2000 + i), i);
            sql += WeekdayShifts(id, DateTime::FromParts(2003, 1, 15),
                                 DateTime::FromParts(2003, 1, 28), reviewRecords);
        }
        folder.Exec(sql + "COMMIT;");
        std::printf("year card: %d records; review: %d employees, %d records\n", yearRecords,
                    reviewList->Count(), reviewRecords);
    }

    orvan::test::TestDatabase folder;
    std::shared_ptr<orvan::CJetDB> database;
    std::shared_ptr<orvan::CEmployee> yearEmployee;
    std::shared_ptr<orvan::CEmployeeList> reviewList;
};

Installation& Shared() {
    static Installation installation;
    return installation;
}

void DeleteUnloadedWindows() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

void BM_TimeCardReportWholeYear(benchmark::State& state) {
    Installation& inst = Shared();
    for (auto _ : state) {
        auto report = std::make_shared<orvan::CReportTimeCard>();
        const bool ok = report->GenerateReport(inst.database, inst.yearEmployee,
                                               DateTime::FromParts(2003, 1, 1),
                                               DateTime::FromParts(2003, 12, 31));
        if (!ok) {
            state.SkipWithError("time card report failed");
            break;
        }
        report->UnloadReportWindow();
        DeleteUnloadedWindows();
    }
}
BENCHMARK(BM_TimeCardReportWholeYear)->Unit(benchmark::kMillisecond);

void BM_ReviewReport200Employees(benchmark::State& state) {
    Installation& inst = Shared();
    for (auto _ : state) {
        auto report = std::make_shared<orvan::CReportReview>();
        const bool ok =
            report->GenerateReport(inst.database, inst.reviewList, DateTime::FromParts(2003, 1, 15),
                                   DateTime::FromParts(2003, 1, 28));
        if (!ok) {
            state.SkipWithError("review report failed");
            break;
        }
        report->UnloadReportWindow();
        DeleteUnloadedWindows();
    }
}
BENCHMARK(BM_ReviewReport200Employees)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
