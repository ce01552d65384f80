#include "reports/FReportWindow.h"

#include <algorithm>

#include <QCloseEvent>
#include <QKeyEvent>
#include <QFontMetricsF>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QResizeEvent>
#include <QScreen>
#include <QStyle>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextLayout>
#include <QtMath>

#include "reports/CReport.h"
#include "reports/ReportFont.h"
#include "ui_FReportWindow.h"

namespace orvan {

namespace {

// The design, in twips.
constexpr double kDesignClientWidth = 9555;
constexpr double kDesignClientHeight = 5055;
constexpr double kPanelHeight = 645;
constexpr double kButtonWidth = 1230;
constexpr double kPdfButtonWidth = 1530;
constexpr double kButtonHeight = 375;
constexpr double kButtonTop = 180;

// The layout rule works on the window's outer size. Window frames differ
// between window managers (and there is none at all without one), so the
// outer size is reckoned as the client area plus the frame the design was
// drawn with; the controls then fill the client area exactly as designed.
constexpr double kFrameWidth = 150;
constexpr double kFrameHeight = 420;

// Below both of these at once the layout is left alone.
constexpr double kMinimumWidth = 3015;
constexpr double kMinimumHeight = 2000;
constexpr double kBelowText = 1065;
constexpr double kPrintFromRight = 2760;
constexpr double kCloseFromRight = 1365;
// Save as PDF sits left of Print, the same gap between them.
constexpr double kPdfFromRight = kPrintFromRight + 165 + kPdfButtonWidth;

// A tab in a report text moves to the next multiple of this many columns.
constexpr int kTabColumns = 8;

// The widest line of `text` in character columns (tabs expanded, UTF-8
// continuation bytes not counted) and its number of lines, the empty one
// after a final line end included.
std::pair<int, int> TextExtent(const std::string& text) {
    int widest = 0;
    int lines = 1;
    int column = 0;
    for (const char c : text) {
        if (c == '\n') {
            ++lines;
            column = 0;
        } else if (c == '\t') {
            column = (column / kTabColumns + 1) * kTabColumns;
        } else if (c != '\r' && (static_cast<unsigned char>(c) & 0xC0) != 0x80) {
            ++column;
        }
        widest = std::max(widest, column);
    }
    return {widest, lines};
}

} // namespace

FReportWindow::FReportWindow(const QString& designCaption, QWidget* parent)
    : QWidget(parent, Qt::Window), m_ui(std::make_unique<Ui::FReportWindow>()),
      m_designCaption(designCaption) {
    m_ui->setupUi(this);
    setWindowTitle(designCaption);

    const QFont font = ReportFont();
    m_ui->txtReport->setFont(font);
    m_ui->txtReport->setTabStopDistance(ReportTabStopDistance(font));
    m_ui->txtReport->setUndoRedoEnabled(false);

    m_ui->pnlButtons->resize(m_ui->pnlButtons->width(), TwipsToPixelsY(kPanelHeight));
    for (QPushButton* button : {m_ui->cmdPrint, m_ui->cmdClose}) {
        button->setGeometry(button->x(), TwipsToPixelsY(kButtonTop), TwipsToPixelsX(kButtonWidth),
                            TwipsToPixelsY(kButtonHeight));
    }
    m_ui->cmdSavePdf->setGeometry(m_ui->cmdSavePdf->x(), TwipsToPixelsY(kButtonTop),
                                  TwipsToPixelsX(kPdfButtonWidth), TwipsToPixelsY(kButtonHeight));
    resize(TwipsToPixelsX(kDesignClientWidth), TwipsToPixelsY(kDesignClientHeight));
    LayOutControls();

    connect(m_ui->cmdPrint, &QPushButton::clicked, this, &FReportWindow::PrintClicked);
    connect(m_ui->cmdClose, &QPushButton::clicked, this, &FReportWindow::CloseClicked);
    connect(m_ui->cmdSavePdf, &QPushButton::clicked, this, [this] {
        if (std::shared_ptr<CReport> controller = m_controller) {
            controller->SaveReportAsPdf();
        }
    });
}

FReportWindow::~FReportWindow() {
    // Deleted without going through the report (for example by the program
    // at exit): the report must not keep a dangling window.
    std::shared_ptr<CReport> controller = std::move(m_controller);
    if (controller) {
        controller->WindowDestroyed(this);
    }
}

void FReportWindow::SetController(std::shared_ptr<CReport> value) {
    m_controller = std::move(value);
}

void FReportWindow::ReleaseController() {
    m_controller.reset();
}

bool FReportWindow::WriteLine(const std::string& buffer) {
    m_text += buffer;
    m_text += "\r\n";
    QString shown = QString::fromStdString(buffer);
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    shown += QLatin1Char('\n');
    QTextCursor cursor(m_ui->txtReport->document());
    cursor.movePosition(QTextCursor::End);
    cursor.insertText(shown);
    return true;
}

int FReportWindow::TwipsToPixelsX(double twips) const {
    return qRound(twips * logicalDpiX() / 1440.0);
}

int FReportWindow::TwipsToPixelsY(double twips) const {
    return qRound(twips * logicalDpiY() / 1440.0);
}

void FReportWindow::LayOutControls() {
    const double width = this->width() * 1440.0 / logicalDpiX() + kFrameWidth;
    const double height = this->height() * 1440.0 / logicalDpiY() + kFrameHeight;
    if (width < kMinimumWidth && height < kMinimumHeight) {
        return;
    }
    QPlainTextEdit* text = m_ui->txtReport;
    QFrame* panel = m_ui->pnlButtons;

    const double innerWidth = width - kFrameWidth;
    if (innerWidth >= 0) {
        text->resize(TwipsToPixelsX(innerWidth), text->height());
        panel->resize(TwipsToPixelsX(innerWidth), panel->height());
    }
    if (height >= kBelowText) {
        text->resize(text->width(), TwipsToPixelsY(height - kBelowText));
    }
    panel->move(panel->x(), TwipsToPixelsY(height - kBelowText));

    const double panelWidth = panel->width() * 1440.0 / logicalDpiX();
    m_ui->cmdPrint->move(TwipsToPixelsX(panelWidth - kPrintFromRight), m_ui->cmdPrint->y());
    m_ui->cmdClose->move(TwipsToPixelsX(panelWidth - kCloseFromRight), m_ui->cmdClose->y());
    m_ui->cmdSavePdf->move(TwipsToPixelsX(panelWidth - kPdfFromRight), m_ui->cmdSavePdf->y());
}

void FReportWindow::FitToText() {
    QPlainTextEdit* text = m_ui->txtReport;
    const auto [columns, lines] = TextExtent(m_text);
    const QFontMetricsF metrics(text->font());
    const int margins = qCeil(2 * text->document()->documentMargin()) + 2 * text->frameWidth();
    const int scrollBar = text->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, text);
    // The cursor's width and a pixel of rounding keep the longest line clear
    // of the edge.
    const int wantedWidth = qCeil(columns * metrics.horizontalAdvance(QLatin1Char(' '))) + margins +
                            scrollBar + text->cursorWidth() + 2;
    // The height the text box gives one line of the report: laid out as the
    // text box lays out its lines, leading included, on whole pixels.
    QTextLayout sample(QStringLiteral("X"), text->font());
    sample.beginLayout();
    QTextLine sampleLine = sample.createLine();
    sampleLine.setLeadingIncluded(true);
    sample.endLayout();
    const qreal lineHeight = std::max<qreal>(qCeil(metrics.lineSpacing()), sampleLine.height());
    // The text box scrolls unless a pixel is left under the last line.
    const int wantedHeight = qCeil(lines * lineHeight) + margins + 1;

