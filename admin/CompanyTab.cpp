#include "admin/CompanyTab.h"

#include <exception>

#include "admin/CController.h"
#include "admin/ComboText.h"
#include "admin/FController.h"
#include "admin/ListPage.h"
#include "personnel/CCompany.h"
#include "personnel/CCompanyList.h"
#include "personnel/CDataValidator.h"
#include "ui_CompanyTab.h"

namespace orvan::admin {

CompanyTab::CompanyTab(QWidget* parent)
    : QWidget(parent), m_ui(std::make_unique<Ui::CompanyTab>()) {
    m_ui->setupUi(this);
    OnComboChosen(m_ui->cboCompanyID, this,
                  [this] { KeyChosen(m_ui->cboCompanyID, FController::SelectionByID); });
    OnComboChosen(m_ui->cboCompanyName, this,
                  [this] { KeyChosen(m_ui->cboCompanyName, FController::SelectionByName); });
    connect(m_ui->cmdCompanyNew, &QPushButton::clicked, this, &CompanyTab::NewOrCancelClicked);
    connect(m_ui->cmdCompanyCancel, &QPushButton::clicked, this, &CompanyTab::NewOrCancelClicked);
    connect(m_ui->cmdCompanySave, &QPushButton::clicked, this, &CompanyTab::SaveClicked);
}

CompanyTab::~CompanyTab() = default;

bool CompanyTab::FillCompanyLists(const CCompanyList& list) {
    try {
        m_ui->cboCompanyID->clear();
        m_ui->cboCompanyName->clear();
        for (int32_t i = 1; i <= list.Count(); ++i) {
            if (const auto company = list.Item(i); company != nullptr) {
                m_ui->cboCompanyID->addItem(QString::number(company->CompanyID()));
                m_ui->cboCompanyName->addItem(ToQString(company->CompanyName()));
            }
        }
        return true;
    } catch (const std::exception&) {
        return false;
    }
}

bool CompanyTab::ClearCompanyFields() {
    try {
        ClearCombo(m_ui->cboCompanyID);
        ClearCombo(m_ui->cboCompanyName);
        for (QLineEdit* box : {m_ui->txtCompanyAddr1, m_ui->txtCompanyAddr2, m_ui->txtCompanyCity,
                               m_ui->txtCompanyState, m_ui->txtCompanyZip, m_ui->txtCompanyPhone,
                               m_ui->txtCompanyFax, m_ui->txtFederalTaxID}) {
            box->clear();
        }
        return true;
    } catch (const std::exception&) {
        return false;
    }
}

bool CompanyTab::ShowCompany(const CCompany& company) {
    try {
        const int source = m_window != nullptr ? m_window->SelectionSource() : 0;
        if (source != FController::SelectionByID) {
            SetComboText(m_ui->cboCompanyID, std::to_string(company.CompanyID()));
        }
        if (source != FController::SelectionByName) {
            SetComboText(m_ui->cboCompanyName, company.CompanyName());
        }
        m_ui->txtCompanyAddr1->setText(ToQString(company.Address1()));
        m_ui->txtCompanyAddr2->setText(ToQString(company.Address2()));
        m_ui->txtCompanyCity->setText(ToQString(company.City()));
        m_ui->txtCompanyState->setText(ToQString(company.State()));
        m_ui->txtCompanyZip->setText(ToQString(company.ZipCode()));
        m_ui->txtCompanyPhone->setText(ToQString(company.Phone()));
        m_ui->txtCompanyFax->setText(ToQString(company.Fax()));
        m_ui->txtFederalTaxID->setText(ToQString(company.FederalTaxID()));
        return true;
    } catch (const std::exception&) {
        return false;
    }
}

void CompanyTab::KeyChosen(QComboBox* combo, int source) {
    ChooseListItem(
        m_window, combo, source,
        [this, source](const QString& text) -> std::shared_ptr<CCompany> {
            const auto list = m_window->Controller()->CompanyList();
            if (list == nullptr) {
                return nullptr;
            }
            if (source == FController::SelectionByID) {
                bool isNumber = false;
                const int32_t id = text.toInt(&isNumber);
                return isNumber ? list->GetCompanyByID(id) : nullptr;
            }
            return list->GetCompanyByName(ToStd(text));
        },
        [this](const CCompany& company) {
            if (!ShowCompany(company)) {
                return false;
            }
            m_window->SetStatusText(company.CompanyName(), "Phone: " + company.Phone());
            return true;
        },
        [this] { return ClearCompanyFields(); });
}

void CompanyTab::NewOrCancelClicked() {
    ClearCompanyFields();
    m_ui->cboCompanyName->setFocus();
}

bool CompanyTab::ReadCompanyFields(CCompany& company) const {
    try {
        company.SetCompanyName(ToStd(m_ui->cboCompanyName->currentText()));
        company.SetAddress1(ToStd(m_ui->txtCompanyAddr1->text()));
        company.SetAddress2(ToStd(m_ui->txtCompanyAddr2->text()));
        company.SetCity(ToStd(m_ui->txtCompanyCity->text()));
        company.SetState(ToStd(m_ui->txtCompanyState->text()));
        company.SetZipCode(ToStd(m_ui->txtCompanyZip->text()));
        company.SetPhone(ToStd(m_ui->txtCompanyPhone->text()));
        company.SetFax(ToStd(m_ui->txtCompanyFax->text()));
        company.SetFederalTaxID(ToStd(m_ui->txtFederalTaxID->text()));
        return true;
    } catch (const std::exception&) {
        return false;
    }
}

void CompanyTab::SaveClicked() {
    if (m_ui->cboCompanyName->currentText().isEmpty()) {
        Warn("Company Save Error", "You cannot save a company without a name.");
        return;
    }
    // Control and text-direction characters would reach the reports.
    for (const QString& text :
         {m_ui->cboCompanyName->currentText(), m_ui->txtCompanyAddr1->text(),
          m_ui->txtCompanyAddr2->text(), m_ui->txtCompanyCity->text(),
          m_ui->txtCompanyState->text(), m_ui->txtCompanyZip->text(), m_ui->txtCompanyPhone->text(),
          m_ui->txtCompanyFax->text(), m_ui->txtFederalTaxID->text()}) {
        if (!CDataValidator::CheckPlainText(ToStd(text))) {
            Warn("Company Save Error",
                 "An error occurred while validating the company information entered. Verify "
                 "that all data entered is of the appropriate type.");
            return;
        }
    }
    if (m_window == nullptr || m_window->Controller() == nullptr) {
        return;
    }
    CController& controller = *m_window->Controller();
    const auto list = controller.CompanyList();
    if (list == nullptr) {
        return;
    }

    if (SaveListItem(
            *list, m_ui->cboCompanyID, "company",
            [](const CCompany& company) { return company.CompanyID(); },
            [this](CCompany& company) { return ReadCompanyFields(company); })) {
        controller.GetCompanyList();
        m_window->FillCompanyLists();
        ClearCompanyFields();
    }
}

} // namespace orvan::admin
