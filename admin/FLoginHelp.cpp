#include "admin/FLoginHelp.h"

#include "ui_FLoginHelp.h"

namespace orvan::admin {

FLoginHelp::FLoginHelp(QWidget* parent)
    : QDialog(parent), m_ui(std::make_unique<Ui::FLoginHelp>()) {
    m_ui->setupUi(this);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    connect(m_ui->cmdOK, &QPushButton::clicked, this, &FLoginHelp::OnOK);
}

FLoginHelp::~FLoginHelp() = default;

void FLoginHelp::HideFirstTimePassword() {
    m_ui->lblPassword->setText(QStringLiteral("Password: the one set under File, Change Password"));
}

void FLoginHelp::OnOK() {
    m_showHelp = !m_ui->chkHideDialog->isChecked();
    accept();
}

} // namespace orvan::admin