    int width = std::max(TwipsToPixelsX(kDesignClientWidth), wantedWidth);
    int height =
        std::max(TwipsToPixelsY(kDesignClientHeight), wantedHeight + TwipsToPixelsY(kPanelHeight));
    if (const QScreen* shown = screen()) {
        const QRect available = shown->availableGeometry();
        width = std::min(width, available.width() - TwipsToPixelsX(kFrameWidth));
        height = std::min(height, available.height() - TwipsToPixelsY(kFrameHeight));
    }
    resize(width, height);
}

void FReportWindow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    LayOutControls();
}

void FReportWindow::PrintClicked() {
    std::shared_ptr<CReport> controller = m_controller;
    if (controller && controller->PrintReport()) {
        // The report went to the printer: the window has done its job. It is
        // unloaded rather than only hidden, so the pair does not linger
        // unseen until the program ends.
        hide();
        controller->UnloadReportWindow();
    }
}

void FReportWindow::CloseClicked() {
    Unload();
}

void FReportWindow::closeEvent(QCloseEvent* event) {
    Unload();
    event->accept();
}

void FReportWindow::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

void FReportWindow::Unload() {
    hide();
    std::shared_ptr<CReport> controller = m_controller;
    if (controller) {
        controller->UnloadReportWindow();
    }
}

} // namespace orvan
