#include "reports/CReport.h"

#include <exception>
#include <filesystem>

#include <QApplication>

#include "reports/CDocLauncher.h"
#include "reports/FReportWindow.h"
#include "reports/IDocumentShell.h"
#include "reports/ReportPdf.h"
#include "storage/CFile.h"
#include "storage/MessageBox.h"
#include "storage/ProgramFolder.h"
#include "ui/IReportParent.h"
#include "ui/WindowPlacement.h"
#include "core/ErrorNumbers.h"
#include "core/PlainText.h"

namespace orvan {

namespace {

constexpr int32_t kWriteMode = 1;

} // namespace

CReport::CReport(std::string reportName, Notification notification)
    : m_titlePrefix(reportName), m_reportName(std::move(reportName)), m_notification(notification) {
}

CReport::~CReport() {
    try {
        if (DropWindow()) {
            NotifyParent();
        }
        if (m_reportFile && m_reportFile->FileOpen()) {
            m_reportFile->CloseFile();
        }
    } catch (...) {
    }
}

const std::string& CReport::Separator() {
    static const std::string separator(72, '-');
    return separator;
}

size_t CReport::CharacterCount(const std::string& text) {
    size_t count = 0;
    for (const char c : text) {
        if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) {
            ++count;
        }
    }
    return count;
}

std::string CReport::RangeKey(const std::string& rangeText) {
    // 1-based character positions of the range text, in key order; 0 stands
    // for an underscore.
    static constexpr int kPositions[] = {1, 2, 4, 5, 0, 12, 13, 15, 16, 0, 7, 8, 9, 10};
    std::string key;
    for (const int position : kPositions) {
        if (position == 0) {
            key += '_';
        } else if (static_cast<size_t>(position) <= rangeText.size()) {
            key += rangeText[static_cast<size_t>(position) - 1];
        }
    }
    return key;
}

void CReport::SetParentWindow(IReportParent* value) {
    m_parent = value;
    m_parentWidget = value != nullptr ? value->ReportParentWidget() : nullptr;
    m_parentIsWidget = !m_parentWidget.isNull();
}

FReportWindow* CReport::ReportWindow() const {
    return m_window.data();
}

std::string CReport::ReportPath() const {
    return ProgramPath("\\reports\\" + m_fileName);
}

bool CReport::BeginReport(bool setCaption) {
    try {
        m_fileWriteFailed = false;
        auto file = std::make_unique<CFile>();
        if (!file->OpenFile(ReportPath(), kWriteMode)) {
            m_errorNumber = err::FileNotOpen;
            return false;
        }
        m_reportFile = std::move(file);

        FReportWindow* window = nullptr;
        if (qobject_cast<QApplication*>(QCoreApplication::instance()) != nullptr) {
            window = CreateReportWindow();
        }
        if (window == nullptr) {
            m_errorNumber = err::ReportCreateWindow;
            m_reportFile->CloseFile();
            return false;
        }
        DropWindow();
        m_window = window;
        std::shared_ptr<CReport> self = weak_from_this().lock();
        if (!self) {
            // Not owned by a shared_ptr (a report on the stack): the window
            // refers to it without owning it; the report unloads the window
            // when it ends.
            self = std::shared_ptr<CReport>(std::shared_ptr<CReport>(), this);
        }
        window->SetController(std::move(self));
        if (setCaption) {
            window->setWindowTitle(QString::fromStdString(m_reportName));
        }
        return true;
    } catch (const std::exception&) {
        m_errorNumber = err::ReportCreateWindow;
        return false;
    }
}

void CReport::WriteReportLine(const std::string& stored) {
    // Stored names and texts may hold characters typed before the fields
    // refused them: a report shows them as "?".
    const std::string text = WithHiddenCharactersShown(stored);
    bool written = false;
    try {
        written = m_reportFile && m_reportFile->FileOpen() && m_reportFile->WriteLine(text);
    } catch (const std::exception&) {
        written = false;
    }
    if (!written) {
        m_errorNumber = err::ReportWriteFile;
        m_fileWriteFailed = true;
    }

    written = false;
    try {
        written = m_window && m_window->WriteLine(text);
    } catch (const std::exception&) {
        written = false;
    }
    if (!written) {
        m_errorNumber = err::ReportWriteWindow;
    }
}

bool CReport::FinishReport(bool result) {
    try {
        if (!m_reportFile || !m_reportFile->CloseFile()) {
            m_errorNumber = err::FileClose;
            result = false;
        }
    } catch (const std::exception&) {
        m_errorNumber = err::FileClose;
        result = false;
    }
    if (m_fileWriteFailed) {
        result = false;
    }
    if (m_window && m_showWindow) {
        m_window->FitToText();
        // Over the window the report was asked from, on the screen.
        if (!m_window->isVisible()) {
            PlaceWindow(m_window, m_parentWidget.data());
        }
        m_window->show();
    }
    return result;
}

bool CReport::PrintReport() {
    try {
        CDocLauncher launcher;
        QWidget* parent = m_parent != nullptr && !(m_parentIsWidget && m_parentWidget.isNull())
                              ? m_parent->ReportParentWidget()
                              : nullptr;
        if (launcher.PrintDocument(parent, ReportPath())) {
            return true;
        }
        if (launcher.ErrorNumber() == err::DocumentNotFound) {
            ShowMessage(MsgIconExclamation, "Report Print Error",
                        "The path to the report is invalid or not able to be opened by Windows.");
        } else if (launcher.ShellResult() == ShellNoPrinter) {
            // A computer without a printer can still keep the report.
            if (ShowMessage(MsgIconQuestion + MsgButtonsYesNo, "No Printer",
                            "No printer is set up on this computer. Save the report as PDF "
                            "instead?") == MsgResultYes) {
                SaveReportAsPdf();
            }
        }
    } catch (const std::exception&) {
    }
    return false;
}

bool CReport::SaveReportAsPdf() {
    try {
        FReportWindow* window = ReportWindow();
        if (window == nullptr) {
            return false;
        }
        std::filesystem::path suggested = std::filesystem::u8path(ReportPath());
        suggested.replace_extension(".pdf");
        return ChooseAndWritePdf(window, "Save as PDF", suggested.string(),
                                 {QString::fromStdString(window->Text())}, window->windowTitle(),
                                 "The report");
    } catch (const std::exception&) {
    }
    return false;
}

bool CReport::UnloadReportWindow() {
    // The window may hold the last reference to this report.
    std::shared_ptr<CReport> keepAlive = weak_from_this().lock();
    try {
        if (DropWindow()) {
            NotifyParent();
        }
    } catch (const std::exception&) {
    }
    return true;
}

bool CReport::DropWindow() {
    FReportWindow* window = m_window.data();
    m_window = nullptr;
    if (window == nullptr) {
        return false;
    }
    window->hide();
    window->ReleaseController();
    window->deleteLater();
    return true;
}

void CReport::WindowDestroyed(FReportWindow* window) {
    if (m_window.data() == window) {
        m_window = nullptr;
        NotifyParent();
    }
}

void CReport::NotifyParent() {
    if (m_parent == nullptr || (m_parentIsWidget && m_parentWidget.isNull())) {
        return;
    }
    (m_parent->*m_notification)();
}

} // namespace orvan
