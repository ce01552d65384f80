#pragma once

#include <memory>
#include <optional>
#include <set>
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
//
// The page also sets the employee's PIN for the clock station: a PIN typed
// into the masked box is stored, as a salted hash only, when the employee
// is saved; a blank box keeps the current PIN and "Remove PIN" removes it.
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
    // When the page shows `employee`, its password box shows the record's
    // password again (blanked after the administrator's password changed).
    void ShowPasswordOf(const CEmployee& employee);

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
    // False, after telling the user, when the typed employee number or
    // social security number belongs to another employee than the one the
    // form saves into.
    bool IsNumberAndSSNFree() const;

    // The PIN fields: empty and "No PIN" for a new employee; otherwise the
    // shown employee's state from the list of employees that have a PIN.
    void ClearPinFields();
    void ShowPinState(int32_t employeeID);
    void RemovePinToggled(bool remove);
    // Reads which employees have a PIN; unknown when the file did not answer.
    void LoadPinStates();
    // After the employee was saved: stores the hash of `pin` (when not
    // empty) or removes the PIN; tells the user when that failed.
    void SavePin(int32_t employeeID, const std::string& pin, bool remove);
    // The id the database gave the employee just added: the one id of the
    // reloaded list that `before` did not hold and whose number and social
    // security number are the ones saved; nullopt when there is none.
    std::optional<int32_t> AddedEmployeeID(const std::set<int32_t>& before, int32_t number,
                                           const std::string& ssn) const;

    std::unique_ptr<Ui::EmployeeTab> m_ui;
    FController* m_window = nullptr;
    // The employees that have a PIN, as last read; nullopt when unknown.
    std::optional<std::set<int32_t>> m_employeesWithPin;
    // The form is a new employee's (after New, until it is emptied or shows
    // an employee): typing a key no longer looks one up.
    bool m_newEmployee = false;
};

} // namespace orvan::admin
