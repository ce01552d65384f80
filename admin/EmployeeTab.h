#pragma once

#include <memory>
#include <string>

#include <QtWidgets/QWidget>

class QComboBox;

namespace Ui {
class EmployeeTab;
}

namespace orvan {
class CEmployee;
class CEmployeeList;
} // namespace orvan

namespace orvan::admin {

class FController;

// The "Employee Information" page of the main window: one employee at a
// time, chosen by id, name, social security number or employee number,
// edited in place and written back with Save, which stores the whole list and
// reloads it. New and Cancel empty the form. The administrator's own record
// (EmployeeID 39) is never saved from here.
class EmployeeTab : public QWidget {
    Q_OBJECT

public:
    explicit EmployeeTab(QWidget* parent = nullptr);
    ~EmployeeTab() override;

    // The main window holding the page (not owned); set once after the form
    // is built.
    void SetWindow(FController* window) { m_window = window; }

    // Each of these returns True, and False after an unexpected failure.
    bool FillEmployeeLists(const CEmployeeList& list);
    bool ClearEmployeeFields();
    bool ShowEmployee(const CEmployee& employee);

    // "First Last", or the last name alone when there is no first name.
    static std::string EmployeeDisplayName(const CEmployee& employee);
    // A typed name split at its first blank: Mary Ann Smith is Mary and
    // Ann Smith; a name without a blank is all last name.
    static std::string FirstNameOf(const std::string& thename);
    static std::string LastNameOf(const std::string& thename);

private:
    void KeyChosen(QComboBox* combo, int source);
    void AutoDeductClicked();
    void NewClicked();
    void SaveClicked();
    void CancelClicked();
    bool ReadEmployeeFields(CEmployee& employee) const;
    bool ValidateEmployeeFields() const;
    void SetAutoDeductEnabled(bool enabled);

    std::unique_ptr<Ui::EmployeeTab> m_ui;
    FController* m_window = nullptr;
};

} // namespace orvan::admin
