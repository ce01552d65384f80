#include "clock/IdleClose.h"

#include <QtCore/QCoreApplication>
#include <QtCore/QEvent>
#include <QtCore/QTimer>
#include <QtWidgets/QWidget>

namespace orvan::timeclock {

namespace {

bool IsInput(QEvent::Type type) {
    switch (type) {
    case QEvent::KeyPress:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
    case QEvent::Wheel:
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
        return true;
    default:
        return false;
    }
}

} // namespace

IdleClose* IdleClose::Watch(QWidget* window, std::chrono::milliseconds interval) {
    return window != nullptr ? new IdleClose(window, interval) : nullptr;
}

IdleClose::IdleClose(QWidget* window, std::chrono::milliseconds interval)
    : QObject(window), m_window(window), m_timer(new QTimer(window)) {
    m_timer->setObjectName(QStringLiteral("idleCloseTimer"));
    m_timer->setSingleShot(true);
    m_timer->setInterval(interval);
    connect(m_timer, &QTimer::timeout, this, [this] {
        if (m_window) {
            m_window->close();
        }
    });
    // Input reaches the control under the cursor or with the focus, not the
    // window itself: the whole program's events are looked at.
    QCoreApplication::instance()->installEventFilter(this);
    m_timer->start();
}

bool IdleClose::IsInWindow(QObject* object) const {
    auto* widget = qobject_cast<QWidget*>(object);
    return widget != nullptr && m_window &&
           (widget == m_window.data() || m_window->isAncestorOf(widget));
}

bool IdleClose::eventFilter(QObject* watched, QEvent* event) {
    if (IsInput(event->type()) && IsInWindow(watched)) {
        m_timer->start();
    }
    return QObject::eventFilter(watched, event);
}

} // namespace orvan::timeclock
