// Many stations on one server database: four clock processes make 2,000
// clock-ins and 2,000 clock-outs for 20 employees, two of them on the same
// ten employees' records side by side (one clocking in, the other clocking
// out right behind it), while a fifth process saves employees and adds and
// edits time records as the manager's program does. Afterwards every
// clock-in is stored once and closed by its own clock-out, and no process
// saw a failure.

#include <gtest/gtest.h>

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "support/TempDir.h"
#include "support/server/EngineDatabase.h"
#include "support/server/ServerTestDatabase.h"

extern char** environ;

namespace orvan::test {
namespace {

namespace fs = std::filesystem;

std::string ReadAll(const fs::path& file) {
    std::ifstream in(file);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// A process of the soak, its output going to a file.
class SoakProcess {
public:
    SoakProcess(const std::vector<std::string>& arguments, fs::path output)
        : m_output(std::move(output)) {
        std::string command = "exec";
        for (const auto& argument : arguments) {
            command += " '" + argument + "'";
        }
        command += " > '" + m_output.string() + "' 2>&1";
        const char* argv[] = {"/bin/sh", "-c", command.c_str(), nullptr};
        if (posix_spawn(&m_pid, "/bin/sh", nullptr, nullptr, const_cast<char**>(argv), environ) !=
            0) {
            m_pid = -1;
        }
    }
    ~SoakProcess() {
        if (m_pid > 0) {
            kill(m_pid, SIGKILL);
            waitpid(m_pid, nullptr, 0);
        }
    }
    SoakProcess(const SoakProcess&) = delete;
    SoakProcess& operator=(const SoakProcess&) = delete;

    bool Started() const { return m_pid > 0; }

    // Waits for the end (at most `limit`); the exit status, or -1 when the
    // process had to be ended.
    int Wait(std::chrono::seconds limit) {
        const auto until = std::chrono::steady_clock::now() + limit;
        while (m_pid > 0) {
            int status = 0;
            if (waitpid(m_pid, &status, WNOHANG) == m_pid) {
                m_pid = -1;
                return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
            }
            if (std::chrono::steady_clock::now() > until) {
                return -1; // ended by the destructor
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        return -1;
    }

    std::string Output() const { return ReadAll(m_output); }
    // The figures line the process prints at the end.
    std::string Figures() const {
        const std::string text = Output();
        const size_t at = text.rfind("actions=");
        return at == std::string::npos ? "(none)\n" : text.substr(at);
    }

private:
    pid_t m_pid = -1;
    fs::path m_output;
};

TEST(ServerSoak, EveryClockInIsStoredOnceAndClosedByItsClockOut) {
    ORVAN_SKIP_WITHOUT_SERVER();
#ifndef SERVER_SOAK_CLOCK
    GTEST_SKIP() << "built without the clock program (ORVAN_WITH_GUI=OFF)";
#else
    constexpr int kEmployees = 20;
    constexpr int kDays = 100;
    const EngineDatabase database(Engine::Server);
    for (int e = 0; e < kEmployees; ++e) {
        database.AddEmployee(2000 + e, "First" + std::to_string(e), "Last" + std::to_string(e));
    }
    const TempDir dir;
    const std::string uri = database.Name();
    const std::string clock = SERVER_SOAK_CLOCK;
    const std::string progress = (dir / "progress").string();
    const std::string days = std::to_string(kDays);

    const auto started = std::chrono::steady_clock::now();
    SoakProcess admin({SERVER_SOAK_ADMIN, uri, (dir / "stop").string()}, dir / "admin.txt");
    std::vector<std::unique_ptr<SoakProcess>> stations;
    // Employees 2000-2009: one station clocks them in, the other clocks
    // each out as soon as its clock-in is made.
    stations.push_back(std::make_unique<SoakProcess>(
        std::vector<std::string>{clock, uri, "2000", "10", days, "in", progress},
        dir / "station1.txt"));
    stations.push_back(std::make_unique<SoakProcess>(
        std::vector<std::string>{clock, uri, "2000", "10", days, "out", progress},
        dir / "station2.txt"));
    // Employees 2010-2014 and 2015-2019: a station each, in and out.
    stations.push_back(std::make_unique<SoakProcess>(
        std::vector<std::string>{clock, uri, "2010", "5", days, "both"}, dir / "station3.txt"));
    stations.push_back(std::make_unique<SoakProcess>(
        std::vector<std::string>{clock, uri, "2015", "5", days, "both"}, dir / "station4.txt"));
    ASSERT_TRUE(admin.Started());

    for (size_t i = 0; i < stations.size(); ++i) {
        ASSERT_TRUE(stations[i]->Started());
        EXPECT_EQ(stations[i]->Wait(std::chrono::seconds(200)), 0)
            << "station " << i + 1 << ": " << stations[i]->Output();
    }
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    std::ofstream(dir / "stop") << "stop\n";
    EXPECT_EQ(admin.Wait(std::chrono::seconds(30)), 0) << admin.Output();

    std::cout << "[ soak ] " << 2 * kEmployees * kDays << " clock actions by 4 stations in "
              << seconds << " s\n";
    for (size_t i = 0; i < stations.size(); ++i) {
        std::cout << "[ soak ] station " << i + 1 << ": " << stations[i]->Figures();
    }
    std::cout << "[ soak ] manager's program: " << admin.Figures();
    // The server rolls a transaction back only when it broke it off for a
    // conflict with another station (the unit then ran again) or a failure.
    std::cout << "[ soak ] transactions the server rolled back: "
              << database.QueryInt("SELECT xact_rollback FROM pg_stat_database WHERE datname = "
                                   "current_database()")
              << "\n";

    const std::string clockEmployees =
        "EmployeeID IN (SELECT EmployeeID FROM Employee WHERE EmployeeNumber BETWEEN 2000 AND "
        "2019)";
    EXPECT_EQ(database.QueryInt("SELECT count(*) FROM TimeRecord WHERE " + clockEmployees),
              kEmployees * kDays);
    EXPECT_EQ(database.QueryInt("SELECT count(*) FROM TimeRecord WHERE " + clockEmployees +
                                " AND EndTime = 0"),
              0);
    // Each employee's day exactly once, closed at that day's clock-out, eight
    // hours after its clock-in.
    EXPECT_EQ(database.QueryInt("SELECT count(*) FROM (SELECT DISTINCT EmployeeID, "
                                "floor(StartTime) AS Day FROM TimeRecord WHERE " +
                                clockEmployees + ") AS Days"),
              kEmployees * kDays);
    EXPECT_EQ(database.QueryInt("SELECT count(*) FROM TimeRecord WHERE " + clockEmployees +
                                " AND round((EndTime - StartTime) * 24 * 60) <> 480"),
              0);
    // The manager's program worked the whole time.
    EXPECT_GT(database.QueryInt("SELECT count(*) FROM TimeRecord WHERE EmployeeID = 39"), 5);
    EXPECT_EQ(database.QueryInt("SELECT count(*) FROM TimeRecord WHERE EmployeeID = 39 AND "
                                "round((EndTime - StartTime) * 24 * 60) <> 90"),
              0);
#endif
}

} // namespace
} // namespace orvan::test
