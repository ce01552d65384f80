// One clock station of the server soak test: the clock program's own window
// (offscreen), started the way the program starts on an installation whose
// configuration names the server database, with "now" fixed per action and
// its message boxes recorded.
//
//     server_soak_clock URI FIRST COUNT DAYS both
//     server_soak_clock URI FIRST COUNT DAYS in PROGRESS
//     server_soak_clock URI FIRST COUNT DAYS out PROGRESS
//
// The station acts for the employees numbered FIRST ... FIRST+COUNT-1 on
// DAYS days from 1 March 2004: the number typed, then a click on the
// clock-in button at 7:00 (plus one minute per employee) and on the
// clock-out button at 15:00 (likewise). "both" makes both; "in" makes the
// clock-ins and writes how many it has made to PROGRESS after each; "out"
// makes each clock-out as soon as PROGRESS shows its clock-in made, so two
// stations work on the same employees' records side by side.
//
// Prints "actions=<n> failures=<n> forgotten=<n> seconds=<s>" at the end
// (failures: messages other than the two confirmations, each also written
// to standard error; forgotten: confirmations of a clock-in that name an
// open record of an earlier day) and exits 0 when nothing failed.

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QTest>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <thread>

#include "clock/CController.h"
#include "clock/FController.h"
#include "core/DateTime.h"
#include "server/PgEngine.h"
#include "storage/ProgramFolder.h"
#include "support/ScopedMessageBox.h"
#include "support/TempDir.h"
#include "support_qt/ScopedNow.h"

namespace {

using orvan::DateTime;
namespace fs = std::filesystem;

DateTime FirstDay() {
    return DateTime::FromParts(2004, 3, 1);
}

long ReadProgress(const fs::path& file) {
    std::ifstream in(file);
    long value = 0;
    in >> value;
    return value;
}

void WriteProgress(const fs::path& file, long value) {
    const fs::path next = file.string() + ".next";
    {
        std::ofstream out(next);
        out << value << "\n";
    }
    fs::rename(next, file);
}

class Station {
public:
    Station(orvan::timeclock::FController* window, orvan::test::ScopedNow& clock,
            orvan::test::RecordingMessageBox& messages)
        : m_window(window), m_clock(clock), m_messages(messages),
          m_box(window->findChild<QLineEdit*>(QStringLiteral("txtEmployeeNumber"))) {}

    bool Ready() const { return m_box != nullptr; }

    void Act(int number, DateTime moment, const char* button) {
        m_clock.Set(moment);
        m_box->setText(QString::number(number));
        Click(button);
        ++m_actions;
        if (m_messages.shown.size() != static_cast<size_t>(m_actions)) {
            ++m_failures;
            std::fprintf(stderr, "%s for %d at %s: %zu messages after %ld actions\n", button,
                         number, moment.Format("yyyy-mm-dd hh:nn").c_str(), m_messages.shown.size(),
                         m_actions);
            return;
        }
        const auto& shown = m_messages.shown.back();
        const bool in = std::string(button) == "picClockIn";
        if (shown.title != (in ? "Login Complete" : "Logout Complete")) {
            ++m_failures;
            std::fprintf(stderr, "%s for %d at %s: %s: %s\n", button, number,
                         moment.Format("yyyy-mm-dd hh:nn").c_str(), shown.title.c_str(),
                         shown.text.c_str());
        } else if (in && shown.text.find("No clock-out was recorded") != std::string::npos) {
            ++m_forgotten;
        }
    }

