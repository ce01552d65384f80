#pragma once

#include <string>

#include <QString>
#include <QStringList>

class QWidget;

namespace orvan {

// Writes report texts into one PDF file at `path`, in the report font on US
// Letter pages. Each text starts on a page of its own (one employee's time
// card to a page) and runs onto further pages when it is longer; tabs stop
// every eight columns, as in the report window. Every page carries
// "Page n of m" at its foot. The file is replaced only once the whole PDF is
// written. False, with the reason in `error`, when it cannot be written.
bool WriteReportPdf(const QString& path, const QStringList& texts, const QString& title,
                    QString* error);

// Asks where to save (the file chooser in use, starting on `suggested`,
// titled `caption`), adds ".pdf" to a name without an extension and writes
// `texts` there. A file that cannot be written is told to the user ("PDF
// Save Error", "<what> could not be saved as <path>: <reason>"). False when
// the user cancelled or nothing was written.
bool ChooseAndWritePdf(QWidget* parent, const std::string& caption, const std::string& suggested,
                       const QStringList& texts, const QString& title, const std::string& what);

} // namespace orvan
