#pragma once

#include <memory>

#include <QDialog>
#include <QPixmap>

namespace Ui {
class FAbout;
}

namespace orvan::admin {

// The about box, opened modally from the main window's Help menu.
class FAbout : public QDialog {
    Q_OBJECT

public:
    explicit FAbout(QWidget* parent = nullptr);
    ~FAbout() override;

    // The program's picture: a clock face on a time card, drawn in code.
    static QPixmap ProgramPicture(int size);

private:
    std::unique_ptr<Ui::FAbout> m_ui;
};

} // namespace orvan::admin
