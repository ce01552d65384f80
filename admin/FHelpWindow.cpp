#include "admin/FHelpWindow.h"

#include <QFileInfo>
#include <QUrl>

#include "ui_FHelpWindow.h"

namespace orvan::admin {

FHelpWindow::FHelpWindow(QWidget* parent)
    : QDialog(parent), m_ui(std::make_unique<Ui::FHelpWindow>()) {
    m_ui->setupUi(this);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    setWindowFlag(Qt::WindowMaximizeButtonHint, true);
    connect(m_ui->cmdClose, &QPushButton::clicked, this, &QDialog::close);
    connect(m_ui->cmdContents, &QPushButton::clicked, m_ui->txtGuide, &QTextBrowser::home);
}

FHelpWindow::~FHelpWindow() = default;

bool FHelpWindow::ShowGuide(const QString& path) {
    if (!QFileInfo(path).isFile()) {
        return false;
    }
    // A local source: the pictures and the contents' links resolve beside it.
    m_ui->txtGuide->setSource(QUrl::fromLocalFile(path));
    return !m_ui->txtGuide->document()->isEmpty();
}

} // namespace orvan::admin
