#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include <QString>

#include "core/DateTime.h"
#include "support/TestDatabase.h"
#include "support/TestSupport.h"
#include "support_qt/ScopedNow.h"

class QWidget;

namespace orvan::admin {
class CController;
class FController;
class FLogin;
} // namespace orvan::admin

namespace orvan::test {

// An installation of the manager's program: a real database made by the
// installer, its folder set as the program folder, message boxes recorded
// and "now" fixed. Start() runs the start routine the way the program does;
// the login window, when start-up gets that far, is handled from inside its
// modal run by the action given. The program is released with the object.
class AdminInstallation {
public:
    explicit AdminInstallation(DateTime now = DateTime::FromParts(2003, 1, 15, 8, 5, 42));
    ~AdminInstallation();

    TestDatabase& Database() { return m_db; }
    RecordingMessageBox& Messages() { return *m_recorder; }
    ScopedNow& Clock() { return m_clock; }

    // Runs the start routine. `atLogin` is called with the login window once
    // it is shown modally; it must end the login (log in, cancel, close).
    // Returns what the start routine returns: True when the program runs on.
    bool Start(const std::function<void(admin::FLogin&)>& atLogin = {});
    // Starts and logs in with the given name and password.
    bool StartAndLogIn(const QString& name = QStringLiteral("administrator"),
                       const QString& password = QStringLiteral("renby742"));

    admin::CController* Controller() const;
    admin::FController* Window() const;

    // Every message shown, as "title|text".
    std::vector<std::string> Shown() const;
    std::string LastMessage() const;
    int32_t LastStyle() const;

    // The error log's lines (without their CR LF).
    std::vector<std::string> LogLines() const;
    // The configuration file's text.
    std::string ConfigText() const;
    void WriteConfig(const std::string& text) const;

private:
    TestDatabase m_db;
    ScopedNow m_clock;
    ScopedMessageBox m_messages;
    RecordingMessageBox* m_recorder;
};

// Login window helpers: type into the two boxes, press a button by name.
void TypeLogin(admin::FLogin& login, const QString& name, const QString& password);
void Press(QWidget& window, const QString& button);

} // namespace orvan::test
