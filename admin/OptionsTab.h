#pragma once

#include <memory>
#include <optional>

#include <QtWidgets/QWidget>

#include "core/PaySchedule.h"

namespace Ui {
class OptionsTab;
}

namespace orvan {
class CSystemOptions;
} // namespace orvan

namespace orvan::admin {

class FController;

// The "General Program Options" page of the main window: the pay period
// length and the standard shift's start and end times. Apply writes them
// into the controller's system options and the database; Cancel shows the
// values the system options hold in memory again. The page also holds the
// clock station's "Require a PIN at the clock station" and "Clock station
// in full screen", which are kept in the station's own table, apart from
// the system options, and the pay schedule kept there too: its kind and the
// first day of one period for the weekly kinds. Under a fixed schedule the
// period length box is not used and is disabled.
class OptionsTab : public QWidget {
    Q_OBJECT

public:
    explicit OptionsTab(QWidget* parent = nullptr);
    ~OptionsTab() override;

    // The main window holding the page (not owned).
    void SetWindow(FController* window) { m_window = window; }

    // Shows the options' period length and shift times, and the station's
    // two options read from the database; False without options or when a
    // station option could not be read.
    bool DisplaySystemOptions(const std::shared_ptr<CSystemOptions>& options);
    // Reads the three boxes into `options`, stopping at the first value that
    // is not valid (that one becomes 0, the ones before stay changed), then
    // writes the options to the database; and writes each station option
    // that differs from the one stored. True when all were valid and written.
    bool ApplySystemOptions(const std::shared_ptr<CSystemOptions>& options);

private:
    void ApplyClicked();
    void CancelClicked();
    // Ticking the PIN option while active employees have no PIN asks
    // first; No unticks it again.
    void RequirePinClicked(bool checked);
    bool ShowSystemOptions(const std::shared_ptr<CSystemOptions>& options);
    bool ApplyOptionValues(const std::shared_ptr<CSystemOptions>& options);
    bool ApplyStationOptions();
    // Writes the chosen pay schedule when it differs from the one stored
    // and hands it to the main window; False when it was not written (or an
    // anchored kind has no anchor date).
    bool ApplyPaySchedule();
    // Shows `schedule` in the combo and the anchor box.
    void ShowPaySchedule(const PaySchedule& schedule);
    // The kind chosen in the combo.
    PayScheduleKind ChosenKind() const;
    // Enables the anchor box for the anchored kinds and the period length
    // box for "Starting on the chosen day" alone.
    void PayScheduleChosen();

    std::unique_ptr<Ui::OptionsTab> m_ui;
    FController* m_window = nullptr;
    // The PIN option as last read from or written to the database; nullopt
    // before it was read.
    std::optional<bool> m_requirePin;
    // The same for "Clock station in full screen".
    std::optional<bool> m_fullScreen;
    // The pay schedule as last read or written; nullopt before it was read.
    std::optional<PaySchedule> m_schedule;
    // The period length box's own tooltip, for when a schedule no longer
    // disables it.
    QString m_periodLengthTip;
};

} // namespace orvan::admin
