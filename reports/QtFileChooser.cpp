#include <mutex>

#include <QFileDialog>

#include "reports/IFileChooser.h"

namespace orvan {

namespace {

std::mutex g_chooserMutex;
std::shared_ptr<IFileChooser>& ChooserSlot() {
    static std::shared_ptr<IFileChooser> chooser = std::make_shared<QtFileChooser>();
    return chooser;
}

} // namespace

IFileChooser& CurrentFileChooser() {
    std::lock_guard<std::mutex> lock(g_chooserMutex);
    return *ChooserSlot();
}

void SetFileChooser(std::shared_ptr<IFileChooser> chooser) {
    std::lock_guard<std::mutex> lock(g_chooserMutex);
    ChooserSlot() = chooser ? std::move(chooser) : std::make_shared<QtFileChooser>();
}

std::string QtFileChooser::SaveFileName(QWidget* parent, const std::string& caption,
                                        const std::string& suggested, const std::string& filter) {
    return QFileDialog::getSaveFileName(parent, QString::fromStdString(caption),
                                        QString::fromStdString(suggested),
                                        QString::fromStdString(filter))
        .toStdString();
}

} // namespace orvan
