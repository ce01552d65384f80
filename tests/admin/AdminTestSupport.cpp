#include "AdminTestSupport.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "admin/AdminMain.h"
#include "admin/CController.h"
#include "admin/FController.h"
#include "admin/FLogin.h"
#include "storage/CFile.h"
#include "support_qt/OnNextModalDialog.h"

namespace orvan::test {

AdminInstallation::AdminInstallation(DateTime now) : m_clock(now), m_recorder(&*m_messages) {
    m_db.UseAsProgramFolder();
}

AdminInstallation::~AdminInstallation() {
    admin::ReleaseProgram();
    admin::ErrorLogFile().CloseFile();
    // Windows deleted later by the program go before the folder does.
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

bool AdminInstallation::Start(const std::function<void(admin::FLogin&)>& atLogin) {
    if (atLogin) {
        OnNextModalDialog([atLogin](QWidget* dialog) {
            auto* login = qobject_cast<admin::FLogin*>(dialog);
            ASSERT_NE(login, nullptr) << "the first modal window is not the login";
            atLogin(*login);
        });
    }
    return admin::StartProgram();
}

bool AdminInstallation::StartAndLogIn(const QString& name, const QString& password) {
    return Start([name, password](admin::FLogin& login) {
        TypeLogin(login, name, password);
        Press(login, QStringLiteral("cmdLogin"));
        if (login.isVisible()) {
            ADD_FAILURE() << "the login was refused";
            Press(login, QStringLiteral("cmdCancel"));
        }
    });
}

admin::CController* AdminInstallation::Controller() const {
    return admin::AppController().get();
}

admin::FController* AdminInstallation::Window() const {
    return Controller() != nullptr ? Controller()->ControllerWindow() : nullptr;
}

std::vector<std::string> AdminInstallation::Shown() const {
    std::vector<std::string> texts;
    for (const auto& shown : m_recorder->shown) {
        texts.push_back(shown.title + "|" + shown.text);
    }
    return texts;
}

std::string AdminInstallation::LastMessage() const {
    const auto& shown = m_recorder->shown;
    return shown.empty() ? std::string() : shown.back().title + "|" + shown.back().text;
}

int32_t AdminInstallation::LastStyle() const {
    const auto& shown = m_recorder->shown;
    return shown.empty() ? -1 : shown.back().style;
}

std::vector<std::string> AdminInstallation::LogLines() const {
    return CrLfLines(m_db.Folder() / "system" / "errorlog.txt");
}

std::string AdminInstallation::ConfigText() const {
    return ReadAll(m_db.ConfigPath());
}

void AdminInstallation::WriteConfig(const std::string& text) const {
    WriteAll(m_db.ConfigPath(), text);
}

void TypeLogin(admin::FLogin& login, const QString& name, const QString& password) {
    auto* txtName = login.findChild<QLineEdit*>(QStringLiteral("txtName"));
    auto* txtPassword = login.findChild<QLineEdit*>(QStringLiteral("txtPassword"));
    ASSERT_NE(txtName, nullptr);
    ASSERT_NE(txtPassword, nullptr);
    txtName->clear();
    txtPassword->clear();
    QTest::keyClicks(txtName, name);
    QTest::keyClicks(txtPassword, password);
}

void Press(QWidget& window, const QString& button) {
    auto* target = window.findChild<QPushButton*>(button);
    ASSERT_NE(target, nullptr) << button.toStdString();
    QTest::mouseClick(target, Qt::LeftButton);
}

} // namespace orvan::test
