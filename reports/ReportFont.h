#pragma once

#include <QFont>

namespace orvan {

// The font of report texts on screen and on paper: "Courier New" at 9.75
// points, or the system's fixed-pitch font at that size where Courier New is
// not installed, so report columns always line up.
QFont ReportFont();

// The width of a tab stop for `font`: eight characters, as in a text file.
qreal ReportTabStopDistance(const QFont& font);

} // namespace orvan
