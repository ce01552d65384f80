#include "admin/EmployeeTab.h"

#include <algorithm>
#include <exception>

#include <QtGui/QRegularExpressionValidator>
#include <QtWidgets/QCompleter>

#include "admin/CController.h"
#include "admin/ComboText.h"
#include "admin/EmployeeSearch.h"
#include "admin/FController.h"
#include "admin/ListPage.h"
#include "core/DateTime.h"
#include "personnel/CDataValidator.h"
#include "personnel/CEmployee.h"
#include "personnel/CEmployeeList.h"
#include "security/PinHash.h"
#include "storage/MessageBox.h"
#include "storage/StationStore.h"
#include "ui_EmployeeTab.h"

namespace orvan::admin {

namespace {

constexpr const char* SaveErrorTitle = "Employee Save Error";

// Overwrites a PIN held in clear before its memory is given back.
void Wipe(std::string& text) {
    std::fill(text.begin(), text.end(), '\0');
    text.clear();
}

} // namespace

EmployeeTab::EmployeeTab(QWidget* parent)
    : QWidget(parent), m_ui(std::make_unique<Ui::EmployeeTab>()) {
    m_ui->setupUi(this);
    OnComboChosen(m_ui->cboEmployeeID, this,
                  [this] { KeyChosen(m_ui->cboEmployeeID, FController::SelectionByID); });
    // The name, number and social security number boxes look an employee
    // up when one is picked from their list, and on Enter unless the form
    // is a new employee's; never when the box is merely left.
    const auto keyBox = [this](QComboBox* combo, int source) {
        OnComboChosen(combo, this, [this, combo, source](ComboChoice choice) {
            if (choice == ComboChoice::Left || (choice == ComboChoice::Typed && m_newEmployee)) {
                return;
            }
            KeyChosen(combo, source);
        });
        // Completion offers the names in a list and never rewrites what is
        // typed, nor its case.
        if (QCompleter* completer = combo->completer(); completer != nullptr) {
            completer->setCompletionMode(QCompleter::PopupCompletion);
            completer->setCaseSensitivity(Qt::CaseSensitive);
        }
    };
    keyBox(m_ui->cboEmployeeName, FController::SelectionByName);
    keyBox(m_ui->cboEmployeeSSN, FController::SelectionBySSN);
    keyBox(m_ui->cboEmployeeNumber, FController::SelectionByNumber);
    connect(m_ui->chkAutoDeduct, &QCheckBox::clicked, this, &EmployeeTab::AutoDeductClicked);
    connect(m_ui->cmdEmployeeNew, &QPushButton::clicked, this, &EmployeeTab::NewClicked);
    connect(m_ui->cmdEmployeeSave, &QPushButton::clicked, this, &EmployeeTab::SaveClicked);
    connect(m_ui->cmdEmployeeCancel, &QPushButton::clicked, this, &EmployeeTab::CancelClicked);
    // Digits only; the length is checked at Save, so a PIN too short is said.
    m_ui->txtPIN->setValidator(new QRegularExpressionValidator(
        QRegularExpression(QStringLiteral("[0-9]{0,%1}").arg(pin::MaxPinLength)), m_ui->txtPIN));
    connect(m_ui->chkRemovePIN, &QCheckBox::toggled, this, &EmployeeTab::RemovePinToggled);
    // The search box finds any employee of the list; the one picked is
    // chosen in the id box as if picked there.
    new EmployeeSearch(
        m_ui->txtEmployeeSearch,
        [this] {
            EmployeeSearch::Employees employees;
            const auto list = m_window != nullptr && m_window->Controller() != nullptr
                                  ? m_window->Controller()->EmployeeList()
                                  : nullptr;
            for (int32_t i = 1; list != nullptr && i <= list->Count(); ++i) {
                employees.push_back(list->Item(i));
            }
            return employees;
        },
        [this](const CEmployee& employee) {
            PickComboEntry(m_ui->cboEmployeeID, QString::number(employee.EmployeeID()));
        });
}

EmployeeTab::~EmployeeTab() = default;

std::string EmployeeTab::EmployeeDisplayName(const CEmployee& employee) {
    if (employee.FirstName().empty()) {
        return employee.LastName();
    }
    return employee.FirstName() + " " + employee.LastName();
}

std::string EmployeeTab::FirstNameOf(const std::string& thename) {
    const auto blank = thename.find(' ');
    return blank == std::string::npos ? std::string() : thename.substr(0, blank);
}

std::string EmployeeTab::LastNameOf(const std::string& thename) {
    const auto blank = thename.find(' ');
    return blank == std::string::npos ? thename : thename.substr(blank + 1);
}

bool EmployeeTab::FillEmployeeLists(const CEmployeeList& list) {
    try {
        m_ui->cboEmployeeID->clear();
        m_ui->cboEmployeeName->clear();
        m_ui->cboEmployeeNumber->clear();
        m_ui->cboEmployeeSSN->clear();
        for (int32_t i = 1; i <= list.Count(); ++i) {
            const auto employee = list.Item(i);
            if (employee == nullptr) {
                continue;
            }
            m_ui->cboEmployeeID->addItem(QString::number(employee->EmployeeID()));
            m_ui->cboEmployeeSSN->addItem(ToQString(employee->SSN()));
            m_ui->cboEmployeeNumber->addItem(QString::number(employee->EmployeeNumber()));
            m_ui->cboEmployeeName->addItem(ToQString(EmployeeDisplayName(*employee)));
        }
        LoadPinStates();
        return true;
    } catch (const std::exception&) {
        return false;
    }
}

bool EmployeeTab::ClearEmployeeFields() {
    try {
        m_newEmployee = false;
        for (QComboBox* combo : {m_ui->cboEmployeeID, m_ui->cboEmployeeName, m_ui->cboEmployeeSSN,
                                 m_ui->cboEmployeeNumber}) {
            ClearCombo(combo);
        }
        for (QLineEdit* box : {m_ui->txtEmployeeAddr1, m_ui->txtEmployeeAddr2,
                               m_ui->txtEmployeeCity, m_ui->txtEmployeeState, m_ui->txtEmployeeZip,
                               m_ui->txtEmployeePhone, m_ui->txtPassword}) {
            box->clear();
        }
        for (DateCombo* date : {m_ui->cboDOB, m_ui->cboHireDate, m_ui->cboReleaseDate}) {
            date->Clear();
            date->update();
        }
        m_ui->chkEmployeeActive->setChecked(false);
        m_ui->chkAutoDeduct->setChecked(false);
        m_ui->txtPayRate->setText(QStringLiteral("0.00"));
        m_ui->txtOvertimePayRate->setText(QStringLiteral("0.00"));
        m_ui->txtLunchLength->setText(QStringLiteral("0"));
        m_ui->txtBreakLength->setText(QStringLiteral("0"));
        SetAutoDeductEnabled(false);
        ClearPinFields();
        return true;
    } catch (const std::exception&) {
        return false;
    }
}

void EmployeeTab::ShowPasswordOf(const CEmployee& employee) {
    if (m_ui->cboEmployeeID->currentText() == QString::number(employee.EmployeeID())) {
        m_ui->txtPassword->setText(ToQString(employee.Password()));
    }
}

bool EmployeeTab::ShowEmployee(const CEmployee& employee) {
    try {
        m_newEmployee = false;
        const int source = m_window != nullptr ? m_window->SelectionSource() : 0;
        if (source != FController::SelectionByID) {
            SetComboText(m_ui->cboEmployeeID, std::to_string(employee.EmployeeID()));
        }
        if (source != FController::SelectionByName) {
            SetComboText(m_ui->cboEmployeeName, EmployeeDisplayName(employee));
        }
        if (source != FController::SelectionBySSN) {
            SetComboText(m_ui->cboEmployeeSSN, employee.SSN());
        }
        m_ui->txtEmployeeAddr1->setText(ToQString(employee.Address1()));
        m_ui->txtEmployeeAddr2->setText(ToQString(employee.Address2()));
        m_ui->txtEmployeeCity->setText(ToQString(employee.City()));
        m_ui->txtEmployeeState->setText(ToQString(employee.State()));
        m_ui->txtEmployeeZip->setText(ToQString(employee.ZipCode()));
        m_ui->txtEmployeePhone->setText(ToQString(employee.Phone()));
        m_ui->txtPassword->setText(ToQString(employee.Password()));
        SetComboText(m_ui->cboEmployeeNumber, std::to_string(employee.EmployeeNumber()));
        m_ui->cboHireDate->SetValue(employee.HireDate());
        m_ui->cboReleaseDate->SetValue(employee.ReleaseDate());
        m_ui->cboDOB->SetValue(employee.DateOfBirth());
        m_ui->chkEmployeeActive->setChecked(employee.EmployeeActive());
        // The stored rates whatever the active state: an inactive employee
        // saved again keeps the pay it had.
        m_ui->txtPayRate->setText(ToQString(FormatNumber(employee.PayRate(), "##0.00")));
        m_ui->txtOvertimePayRate->setText(
            ToQString(FormatNumber(employee.OvertimePayRate(), "##0.00")));
        m_ui->chkAutoDeduct->setChecked(employee.AutoDeduct());
        SetAutoDeductEnabled(employee.AutoDeduct());
        m_ui->txtLunchLength->setText(QString::number(employee.AutoDeductLunchLength()));
        m_ui->txtBreakLength->setText(QString::number(employee.AutoDeductBreakLength()));
        ShowPinState(employee.EmployeeID());
        return true;
    } catch (const std::exception&) {
        return false;
    }
}

void EmployeeTab::KeyChosen(QComboBox* combo, int source) {
    ChooseListItem(
        m_window, combo, source,
        [this, source](const QString& text) -> std::shared_ptr<CEmployee> {
            const auto list = m_window->Controller()->EmployeeList();
            if (list == nullptr) {
                return nullptr;
            }
            bool isNumber = false;
            const int32_t number = text.toInt(&isNumber);
            switch (source) {
            case FController::SelectionByID:
                return isNumber ? list->GetEmployeeByID(number) : nullptr;
            case FController::SelectionByName:
                return list->GetEmployeeByName(ToStd(text));
            case FController::SelectionBySSN:
                return list->GetEmployeeBySSN(ToStd(text));
            default:
                return isNumber ? list->GetEmployeeByNumber(number) : nullptr;
            }
        },
        [this](const CEmployee& employee) {
            if (!ShowEmployee(employee)) {
                return false;
            }
            m_window->SetStatusText(employee.FirstName() + " " + employee.LastName(),
                                    "Employee Number: " +
                                        std::to_string(employee.EmployeeNumber()));
            return true;
        },
        [this] { return ClearEmployeeFields(); });
}

void EmployeeTab::SetAutoDeductEnabled(bool enabled) {
    for (QWidget* widget :
         {static_cast<QWidget*>(m_ui->txtLunchLength), static_cast<QWidget*>(m_ui->txtBreakLength),
          static_cast<QWidget*>(m_ui->lblMinutes1), static_cast<QWidget*>(m_ui->lblMinutes2),
          static_cast<QWidget*>(m_ui->lblAutoDeductLunch),
          static_cast<QWidget*>(m_ui->lblAutoDeductBreak)}) {
        widget->setEnabled(enabled);
    }
}

void EmployeeTab::LoadPinStates() {
    const auto database = m_window != nullptr && m_window->Controller() != nullptr
                              ? m_window->Controller()->OrvanDatabase()
                              : nullptr;
    m_employeesWithPin =
        database != nullptr ? StationStore(database).EmployeesWithPin() : std::nullopt;
}

void EmployeeTab::ClearPinFields() {
    m_ui->txtPIN->clear();
    m_ui->txtPIN->setEnabled(true);
    m_ui->chkRemovePIN->setChecked(false);
    m_ui->chkRemovePIN->setEnabled(false);
    m_ui->lblPINState->setText(QStringLiteral("No PIN"));
}

void EmployeeTab::ShowPinState(int32_t employeeID) {
    ClearPinFields();
    if (!m_employeesWithPin) {
        // The file did not say: claim neither.
        m_ui->lblPINState->clear();
        m_ui->chkRemovePIN->setEnabled(true);
        return;
    }
    const bool hasPin = m_employeesWithPin->count(employeeID) != 0;
    m_ui->lblPINState->setText(hasPin ? QStringLiteral("PIN set") : QStringLiteral("No PIN"));
    m_ui->chkRemovePIN->setEnabled(hasPin);
}

void EmployeeTab::RemovePinToggled(bool remove) {
    // Removing and typing a new PIN exclude each other.
    if (remove) {
        m_ui->txtPIN->clear();
    }
    m_ui->txtPIN->setEnabled(!remove);
}

void EmployeeTab::SavePin(int32_t employeeID, const std::string& pin, bool remove) {
    if (pin.empty() && !remove) {
        return; // a blank box keeps the current PIN
    }
    const auto database = m_window->Controller()->OrvanDatabase();
    bool saved = false;
    if (database != nullptr) {
        StationStore store(database);
        if (remove) {
            saved = store.SetPinHash(employeeID, std::string());
        } else {
            const std::string hash = pin::HashPin(pin);
            saved = !hash.empty() && store.SetPinHash(employeeID, hash);
        }
    }
    if (!saved) {
        Warn("PIN Save Error", remove ? "The employee was saved, but the PIN could not be removed."
                                      : "The employee was saved, but the PIN could not be stored.");
    }
}

std::optional<int32_t> EmployeeTab::AddedEmployeeID(const std::set<int32_t>& before, int32_t number,
                                                    const std::string& ssn) const {
    const auto list = m_window->Controller()->EmployeeList();
    std::optional<int32_t> found;
    for (int32_t i = 1; list != nullptr && i <= list->Count(); ++i) {
        const auto employee = list->Item(i);
        if (employee != nullptr && before.count(employee->EmployeeID()) == 0 &&
            employee->EmployeeNumber() == number && employee->SSN() == ssn &&
            (!found || employee->EmployeeID() > *found)) {
            found = employee->EmployeeID();
        }
    }
    return found;
}

void EmployeeTab::AutoDeductClicked() {
    SetAutoDeductEnabled(m_ui->chkAutoDeduct->isChecked());
}

void EmployeeTab::NewClicked() {
    ClearEmployeeFields();
    m_newEmployee = true;
    m_ui->chkEmployeeActive->setChecked(true);
    m_ui->cboEmployeeNumber->setFocus();
}

void EmployeeTab::CancelClicked() {
    ClearEmployeeFields();
    m_ui->cboEmployeeName->setFocus();
}

bool EmployeeTab::ValidateEmployeeFields() const {
    if (!CDataValidator::CheckIntegerValues(ToStd(m_ui->cboEmployeeNumber->currentText())) ||
        !CDataValidator::CheckSingleValues(ToStd(m_ui->txtPayRate->text())) ||
        !CDataValidator::CheckSingleValues(ToStd(m_ui->txtOvertimePayRate->text()))) {
        return false;
    }
    // Control and text-direction characters would reach the reports.
    for (const QString& text : {m_ui->cboEmployeeName->currentText(),
                                m_ui->cboEmployeeSSN->currentText(), m_ui->txtEmployeeAddr1->text(),
                                m_ui->txtEmployeeAddr2->text(), m_ui->txtEmployeeCity->text(),
                                m_ui->txtEmployeeState->text(), m_ui->txtEmployeeZip->text(),
                                m_ui->txtEmployeePhone->text(), m_ui->txtPassword->text()}) {
        if (!CDataValidator::CheckPlainText(ToStd(text))) {
            return false;
        }
    }
    return true;
}

namespace {

// A rate box: its number, or 0 when it is empty. False when it is no number.
bool ReadRate(const QString& text, float& rate) {
    if (text.isEmpty()) {
        rate = 0.0f;
        return true;
    }
    bool ok = false;
    rate = text.toFloat(&ok);
    return ok;
}

// A minute box: its number when it is not empty and not negative, otherwise
// 0. False when it is no 16-bit number.
bool ReadMinutes(const QString& text, int16_t& minutes) {
    minutes = 0;
    if (text.isEmpty()) {
        return true;
    }
    bool ok = false;
    const short value = text.toShort(&ok);
    if (!ok) {
        return false;
    }
    minutes = value < 0 ? int16_t{0} : static_cast<int16_t>(value);
    return true;
}

} // namespace

bool EmployeeTab::ReadEmployeeFields(CEmployee& employee) const {
    try {
        const std::string name = ToStd(m_ui->cboEmployeeName->currentText());
        bool ok = false;
        const int32_t number = m_ui->cboEmployeeNumber->currentText().toInt(&ok);
        float payRate = 0.0f;
        float overtimeRate = 0.0f;
        int16_t lunch = 0;
        int16_t breakLength = 0;
        if (!ok || !ReadRate(m_ui->txtPayRate->text(), payRate) ||
            !ReadRate(m_ui->txtOvertimePayRate->text(), overtimeRate) ||
            !ReadMinutes(m_ui->txtLunchLength->text(), lunch) ||
            !ReadMinutes(m_ui->txtBreakLength->text(), breakLength)) {
            return false;
        }
        employee.SetFirstName(FirstNameOf(name));
        employee.SetLastName(LastNameOf(name));
        employee.SetSSN(ToStd(m_ui->cboEmployeeSSN->currentText()));
        employee.SetAddress1(ToStd(m_ui->txtEmployeeAddr1->text()));
        employee.SetAddress2(ToStd(m_ui->txtEmployeeAddr2->text()));
        employee.SetCity(ToStd(m_ui->txtEmployeeCity->text()));
        employee.SetState(ToStd(m_ui->txtEmployeeState->text()));
        employee.SetZipCode(ToStd(m_ui->txtEmployeeZip->text()));
        employee.SetPhone(ToStd(m_ui->txtEmployeePhone->text()));
        employee.SetPassword(ToStd(m_ui->txtPassword->text()));
        employee.SetEmployeeNumber(number);
        employee.SetHireDate(m_ui->cboHireDate->Value());
        employee.SetDateOfBirth(m_ui->cboDOB->Value());
        employee.SetReleaseDate(m_ui->cboReleaseDate->Value());
        employee.SetEmployeeActive(m_ui->chkEmployeeActive->isChecked());
        employee.SetPayRate(payRate);
        employee.SetOvertimePayRate(overtimeRate);
        employee.SetAutoDeduct(m_ui->chkAutoDeduct->isChecked());
        employee.SetAutoDeductLunchLength(lunch);
        employee.SetAutoDeductBreakLength(breakLength);
        return true;
    } catch (const std::exception&) {
        return false;
    }
}

bool EmployeeTab::IsNumberAndSSNFree() const {
    const auto list = m_window != nullptr && m_window->Controller() != nullptr
                          ? m_window->Controller()->EmployeeList()
                          : nullptr;
    if (list == nullptr) {
        return true;
    }
    // The employee the form saves into: none for a new one.
    bool isID = false;
    const int32_t id = m_ui->cboEmployeeID->currentText().toInt(&isID);
    const bool existing = m_ui->cboEmployeeID->currentIndex() >= 0 && isID;
    if (isID && id == CEmployee::AdministratorID) {
        return true; // refused further on, with its own message
    }
    const int32_t number = m_ui->cboEmployeeNumber->currentText().toInt();
    const std::string ssn = ToStd(m_ui->cboEmployeeSSN->currentText());
    for (int32_t i = 1; i <= list->Count(); ++i) {
        const auto other = list->Item(i);
        if (other == nullptr || (existing && other->EmployeeID() == id)) {
            continue;
        }
        if (other->EmployeeNumber() == number) {
            Warn(SaveErrorTitle, "Employee number " + std::to_string(number) +
                                     " already belongs to " + EmployeeDisplayName(*other) + ".");
            return false;
        }
        if (other->SSN() == ssn) {
            Warn(SaveErrorTitle, "Social security number " + ssn + " already belongs to " +
                                     EmployeeDisplayName(*other) + ".");
            return false;
        }
    }
    return true;
}

void EmployeeTab::SaveClicked() {
    if (m_ui->cboEmployeeNumber->currentText().isEmpty()) {
        Warn(SaveErrorTitle, "You cannot save an employee without assigning an employee number.");
        return;
    }
    if (m_ui->cboEmployeeName->currentText().isEmpty()) {
        Warn(SaveErrorTitle, "You cannot save an employee without a name.");
        return;
    }
    if (m_ui->cboEmployeeSSN->currentText().isEmpty()) {
        Warn(SaveErrorTitle, "You cannot save an employee without a social security number.");
        return;
    }
    if (!ValidateEmployeeFields()) {
        Warn(SaveErrorTitle, "An error occurred while validating the employee information "
                             "entered. Verify that all data entered is of the appropriate type.");
        return;
    }
    if (!IsNumberAndSSNFree()) {
        return;
    }
    std::string pin = ToStd(m_ui->txtPIN->text());
    if (!pin.empty() && !pin::IsValidPin(pin)) {
        Wipe(pin);
        m_ui->txtPIN->clear();
        Warn("Invalid PIN", "The PIN must be 4 to 8 digits.");
        m_ui->txtPIN->setFocus();
        return;
    }
    // The PIN leaves the form now, whatever comes of the save.
    m_ui->txtPIN->clear();
    struct WipeOnExit {
        std::string& text;
        ~WipeOnExit() { Wipe(text); }
    } wipePin{pin};
    const bool removePin = m_ui->chkRemovePIN->isChecked();

    const QString idText = m_ui->cboEmployeeID->currentText();
    bool isID = false;
    // The administrator's own record is never saved from this page.
    if (!idText.isEmpty() && idText.toShort(&isID) == CEmployee::AdministratorID && isID) {
        ShowMessage(MsgIconInformation + MsgButtonsOK, SaveErrorTitle,
                    "The Administrator may not be modified or deleted.");
        ClearEmployeeFields();
        return;
    }
    if (m_window == nullptr || m_window->Controller() == nullptr) {
        return;
    }
    CController& controller = *m_window->Controller();
    const auto list = controller.EmployeeList();
    if (list == nullptr) {
        return;
    }

    // Who the PIN belongs to: the chosen employee, or the one the database
    // adds, found after the reload by the id it did not have before.
    const bool adding = m_ui->cboEmployeeID->currentIndex() < 0;
    std::set<int32_t> idsBefore;
    for (int32_t i = 1; i <= list->Count(); ++i) {
        if (const auto employee = list->Item(i); employee != nullptr) {
            idsBefore.insert(employee->EmployeeID());
        }
    }
    const int32_t number = m_ui->cboEmployeeNumber->currentText().toInt();
    const std::string ssn = ToStd(m_ui->cboEmployeeSSN->currentText());

    if (SaveListItem(
            *list, m_ui->cboEmployeeID, "employee",
            [](const CEmployee& employee) { return employee.EmployeeID(); },
            [this](CEmployee& employee) { return ReadEmployeeFields(employee); })) {
        controller.GetEmployeeList();
        if (!pin.empty() || removePin) {
            const std::optional<int32_t> id =
                adding ? AddedEmployeeID(idsBefore, number, ssn) : std::optional(idText.toInt());
            if (id) {
                SavePin(*id, pin, removePin);
            } else {
                Warn("PIN Save Error", "The employee was saved, but the PIN could not be stored.");
            }
        }
        m_window->FillEmployeeLists();
        ClearEmployeeFields();
    }
}

} // namespace orvan::admin
