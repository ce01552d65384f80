#include "reports/ReportPdf.h"

#include <algorithm>
#include <filesystem>

#include <QFontMetricsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>

#include "reports/IFileChooser.h"
#include "reports/ReportFont.h"
#include "storage/MessageBox.h"

namespace orvan {

namespace {

constexpr int kTabColumns = 8;
constexpr qreal kMarginInches = 0.75;

// The report's lines, tabs turned into the spaces they stand for.
QStringList ReportLines(const QString& text) {
    QString unified = text;
    unified.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    if (unified.endsWith(QLatin1Char('\n'))) {
        unified.chop(1);
    }
    QStringList lines = unified.split(QLatin1Char('\n'));
    for (QString& line : lines) {
        QString expanded;
        for (const QChar c : line) {
            if (c == QLatin1Char('\t')) {
                expanded += QString(kTabColumns - expanded.size() % kTabColumns, QLatin1Char(' '));
            } else {
                expanded += c;
            }
        }
        line = expanded;
    }
    return lines;
}

} // namespace

bool WriteReportPdf(const QString& path, const QStringList& texts, const QString& title,
                    QString* error) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        if (error != nullptr) {
            *error = file.errorString();
        }
        return false;
    }
    QPdfWriter writer(&file);
    writer.setTitle(title);
    writer.setCreator(QStringLiteral("Orvan"));
    writer.setResolution(300);
    writer.setPageLayout(QPageLayout(
        QPageSize(QPageSize::Letter), QPageLayout::Portrait,
        QMarginsF(kMarginInches, kMarginInches, kMarginInches, kMarginInches), QPageLayout::Inch));

    QPainter painter;
    if (!painter.begin(&writer)) {
        if (error != nullptr) {
            *error = QStringLiteral("The PDF writer could not start.");
        }
        file.cancelWriting();
        return false;
    }
    const QRect page = writer.pageLayout().paintRectPixels(writer.resolution());
    const QRect area(0, 0, page.width(), page.height());
    QFont font = ReportFont();
    painter.setFont(font);

    std::vector<QStringList> documents;
    int widest = 1;
    for (const QString& text : texts) {
        documents.push_back(ReportLines(text));
        for (const QString& line : documents.back()) {
            widest = std::max(widest, static_cast<int>(line.size()));
        }
    }
    // A report wider than the page is set smaller rather than cut off.
    QFontMetricsF metrics(painter.font(), &writer);
    const qreal textWidth = metrics.horizontalAdvance(QString(widest, QLatin1Char('0')));
    if (textWidth > area.width()) {
        font.setPointSizeF(font.pointSizeF() * area.width() / textWidth);
        painter.setFont(font);
        metrics = QFontMetricsF(painter.font(), &writer);
    }
    const qreal lineHeight = metrics.lineSpacing();
    // Two lines at the foot of each page are kept for its number.
    const int linesPerPage = std::max(1, static_cast<int>(area.height() / lineHeight) - 2);

    int pageCount = 0;
    for (const QStringList& lines : documents) {
        pageCount +=
            std::max<int>(1, (static_cast<int>(lines.size()) + linesPerPage - 1) / linesPerPage);
    }

    int pageNumber = 0;
    for (const QStringList& lines : documents) {
        int index = 0;
        do {
            if (pageNumber > 0 && !writer.newPage()) {
                painter.end();
                file.cancelWriting();
                if (error != nullptr) {
                    *error = QStringLiteral("A new page could not be started.");
                }
                return false;
            }
            ++pageNumber;
            qreal y = metrics.ascent();
            for (int row = 0; row < linesPerPage && index < lines.size(); ++row, ++index) {
                painter.drawText(QPointF(0, y), lines.at(index));
                y += lineHeight;
            }
            const QString foot = QStringLiteral("Page %1 of %2").arg(pageNumber).arg(pageCount);
            painter.drawText(QRectF(0, area.height() - lineHeight, area.width(), lineHeight),
                             Qt::AlignHCenter | Qt::AlignBottom, foot);
        } while (index < lines.size());
    }
    painter.end();
    if (!file.commit()) {
        if (error != nullptr) {
            *error = file.errorString();
        }
        return false;
    }
    return true;
}

bool ChooseAndWritePdf(QWidget* parent, const std::string& caption, const std::string& suggested,
                       const QStringList& texts, const QString& title, const std::string& what) {
    std::string path =
        CurrentFileChooser().SaveFileName(parent, caption, suggested, "PDF files (*.pdf)");
    if (path.empty()) {
        return false;
    }
    if (std::filesystem::u8path(path).extension().empty()) {
        path += ".pdf";
    }
    QString reason;
    if (WriteReportPdf(QString::fromStdString(path), texts, title, &reason)) {
        return true;
    }
    ShowMessage(MsgIconExclamation, "PDF Save Error",
                what + " could not be saved as " + path + ": " + reason.toStdString());
    return false;
}

} // namespace orvan
