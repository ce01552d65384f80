#include "reports/ReportFont.h"

#include <QFontDatabase>
#include <QFontMetricsF>
#include <QLatin1Char>
#include <QString>

namespace orvan {

QFont ReportFont() {
    QFont font;
    if (QFontDatabase::hasFamily(QStringLiteral("Courier New"))) {
        font = QFont(QStringLiteral("Courier New"));
    } else {
        font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    }
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    font.setPointSizeF(9.75);
    font.setWeight(QFont::Normal);
    font.setItalic(false);
    return font;
}

qreal ReportTabStopDistance(const QFont& font) {
    return 8 * QFontMetricsF(font).horizontalAdvance(QLatin1Char(' '));
}

} // namespace orvan
