#include "bench/admin/support/StartLoggedIn.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

#include "admin/AdminMain.h"
#include "admin/CController.h"
#include "admin/FController.h"
#include "admin/FLogin.h"

namespace orvan::bench {

admin::FController* StartLoggedIn() {
    QTimer watch;
    watch.setInterval(10);
    QObject::connect(&watch, &QTimer::timeout, [&watch] {
        auto* login = qobject_cast<admin::FLogin*>(QApplication::activeModalWidget());
        if (login == nullptr || !login->isVisible()) {
            return;
        }
        watch.stop();
        login->findChild<QLineEdit*>(QStringLiteral("txtName"))
            ->setText(QStringLiteral("administrator"));
        login->findChild<QLineEdit*>(QStringLiteral("txtPassword"))
            ->setText(QStringLiteral("renby742"));
        login->findChild<QPushButton*>(QStringLiteral("cmdLogin"))->click();
    });
    watch.start();
    if (!admin::StartProgram() || admin::AppController() == nullptr) {
        return nullptr;
    }
    return admin::AppController()->ControllerWindow();
}

} // namespace orvan::bench
