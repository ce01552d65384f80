#include "admin/OptionsTab.h"

#include <exception>
#include <optional>

#include "admin/CController.h"
#include "admin/FController.h"
#include "core/DateTime.h"
#include "personnel/CDataValidator.h"
#include "personnel/CEmployee.h"
#include "personnel/CEmployeeList.h"
#include "storage/CSystemOptions.h"
#include "storage/MessageBox.h"
#include "storage/StationStore.h"
#include "tempix/TempixTB.h"
#include "ui/DateCombo.h"
#include "ui_OptionsTab.h"

namespace orvan::admin {

namespace {

// The time in a date/time box, or nothing when the box is empty or holds no
// valid time. A value before the zero date counts as the zero date.
std::optional<DateTime> ReadTime(const tempix::TempixTB& box) {
    const std::string text = box.Text();
    if (text.empty() || !CDataValidator::CheckTempixValues(text)) {
        return std::nullopt;
    }
    const auto value = DateTime::Parse(text);
    if (!value) {
        return std::nullopt;
    }
    return value->Days() < 0.0 ? DateTime() : *value;
}

} // namespace

OptionsTab::OptionsTab(QWidget* parent)
    : QWidget(parent), m_ui(std::make_unique<Ui::OptionsTab>()) {
    m_ui->setupUi(this);
    connect(m_ui->cmdApplyOptions, &QPushButton::clicked, this, &OptionsTab::ApplyClicked);
    connect(m_ui->cmdCancelOptions, &QPushButton::clicked, this, &OptionsTab::CancelClicked);
    connect(m_ui->chkRequirePIN, &QCheckBox::clicked, this, &OptionsTab::RequirePinClicked);
    for (const PayScheduleKind kind :
         {PayScheduleKind::ChosenDay, PayScheduleKind::Weekly, PayScheduleKind::EveryTwoWeeks,
          PayScheduleKind::TwiceAMonth, PayScheduleKind::Monthly}) {
        m_ui->cboPaySchedule->addItem(
            QString::fromUtf8(PaySchedule::Caption(kind).data(),
                              static_cast<qsizetype>(PaySchedule::Caption(kind).size())),
            static_cast<int>(kind));
    }
    m_periodLengthTip = m_ui->txtPeriodLength->toolTip();
    connect(m_ui->cboPaySchedule, &QComboBox::currentIndexChanged, this,
            &OptionsTab::PayScheduleChosen);
    PayScheduleChosen();
}

OptionsTab::~OptionsTab() = default;

namespace {

std::shared_ptr<CJetDB> DatabaseOf(const FController* window) {
    return window != nullptr && window->Controller() != nullptr
               ? window->Controller()->OrvanDatabase()
               : nullptr;
}

} // namespace

bool OptionsTab::DisplaySystemOptions(const std::shared_ptr<CSystemOptions>& options) {
    if (!ShowSystemOptions(options)) {
        return false;
    }
    const auto database = DatabaseOf(m_window);
    if (database == nullptr) {
        return false;
    }
    StationStore store(database);
    m_requirePin = store.RequirePin();
    m_ui->chkRequirePIN->setChecked(m_requirePin.value_or(false));
    m_fullScreen = m_requirePin ? store.FullScreen() : std::nullopt;
    m_ui->chkFullScreen->setChecked(m_fullScreen.value_or(false));
    m_schedule = m_fullScreen ? store.StoredPaySchedule() : std::nullopt;
    ShowPaySchedule(m_schedule.value_or(PaySchedule()));
    return m_requirePin.has_value() && m_fullScreen.has_value() && m_schedule.has_value();
}

void OptionsTab::ShowPaySchedule(const PaySchedule& schedule) {
    const int index = m_ui->cboPaySchedule->findData(static_cast<int>(schedule.Kind()));
    m_ui->cboPaySchedule->setCurrentIndex(index < 0 ? 0 : index);
    if (PaySchedule::UsesAnchor(schedule.Kind())) {
        m_ui->dcbPayScheduleAnchor->SetValue(schedule.Anchor());
    } else {
        m_ui->dcbPayScheduleAnchor->Clear();
    }
    PayScheduleChosen();
}

PayScheduleKind OptionsTab::ChosenKind() const {
    const QVariant chosen = m_ui->cboPaySchedule->currentData();
    return chosen.isValid() ? static_cast<PayScheduleKind>(chosen.toInt())
                            : PayScheduleKind::ChosenDay;
}

void OptionsTab::PayScheduleChosen() {
    const PayScheduleKind kind = ChosenKind();
    const bool anchored = PaySchedule::UsesAnchor(kind);
    m_ui->lblPayScheduleAnchor->setEnabled(anchored);
    m_ui->dcbPayScheduleAnchor->setEnabled(anchored);
    // An anchored kind chosen with no date yet suggests today.
    if (anchored && m_ui->dcbPayScheduleAnchor->IsEmpty()) {
        m_ui->dcbPayScheduleAnchor->SetValue(DateTime::Today());
    }
    const bool fixed = kind != PayScheduleKind::ChosenDay;
    m_ui->txtPeriodLength->setEnabled(!fixed);
    m_ui->txtPeriodLength->setToolTip(fixed ? QStringLiteral("The pay schedule sets the periods.")
                                            : m_periodLengthTip);
}

bool OptionsTab::ShowSystemOptions(const std::shared_ptr<CSystemOptions>& options) {
    if (options == nullptr) {
        return false;
    }
    try {
        m_ui->txtPeriodLength->setText(QString::number(options->PeriodLength()));
        m_ui->tptbAutoShiftStartTime->SetText(options->AutoShiftStartTime().ToString());
        m_ui->tptbAutoShiftEndTime->SetText(options->AutoShiftEndTime().ToString());
        return true;
    } catch (const std::exception&) {
        return false;
    }
}

bool OptionsTab::ApplySystemOptions(const std::shared_ptr<CSystemOptions>& options) {
    // The PIN option has no invalid value: it is written whatever becomes of
    // the others.
    const bool applied = ApplyOptionValues(options);
    const bool station = ApplyStationOptions();
    return applied && station;
}

bool OptionsTab::ApplyStationOptions() {
    const auto database = DatabaseOf(m_window);
    // An option already stored is not written: the file is not touched.
    const auto apply = [&database](std::optional<bool>& stored, bool wanted,
                                   bool (StationStore::*set)(bool)) {
        if (stored == wanted) {
            return true;
        }
        if (database == nullptr) {
            return false;
        }
        StationStore store(database);
        if (!(store.*set)(wanted)) {
            return false;
        }
        stored = wanted;
        return true;
    };
    const bool requirePin =
        apply(m_requirePin, m_ui->chkRequirePIN->isChecked(), &StationStore::SetRequirePin);
    const bool fullScreen =
        apply(m_fullScreen, m_ui->chkFullScreen->isChecked(), &StationStore::SetFullScreen);
    const bool schedule = ApplyPaySchedule();
    return requirePin && fullScreen && schedule;
}

bool OptionsTab::ApplyPaySchedule() {
    const PayScheduleKind kind = ChosenKind();
    const bool anchored = PaySchedule::UsesAnchor(kind);
    const DateTime anchor = anchored ? m_ui->dcbPayScheduleAnchor->Value() : DateTime();
    if (anchored && anchor.IsZero()) {
        return false;
    }
    // An unchanged schedule is not written: the file is not touched.
    if (m_schedule && m_schedule->Kind() == kind && (!anchored || m_schedule->Anchor() == anchor)) {
        return true;
    }
    const auto database = DatabaseOf(m_window);
    if (database == nullptr) {
        return false;
    }
    // A kind without an anchor keeps the anchor it was read with.
    const PaySchedule wanted(kind, anchored ? anchor : m_schedule.value_or(PaySchedule()).Anchor());
    if (!StationStore(database).SetPaySchedule(wanted)) {
        return false;
    }
    m_schedule = wanted;
    if (m_window != nullptr) {
        m_window->SetSchedule(wanted);
    }
    return true;
}

bool OptionsTab::ApplyOptionValues(const std::shared_ptr<CSystemOptions>& options) {
    if (options == nullptr) {
        return false;
    }
    try {
        const std::string period = m_ui->txtPeriodLength->text().toStdString();
        bool isNumber = false;
        const short length = m_ui->txtPeriodLength->text().toShort(&isNumber);
        if (period.empty() || !CDataValidator::CheckIntegerValues(period) || !isNumber) {
            options->SetPeriodLength(0);
            return false;
        }
        options->SetPeriodLength(length < 0 ? int16_t{0} : static_cast<int16_t>(length));

        const auto start = ReadTime(*m_ui->tptbAutoShiftStartTime);
        options->SetAutoShiftStartTime(start.value_or(DateTime()));
        if (!start) {
            return false;
        }
        const auto end = ReadTime(*m_ui->tptbAutoShiftEndTime);
        options->SetAutoShiftEndTime(end.value_or(DateTime()));
        if (!end) {
            return false;
        }
        return options->Update();
    } catch (const std::exception&) {
        return false;
    }
}

void OptionsTab::RequirePinClicked(bool checked) {
    if (!checked) {
        return;
    }
    const auto database = DatabaseOf(m_window);
    const auto list = m_window != nullptr && m_window->Controller() != nullptr
                          ? m_window->Controller()->EmployeeList()
                          : nullptr;
    if (database == nullptr || list == nullptr) {
        return;
    }
    const auto withPin = StationStore(database).EmployeesWithPin();
    if (!withPin) {
        return; // unknown: nothing to warn of
    }
    // Only active employees clock in; the administrator never does.
    int32_t active = 0;
    int32_t without = 0;
    for (int32_t i = 1; i <= list->Count(); ++i) {
        const auto employee = list->Item(i);
        if (employee == nullptr || !employee->EmployeeActive() ||
            employee->EmployeeID() == CEmployee::AdministratorID) {
            continue;
        }
        ++active;
        if (withPin->count(employee->EmployeeID()) == 0) {
            ++without;
        }
    }
    if (without == 0) {
        return;
    }
    const std::string text = std::to_string(without) + " of " + std::to_string(active) +
                             " active employees have no PIN and will not be able to clock in. "
                             "Turn it on anyway?";
    if (ShowMessage(MsgIconQuestion + MsgButtonsYesNo, "Require a PIN", text) != MsgResultYes) {
        m_ui->chkRequirePIN->setChecked(false);
    }
}

void OptionsTab::ApplyClicked() {
    const auto options = m_window != nullptr && m_window->Controller() != nullptr
                             ? m_window->Controller()->SystemOptions()
                             : nullptr;
    if (!ApplySystemOptions(options)) {
        ShowMessage(MsgIconExclamation + MsgButtonsOK, "Update Options Error",
                    "An error occurred while updating the system options in the database.");
    }
}

void OptionsTab::CancelClicked() {
    const auto options = m_window != nullptr && m_window->Controller() != nullptr
                             ? m_window->Controller()->SystemOptions()
                             : nullptr;
    // The values in memory; nothing is read from the database.
    m_ui->chkRequirePIN->setChecked(m_requirePin.value_or(false));
    m_ui->chkFullScreen->setChecked(m_fullScreen.value_or(false));
    ShowPaySchedule(m_schedule.value_or(PaySchedule()));
    if (!ShowSystemOptions(options)) {
        ShowMessage(MsgIconExclamation + MsgButtonsOK, "Restore Options Error",
                    "An error occurred while restoring system options from the database.");
    }
}

} // namespace orvan::admin
