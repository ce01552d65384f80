#pragma once

#include <memory>
#include <string>

#include <QString>
#include <QWidget>

namespace Ui {
class FReportWindow;
}

namespace orvan {

class CReport;

// The window that shows one report: the report text in txtReport (read-only,
// fixed-pitch), and Save as PDF, Print and Close on the button panel below
// it. The report windows share this design and differ only in their class
// and design caption.
//
// The window holds its report (Controller) and the report holds the window:
// the pair keeps itself alive while the window is open. Close, the close box
// and a successful print end the pair through the report's
// UnloadReportWindow, which deletes the window later from the event loop.
class FReportWindow : public QWidget {
    Q_OBJECT

public:
    ~FReportWindow() override;

    // The owning report; the window keeps it alive until it is unloaded.
    void SetController(std::shared_ptr<CReport> value);

    // Appends `buffer` and CR LF to the report text; returns True.
    bool WriteLine(const std::string& buffer);

    // The report text exactly as written (CR LF line ends).
    const std::string& Text() const { return m_text; }

    // The caption the window had in its design.
    const QString& DesignCaption() const { return m_designCaption; }

    // Lays the controls out for the window's present size.
    void LayOutControls();

    // Makes the window large enough to show the whole report text without
    // scrolling, never smaller than its design size and never larger than
    // the available area of its screen (less room for the window frame).
    // A text too large for the screen keeps its scroll bars.
    void FitToText();

    // Twips at this window's screen resolution.
    int TwipsToPixelsX(double twips) const;
    int TwipsToPixelsY(double twips) const;

protected:
    explicit FReportWindow(const QString& designCaption, QWidget* parent = nullptr);

    void closeEvent(QCloseEvent* event) override;
    // Escape closes the window as its Close button does.
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    friend class CReport;

    void PrintClicked();
    void CloseClicked();
    // Hides the window and asks the report to unload it.
    void Unload();
    // Called by the report when it lets go of this window.
    void ReleaseController();

    std::unique_ptr<Ui::FReportWindow> m_ui;
    std::shared_ptr<CReport> m_controller;
    std::string m_text;
    QString m_designCaption;
};

} // namespace orvan