    long Actions() const { return m_actions; }
    long Failures() const { return m_failures; }
    long Forgotten() const { return m_forgotten; }

private:
    // The pointer rests on the picture button, which lights up, and clicks.
    void Click(const char* button) {
        const QString name = QString::fromLatin1(button);
        auto* inactive = m_window->findChild<QLabel*>(name + QStringLiteral("Inactive"));
        auto* active = m_window->findChild<QLabel*>(name + QStringLiteral("Active"));
        if (inactive == nullptr || active == nullptr) {
            std::fprintf(stderr, "no button %s\n", button);
            std::exit(1);
        }
        if (!active->isVisible()) {
            const QPointF centre = QRectF(inactive->rect()).center();
            QMouseEvent move(QEvent::MouseMove, centre, inactive->mapToGlobal(centre), Qt::NoButton,
                             Qt::NoButton, Qt::NoModifier);
            QApplication::sendEvent(inactive, &move);
        }
        QTest::mouseClick(active, Qt::LeftButton);
    }

    orvan::timeclock::FController* m_window;
    orvan::test::ScopedNow& m_clock;
    orvan::test::RecordingMessageBox& m_messages;
    QLineEdit* m_box;
    long m_actions = 0;
    long m_failures = 0;
    long m_forgotten = 0;
};

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    if (argc < 6) {
        std::fprintf(stderr, "usage: %s URI FIRST COUNT DAYS both|in|out [PROGRESS]\n", argv[0]);
        return 2;
    }
    const std::string uri = argv[1];
    const int first = std::atoi(argv[2]);
    const int count = std::atoi(argv[3]);
    const int days = std::atoi(argv[4]);
    const std::string mode = argv[5];
    const fs::path progress = argc >= 7 ? fs::path(argv[6]) : fs::path();
    orvan::server::RegisterEngine();

    // The station's installation: its configuration names the server.
    const orvan::test::TempDir folder;
    fs::create_directories(folder / "system");
    fs::create_directories(folder / "reports");
    std::ofstream(folder / "system" / "orvan_11.cfg", std::ios::binary)
        << "DatabasePath=" << uri << "\r\nShowLoginHelp=True\r\n";
    orvan::SetProgramFolder(folder.Path().string());
    orvan::test::ScopedNow clock(FirstDay().AddMinutes(6 * 60));
    orvan::test::ScopedMessageBox messages;

    auto controller = std::make_shared<orvan::timeclock::CController>();
    orvan::timeclock::FController* window = nullptr;
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (auto* w = qobject_cast<orvan::timeclock::FController*>(widget);
            w != nullptr && w->isVisible()) {
            window = w;
        }
    }
    if (window == nullptr) {
        std::fprintf(stderr, "the clock window did not open\n");
        for (const auto& shown : messages->shown) {
            std::fprintf(stderr, "%s: %s\n", shown.title.c_str(), shown.text.c_str());
        }
        return 1;
    }
    Station station(window, clock, *messages);
    if (!station.Ready()) {
        std::fprintf(stderr, "no employee number box\n");
        return 1;
    }

    const auto started = std::chrono::steady_clock::now();
    long made = 0;
    for (int day = 0; day < days; ++day) {
        const DateTime date = FirstDay().AddDays(day);
        for (int e = 0; e < count && mode == "both"; ++e) {
            station.Act(first + e, date.AddMinutes(7 * 60 + e), "picClockIn");
        }
        for (int e = 0; e < count; ++e) {
            if (mode == "both") {
                station.Act(first + e, date.AddMinutes(15 * 60 + e), "picClockOut");
            } else if (mode == "in") {
                station.Act(first + e, date.AddMinutes(7 * 60 + e), "picClockIn");
                WriteProgress(progress, ++made);
            } else {
                // Right behind the other station's clock-in of this record.
                ++made;
                while (ReadProgress(progress) < made) {
                    std::this_thread::sleep_for(std::chrono::microseconds(200));
                }
                station.Act(first + e, date.AddMinutes(15 * 60 + e), "picClockOut");
            }
        }
    }
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    controller.reset();
    std::printf("actions=%ld failures=%ld forgotten=%ld seconds=%.1f\n", station.Actions(),
                station.Failures(), station.Forgotten(), seconds);
    return station.Failures() == 0 ? 0 : 1;
}
