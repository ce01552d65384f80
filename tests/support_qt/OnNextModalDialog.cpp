#include "support_qt/OnNextModalDialog.h"

#include <utility>

#include <QApplication>
#include <QTimer>
#include <QWidget>

namespace orvan::test {

void OnNextModalDialog(std::function<void(QWidget*)> action) {
    auto* timer = new QTimer(QCoreApplication::instance());
    timer->setObjectName(QStringLiteral("OnNextModalDialog"));
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, timer, [timer, action = std::move(action)]() {
        if (QWidget* dialog = QApplication::activeModalWidget()) {
            timer->stop();
            timer->deleteLater();
            action(dialog);
        }
    });
    timer->start();
}

void DropPendingModalDialogWatches() {
    for (QTimer* timer : QCoreApplication::instance()->findChildren<QTimer*>(
             QStringLiteral("OnNextModalDialog"), Qt::FindDirectChildrenOnly)) {
        delete timer;
    }
}

} // namespace orvan::test
