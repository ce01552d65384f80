#pragma once

#include <memory>

#include <QDialog>

namespace Ui {
class FLoginHelp;
}

namespace orvan::admin {

// The first-time login help: shows the administrator's initial name and
// password and lets the user hide the Help button from the next start on.
class FLoginHelp : public QDialog {
    Q_OBJECT

public:
    explicit FLoginHelp(QWidget* parent = nullptr);
    ~FLoginHelp() override;

    // False when "Hide this dialog in the future" was ticked when OK was
    // pressed; True otherwise.
    bool ShowHelp() const { return m_showHelp; }
    // Once the administrator has changed the first-time password, the
    // window says where the password comes from instead of showing it.
    void HideFirstTimePassword();

private:
    void OnOK();

    std::unique_ptr<Ui::FLoginHelp> m_ui;
    bool m_showHelp = true;
};

} // namespace orvan::admin
