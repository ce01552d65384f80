#pragma once

#include <memory>

#include <QtWidgets/QWidget>

class QComboBox;

namespace Ui {
class CompanyTab;
}

namespace orvan {
class CCompany;
class CCompanyList;
} // namespace orvan

namespace orvan::admin {

class FController;

// The "Company Information" page of the main window: one company at a time,
// chosen by id or name, edited in place and written back with Save, which
// stores the whole list and reloads it. New and Cancel empty the form. The
// company's web address has no box here and is kept as it is.
class CompanyTab : public QWidget {
    Q_OBJECT

public:
    explicit CompanyTab(QWidget* parent = nullptr);
    ~CompanyTab() override;

    // The main window holding the page (not owned).
    void SetWindow(FController* window) { m_window = window; }

    // Each of these returns True, and False after an unexpected failure.
    bool FillCompanyLists(const CCompanyList& list);
    bool ClearCompanyFields();
    bool ShowCompany(const CCompany& company);

private:
    void KeyChosen(QComboBox* combo, int source);
    void NewOrCancelClicked();
    void SaveClicked();
    bool ReadCompanyFields(CCompany& company) const;

    std::unique_ptr<Ui::CompanyTab> m_ui;
    FController* m_window = nullptr;
};

} // namespace orvan::admin
