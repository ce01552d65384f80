#include "tempix/TPProperties.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

#include "tempix/TempixTB.h"
#include "ui_TPProperties.h"

namespace tempix {

TPProperties::TPProperties(QWidget* parent)
    : QDialog(parent), m_ui(std::make_unique<Ui::TPProperties>()) {
    m_ui->setupUi(this);
    m_ui->cboDataType->clear();
    m_ui->cboDataType->addItem(QStringLiteral("Date"));
    m_ui->cboDataType->addItem(QStringLiteral("Time"));
    m_ui->cboDataType->setCurrentIndex(-1);
    // What is typed stays as typed ("date" is not completed to "Date").
    m_ui->cboDataType->setCompleter(nullptr);

    // Only the user's edits mark the page as changed; filling it does not.
    for (QLineEdit* field : {m_ui->txtDateFormat, m_ui->txtTimeFormat, m_ui->txtDateSeparator,
                             m_ui->txtTimeSeparator}) {
        connect(field, &QLineEdit::textEdited, this, [this]() { SetChanged(true); });
    }
    connect(m_ui->cboDataType, &QComboBox::activated, this, [this]() {
        m_dataTypeTyped = false;
        SetChanged(true);
    });
    connect(m_ui->cboDataType->lineEdit(), &QLineEdit::textEdited, this, [this]() {
        m_dataTypeTyped = true;
        SetChanged(true);
    });
    // A typed data type is judged once the user is done typing it, not at
    // every keystroke (the first letter of "Time" is no data type yet).
    connect(m_ui->cboDataType->lineEdit(), &QLineEdit::editingFinished, this,
            &TPProperties::CheckTypedDataType);

    connect(m_ui->buttonBox, &QDialogButtonBox::clicked, this, [this](QAbstractButton* button) {
        switch (m_ui->buttonBox->standardButton(button)) {
        case QDialogButtonBox::Ok:
            if (m_changed || m_dataTypeTyped) {
                ApplyChanges();
            }
            accept();
            break;
        case QDialogButtonBox::Apply:
            ApplyChanges();
            break;
        default:
            reject();
            break;
        }
    });
    SetChanged(false);
}

TPProperties::~TPProperties() {
    // The base class destroys the child widgets after this page's members are
    // gone, and they still signal on the way (focus leaving the combo box
    // activates it): nothing of this page may answer them then.
    for (QObject* child : findChildren<QObject*>()) {
        disconnect(child, nullptr, this, nullptr);
    }
}

void TPProperties::SetSelectedControls(const QList<TempixTB*>& controls) {
    m_controls.clear();
    for (TempixTB* control : controls) {
        m_controls.append(control);
    }
    ShowControl();
}

QList<TempixTB*> TPProperties::SelectedControls() const {
    QList<TempixTB*> controls;
    for (const QPointer<TempixTB>& control : m_controls) {
        if (control) {
            controls.append(control.data());
        }
    }
    return controls;
}

TempixTB* TPProperties::FirstControl() const {
    const QList<TempixTB*> controls = SelectedControls();
    return controls.isEmpty() ? nullptr : controls.first();
}

void TPProperties::ShowControl() {
    m_dataTypeTyped = false;
    if (TempixTB* control = FirstControl()) {
        m_ui->cboDataType->setEditText(control->dataType());
        m_ui->txtDateFormat->setText(control->dateFormat());
        m_ui->txtTimeFormat->setText(control->timeFormat());
        m_ui->txtDateSeparator->setText(control->dateSeparator());
        m_ui->txtTimeSeparator->setText(control->timeSeparator());
    }
    SetChanged(false);
}

void TPProperties::SetChanged(bool changed) {
    m_changed = changed;
    if (QPushButton* apply = m_ui->buttonBox->button(QDialogButtonBox::Apply)) {
        apply->setEnabled(changed);
    }
}

void TPProperties::CheckTypedDataType() {
    if (!m_dataTypeTyped) {
        return;
    }
    m_dataTypeTyped = false;
    const QString typed = m_ui->cboDataType->currentText().toUpper();
    if (typed == QLatin1String("DATE") || typed == QLatin1String("TIME")) {
        return;
    }
    if (TempixTB* control = FirstControl()) {
        control->SetDataType("Date");
    }
    m_ui->cboDataType->setEditText(QStringLiteral("Date"));
}

void TPProperties::ApplyChanges() {
    CheckTypedDataType();
    if (TempixTB* control = FirstControl()) {
        control->setDataType(m_ui->cboDataType->currentText());
        control->setDateFormat(m_ui->txtDateFormat->text());
        control->setTimeFormat(m_ui->txtTimeFormat->text());
        control->setDateSeparator(m_ui->txtDateSeparator->text());
        control->setTimeSeparator(m_ui->txtTimeSeparator->text());
        SetChanged(false);
        emit Applied();
    }
}

} // namespace tempix
