#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include <QPointer>
#include <QWidget>

namespace orvan {

class CFile;
class FReportWindow;
class IReportParent;

// What every report has in common: a text file under the program folder's
// reports folder, written in one pass and shown at once in a report window
// from which the user prints or closes it.
//
// Each piece of text goes to the file and to the window. A report serves one
// report: create a new object for every report. Create reports with
// std::make_shared; the window then keeps its report alive until the user
// closes it, and the report ends after telling its parent window.
//
// Failures are kept in ErrorNumber (0 when nothing failed); no exception
// leaves a public operation.
class CReport : public std::enable_shared_from_this<CReport> {
public:
    virtual ~CReport();
    CReport(const CReport&) = delete;
    CReport& operator=(const CReport&) = delete;

    // The program's main window: the window documents are printed from and
    // the one told when the report window is unloaded. Not owned; it must
    // outlive the report or be a QWidget (a destroyed QWidget parent is no
    // longer called).
    void SetParentWindow(IReportParent* value);

    const std::string& ReportName() const { return m_reportName; }
    int32_t ErrorNumber() const { return m_errorNumber; }

    // The report file's name without folder, and its full path (the program
    // folder, "reports", the file name). Empty names until generated.
    const std::string& FileName() const { return m_fileName; }
    std::string ReportPath() const;

    // The report window while it is loaded, else null.
    FReportWindow* ReportWindow() const;

    // Prints the report file through the desktop shell. When the file cannot
    // be found the user is told so. The error number is not changed.
    bool PrintReport();

    // Saves the report's text as a PDF file where the user chooses (the
    // report file's name with ".pdf" is offered). False when the user
    // cancelled or the file could not be written (the user is told why).
    bool SaveReportAsPdf();

    // Whether finishing the report shows its window (True unless set). A
    // report written only for its text (gathered into one PDF, say) keeps
    // the window hidden; unload it when done.
    void SetShowWindow(bool value) { m_showWindow = value; }

    // Unloads the report window and tells the parent window. Does nothing
    // when the window is already gone; always True.
    bool UnloadReportWindow();

    // The line under every report title: 72 hyphen-minus characters.
    static const std::string& Separator();

    // The date key of a range text "mm/dd/yyyy+mm/dd/yyyy" (characters 1-2
    // and 4-5, "_", 12-13 and 15-16, "_", 7-10): "01/15/2003+01/28/2003"
    // gives "0115_0128_2003". Positions the text does not reach are left out.
    static std::string RangeKey(const std::string& rangeText);

    // Characters of a UTF-8 text (continuation bytes do not count), so that
    // names with accents keep a report's columns in place.
    static size_t CharacterCount(const std::string& text);

protected:
    // The parent window's notification for this kind of report.
    using Notification = bool (IReportParent::*)();

    CReport(std::string reportName, Notification notification);

    // The window of this kind of report, newly created (not shown).
    virtual FReportWindow* CreateReportWindow() = 0;

    // The fixed start of the report name; a generated title is built on it
    // afresh, so running a report object twice does not repeat it.
    const std::string& TitlePrefix() const { return m_titlePrefix; }
    void SetReportName(const std::string& value) { m_reportName = value; }
    void SetFileName(const std::string& value) { m_fileName = value; }
    void SetErrorNumber(int32_t value) { m_errorNumber = value; }

    // Opens the report file for writing (503 on failure, nothing else done)
    // and loads the report window (701 on failure); on success the window's
    // caption is the report name when `setCaption`, else its design caption.
    bool BeginReport(bool setCaption);
    // Writes one text to the file (702 on failure) and to the window (703 on
    // failure), then goes on regardless.
    void WriteReportLine(const std::string& text);
    // Closes the file (506 on failure) and shows the window. Returns
    // `result`, turned False when the close failed or a text could not be
    // written to the file (the file would be incomplete).
    bool FinishReport(bool result);

private:
    friend class FReportWindow;
    // The window is being deleted by someone else than this report.
    void WindowDestroyed(FReportWindow* window);
    // Lets go of the window; true when there was one.
    bool DropWindow();
    void NotifyParent();

    std::string m_titlePrefix;
    std::string m_reportName;
    std::string m_fileName;
    int32_t m_errorNumber = 0;
    bool m_fileWriteFailed = false;
    bool m_showWindow = true;
    std::unique_ptr<CFile> m_reportFile;
    QPointer<FReportWindow> m_window;
    Notification m_notification;
    IReportParent* m_parent = nullptr;
    // Whether the parent is a QWidget, and that widget while it exists.
    bool m_parentIsWidget = false;
    QPointer<QWidget> m_parentWidget;
};

} // namespace orvan
