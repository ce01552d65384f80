#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include <QString>
#include <Qt>

#include "core/DateTime.h"
#include "support/TestDatabase.h"
#include "support/TestSupport.h"
#include "support_qt/ScopedNow.h"

namespace orvan::timeclock {
class CController;
class FController;
} // namespace orvan::timeclock

namespace orvan::test {

// A clock installation: a real database with employees, the folder set as
// the program folder, message boxes recorded and "now" fixed (for the
// program and the date/time boxes alike). Start() builds the controller the
// way the program does and finds its window; report windows left open are
// closed when the station goes.
class ClockStation {
public:
    explicit ClockStation(DateTime now = DateTime::FromParts(2003, 1, 15, 8, 5, 42));
    ~ClockStation();

    TestDatabase& Database() { return m_db; }
    RecordingMessageBox& Messages() { return *m_messages; }
    ScopedNow& Clock() { return m_clock; }

    // Adds an active employee; returns its EmployeeID.
    int32_t AddEmployee(int32_t number, const std::string& first, const std::string& last);

    // Runs the start-up; the window is then found (null when start-up ended).
    void Start();
    // The same through the program's start routine, with its error log;
    // EndProgram then releases the controller and closes the log (the
    // station does that itself when it goes).
    void StartProgram();
    void EndProgram();
    timeclock::CController* Controller() const { return m_controller.get(); }
    timeclock::FController* Window() const { return m_window; }

    // Types into the number box and presses a picture button the way a
    // user does: the pointer rests on it first, then clicks it.
    void Type(const QString& text);
    void ClickClockIn() { Click("picClockIn"); }
    void ClickClockOut() { Click("picClockOut"); }
    void ClickPrint() { Click("picPrint"); }
    QString NumberBoxText() const;

    // Real key events to whichever control of the window has the focus:
    // keys typed, or one key pressed (keypad Enter: Qt::Key_Enter with
    // Qt::KeypadModifier).
    void TypeKeys(const QString& text);
    void Press(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
    // The object name of the control that has the window's focus.
    QString FocusName() const;

    // The last message shown, as "title|text".
    std::string LastMessage() const;
    int32_t LastStyle() const;

    int64_t Count(const std::string& where) const;

    // system/clockerrorlog.txt and its lines (without their CR LF).
    std::filesystem::path LogPath() const;
    std::vector<std::string> LogLines() const;

private:
    void Click(const char* button);
    void FindWindow();

    TestDatabase m_db;
    ScopedNow m_clock;
    ScopedMessageBox m_messages;
    RecordingMessageBox* m_recorder;
    std::shared_ptr<timeclock::CController> m_controller;
    timeclock::FController* m_window = nullptr;
    bool m_programStarted = false;
};

} // namespace orvan::test
