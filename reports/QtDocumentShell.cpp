#include "reports/QtDocumentShell.h"

#include <filesystem>
#include <mutex>
#include <system_error>

#include <QAbstractTextDocumentLayout>
#include <QDesktopServices>
#include <QFile>
#include <QPrinter>
#include <QPrinterInfo>
#include <QTextDocument>
#include <QTextOption>
#include <QUrl>

#include "reports/ReportFont.h"

namespace orvan {

namespace {

std::mutex g_shellMutex;
std::shared_ptr<IDocumentShell>& ShellSlot() {
    static std::shared_ptr<IDocumentShell> shell = std::make_shared<QtDocumentShell>();
    return shell;
}

bool IsExistingFile(const std::string& document) {
    std::error_code error;
    return std::filesystem::is_regular_file(std::filesystem::u8path(document), error);
}

} // namespace

IDocumentShell& CurrentDocumentShell() {
    std::lock_guard<std::mutex> lock(g_shellMutex);
    return *ShellSlot();
}

void SetDocumentShell(std::shared_ptr<IDocumentShell> shell) {
    std::lock_guard<std::mutex> lock(g_shellMutex);
    ShellSlot() = shell ? std::move(shell) : std::make_shared<QtDocumentShell>();
}

int32_t QtDocumentShell::Execute(QWidget* /*parent*/, const std::string& verb,
                                 const std::string& document, int32_t /*showCommand*/) {
    if (!IsExistingFile(document)) {
        return ShellFileNotFound;
    }
    const QString path = QString::fromStdString(document);
    if (verb == "open") {
        return QDesktopServices::openUrl(QUrl::fromLocalFile(path)) ? ShellSuccess
                                                                    : ShellNoAssociation;
    }
    if (verb == "print") {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly)) {
            return ShellFileNotFound;
        }
        const QString text = QString::fromUtf8(file.readAll());
        std::unique_ptr<QPrinter> printer = DefaultPrinter();
        if (!printer) {
            return ShellNoPrinter;
        }
        return PrintText(*printer, text) ? ShellSuccess : ShellNoAssociation;
    }
    return ShellNoAssociation;
}

std::unique_ptr<QPrinter> QtDocumentShell::DefaultPrinter() {
    const QPrinterInfo info = QPrinterInfo::defaultPrinter();
    if (info.isNull()) {
        return nullptr;
    }
    return std::make_unique<QPrinter>(info, QPrinter::HighResolution);
}

bool QtDocumentShell::PrintText(QPrinter& printer, const QString& text) {
    if (!printer.isValid()) {
        return false;
    }
    QString plain = text;
    plain.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));

    const QFont font = ReportFont();
    QTextDocument document;
    document.setDefaultFont(font);
    QTextOption option = document.defaultTextOption();
    option.setTabStopDistance(ReportTabStopDistance(font));
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    document.setDefaultTextOption(option);
    document.setPlainText(plain);
    document.print(&printer);
    return printer.printerState() != QPrinter::Error && printer.printerState() != QPrinter::Aborted;
}

} // namespace orvan
