#include "admin/FController.h"

#include <QCloseEvent>

#include "admin/CController.h"

namespace orvan::admin {

FController::FController(QWidget* parent) : QMainWindow(parent) {
    setObjectName(QStringLiteral("FController"));
    setWindowTitle(QStringLiteral("Velmora - Adminstrator"));
}

FController::~FController() = default;

void FController::SetController(CController* controller) {
    m_controller = controller;
    show();
}

bool FController::DisplaySystemOptions(const std::shared_ptr<orvan::CSystemOptions>& options) {
    return options != nullptr;
}

void FController::closeEvent(QCloseEvent* event) {
    if (m_controller == nullptr) {
        event->accept();
        return;
    }
    m_controller->UnloadControllerWindow();
    if (!m_controller->Cleanup()) {
        event->ignore();
        return;
    }
    event->accept();
}

} // namespace orvan::admin
