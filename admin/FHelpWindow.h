#pragma once

#include <memory>

#include <QDialog>
#include <QString>

namespace Ui {
class FHelpWindow;
}

namespace orvan::admin {

// The user's guide in a window of the program's own: the HTML guide (with
// its pictures and its table of contents at the top), for a desktop that has
// no program for the .doc document. Contents goes back to the table of
// contents; Close and Escape close the window.
class FHelpWindow : public QDialog {
    Q_OBJECT

public:
    explicit FHelpWindow(QWidget* parent = nullptr);
    ~FHelpWindow() override;

    // Shows the HTML guide at `path`; False when it is not there.
    bool ShowGuide(const QString& path);

private:
    std::unique_ptr<Ui::FHelpWindow> m_ui;
};

} // namespace orvan::admin
