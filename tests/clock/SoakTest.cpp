// No clock-in is lost while the administrator program works on the same
// file: the clock window makes 2,000 clock-ins and 2,000 clock-outs for 20
// employees while a second process keeps opening the file exclusively,
// writing and closing it.

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <string>

#include <QTest>

#include "ClockTestSupport.h"
#include "clock/FController.h"

namespace orvan::test {
namespace {

namespace fs = std::filesystem;

TEST(ClockSoak, EveryClockInIsStoredOnceWithItsClockOut) {
    constexpr int kEmployees = 20;
    constexpr int kDays = 100;
    ClockStation station(DateTime::FromParts(2004, 3, 1, 7, 0));
    for (int e = 0; e < kEmployees; ++e) {
        station.AddEmployee(2000 + e, "First" + std::to_string(e), "Last" + std::to_string(e));
    }
    station.Start();
    ASSERT_NE(station.Window(), nullptr);

    const fs::path stop = station.Database().Folder() / "stop";
    const fs::path output = station.Database().Folder() / "writer.txt";
    const std::string command = std::string("\"") + CLOCK_SOAK_WRITER + "\" \"" +
                                station.Database().DatabasePath() + "\" \"" + stop.string() +
                                "\" 1 > \"" + output.string() + "\" 2>&1 &";
    ASSERT_EQ(std::system(command.c_str()), 0);

    const auto started = std::chrono::steady_clock::now();
    const DateTime firstDay = DateTime::FromParts(2004, 3, 1);
    for (int day = 0; day < kDays; ++day) {
        for (int e = 0; e < kEmployees; ++e) {
            station.Clock().Set(firstDay.AddDays(day).AddMinutes(7 * 60 + e));
            station.Type(QString::number(2000 + e));
            station.ClickClockIn();
        }
        for (int e = 0; e < kEmployees; ++e) {
            station.Clock().Set(firstDay.AddDays(day).AddMinutes(15 * 60 + e));
            station.Type(QString::number(2000 + e));
            station.ClickClockOut();
        }
    }
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    WriteAll(stop, "stop");
    // Wait for the writer to report and end.
    for (int i = 0; i < 200 && ReadAll(output).find("writes=") == std::string::npos; ++i) {
        QTest::qWait(50);
    }
    const std::string writer = ReadAll(output);
    std::cout << "[ soak ] 4000 clock actions in " << seconds << " s; other program: " << writer;

    size_t failures = 0;
    for (const auto& shown : station.Messages().shown) {
        if (shown.title != "Login Complete" && shown.title != "Logout Complete") {
            ++failures;
            ADD_FAILURE() << shown.title << ": " << shown.text;
            if (failures > 5) {
                break;
            }
        }
    }
    EXPECT_EQ(station.Messages().shown.size(), 2u * kEmployees * kDays);
    EXPECT_NE(writer.find("failures=0"), std::string::npos) << writer;
    auto& db = station.Database();
    EXPECT_EQ(db.QueryInt("SELECT count(*) FROM TimeRecord WHERE EmployeeID <> 39"),
              kEmployees * kDays);
    EXPECT_EQ(db.QueryInt("SELECT count(*) FROM TimeRecord WHERE EmployeeID <> 39 AND EndTime = 0"),
              0);
    // Each employee's day exactly once, closed at that day's clock-out.
    EXPECT_EQ(db.QueryInt("SELECT count(*) FROM (SELECT DISTINCT EmployeeID, CAST(StartTime AS "
                          "INTEGER) FROM TimeRecord WHERE EmployeeID <> 39)"),
              kEmployees * kDays);
    EXPECT_EQ(db.QueryInt("SELECT count(*) FROM TimeRecord WHERE EmployeeID <> 39 AND "
                          "round((EndTime - StartTime) * 24 * 60) <> 480"),
              0);
    EXPECT_GT(db.QueryInt("SELECT count(*) FROM TimeRecord WHERE EmployeeID = 39"), 10);
}

} // namespace
} // namespace orvan::test
