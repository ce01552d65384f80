#include "ClockTestSupport.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QTest>

#include "clock/CController.h"
#include "clock/FController.h"
#include "clock/TimeClockMain.h"
#include "support_qt/CloseReportWindows.h"

namespace orvan::test {

ClockStation::ClockStation(DateTime now) : m_clock(now), m_recorder(&*m_messages) {
    m_db.UseAsProgramFolder();
}

ClockStation::~ClockStation() {
    CloseReportWindows();
    m_controller.reset();
    if (m_programStarted) {
        timeclock::EndProgram();
    }
}

int32_t ClockStation::AddEmployee(int32_t number, const std::string& first,
                                  const std::string& last) {
    return m_db.AddEmployee(number, first, last);
}

void ClockStation::Start() {
    m_controller = std::make_shared<timeclock::CController>();
    FindWindow();
}

void ClockStation::StartProgram() {
    m_programStarted = true;
    timeclock::StartProgram();
    m_controller = timeclock::AppController();
    FindWindow();
}

void ClockStation::EndProgram() {
    m_controller.reset();
    m_window = nullptr;
    timeclock::EndProgram();
}

void ClockStation::FindWindow() {
    m_window = nullptr;
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (auto* window = qobject_cast<timeclock::FController*>(widget);
            window != nullptr && window->isVisible()) {
            m_window = window;
        }
    }
}

void ClockStation::Type(const QString& text) {
    auto* box = m_window->findChild<QLineEdit*>(QStringLiteral("txtEmployeeNumber"));
    ASSERT_NE(box, nullptr);
    box->setText(text);
}

QString ClockStation::NumberBoxText() const {
    return m_window->findChild<QLineEdit*>(QStringLiteral("txtEmployeeNumber"))->text();
}

void ClockStation::TypeKeys(const QString& text) {
    QWidget* target = m_window->focusWidget() ? m_window->focusWidget() : m_window;
    QTest::keyClicks(target, text);
}

void ClockStation::Press(int key, Qt::KeyboardModifiers modifiers) {
    QWidget* target = m_window->focusWidget() ? m_window->focusWidget() : m_window;
    QTest::keyClick(target, static_cast<Qt::Key>(key), modifiers);
}

QString ClockStation::FocusName() const {
    return m_window->focusWidget() ? m_window->focusWidget()->objectName() : QString();
}

void ClockStation::Click(const char* button) {
    const QString name = QString::fromLatin1(button);
    auto* inactive = m_window->findChild<QLabel*>(name + QStringLiteral("Inactive"));
    auto* active = m_window->findChild<QLabel*>(name + QStringLiteral("Active"));
    ASSERT_NE(inactive, nullptr);
    ASSERT_NE(active, nullptr);
    if (!active->isVisible()) {
        const QPointF centre = QRectF(inactive->rect()).center();
        QMouseEvent move(QEvent::MouseMove, centre, inactive->mapToGlobal(centre), Qt::NoButton,
                         Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(inactive, &move);
    }
    ASSERT_TRUE(active->isVisible()) << button << " did not light up under the pointer";
    QTest::mouseClick(active, Qt::LeftButton);
}

std::string ClockStation::LastMessage() const {
    const auto& shown = m_recorder->shown;
    return shown.empty() ? std::string() : shown.back().title + "|" + shown.back().text;
}

int32_t ClockStation::LastStyle() const {
    const auto& shown = m_recorder->shown;
    return shown.empty() ? -1 : shown.back().style;
}

int64_t ClockStation::Count(const std::string& where) const {
    return m_db.QueryInt("SELECT count(*) FROM TimeRecord WHERE " + where);
}

std::filesystem::path ClockStation::LogPath() const {
    return m_db.Folder() / "system" / "clockerrorlog.txt";
}

std::vector<std::string> ClockStation::LogLines() const {
    return CrLfLines(LogPath());
}

} // namespace orvan::test
