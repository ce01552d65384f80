#pragma once

#include <memory>

#include <QDialog>
#include <QList>
#include <QPointer>

#include "tempix/TempixExport.h"

namespace Ui {
class TPProperties;
}

namespace tempix {

class TempixTB;

// The design-time property page of the date/time box: its data type, the two
// formats and the two separators. The page shows and changes the first of
// the selected controls only.
class TEMPIX_EXPORT TPProperties : public QDialog {
    Q_OBJECT

public:
    // Fills the data type box with "Date" and "Time".
    explicit TPProperties(QWidget* parent = nullptr);
    ~TPProperties() override;

    // The controls the page works on; shows the first one's values. The page
    // does not own them; a control deleted meanwhile is skipped.
    void SetSelectedControls(const QList<TempixTB*>& controls);
    QList<TempixTB*> SelectedControls() const;

    // Whether the user edited a field since the page was filled or applied.
    bool Changed() const { return m_changed; }

    // Writes the five fields to the first selected control: DataType,
    // DateFormat, TimeFormat, DateSeparator, TimeSeparator in this order.
    void ApplyChanges();

signals:
    // The page wrote its fields to the first selected control.
    void Applied();

private:
    TempixTB* FirstControl() const;
    void ShowControl();
    void SetChanged(bool changed);
    void CheckTypedDataType();

    std::unique_ptr<Ui::TPProperties> m_ui;
    QList<QPointer<TempixTB>> m_controls;
    bool m_changed = false;
    // The data type was typed (not chosen from the list) and not yet checked.
    bool m_dataTypeTyped = false;
};

} // namespace tempix
