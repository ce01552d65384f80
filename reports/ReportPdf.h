#pragma once

#include <QString>
#include <QStringList>

namespace orvan {

// Writes report texts into one PDF file at `path`, in the report font on US
// Letter pages. Each text starts on a page of its own (one employee's time
// card to a page) and runs onto further pages when it is longer; tabs stop
// every eight columns, as in the report window. Every page carries
// "Page n of m" at its foot. The file is replaced only once the whole PDF is
// written. False, with the reason in `error`, when it cannot be written.
bool WriteReportPdf(const QString& path, const QStringList& texts, const QString& title,
                    QString* error);

} // namespace orvan
