#pragma once

#include <QtCore/QObject>
#include <QtCore/QPointer>

#include <chrono>

class QTimer;
class QWidget;

namespace orvan::timeclock {

// Closes a window that has had no key or mouse input for a while, so that a
// time card left open on the station is not read by the next person there.
// Any key or mouse input in the window or its controls starts the wait
// again. The object belongs to the window and ends with it; its timer is the
// window's child named "idleCloseTimer".
class IdleClose : public QObject {
    Q_OBJECT

public:
    // How long a time card shown on the station stays open without input.
    static constexpr std::chrono::milliseconds TimeCardInterval{60000};

    // Starts watching `window`; it is closed after `interval` without input.
    static IdleClose* Watch(QWidget* window, std::chrono::milliseconds interval);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    IdleClose(QWidget* window, std::chrono::milliseconds interval);
    bool IsInWindow(QObject* object) const;

    QPointer<QWidget> m_window;
    QTimer* m_timer = nullptr;
};

} // namespace orvan::timeclock
