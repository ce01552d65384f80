#include "reports/ReportFont.h"

#include <QFontDatabase>
#include <QFontMetricsF>
#include <QLatin1Char>
#include <QString>

namespace orvan {

QFont ReportFont() {
    // "Courier New" where the machine has it, else the first installed
    // family that really is fixed-pitch: a family name alone can be matched
    // by fontconfig to a proportional face, and the columns would not line up.
    QFont font;
    const QString candidates[] = {QStringLiteral("Courier New"),
                                  QStringLiteral("DejaVu Sans Mono"),
                                  QStringLiteral("Liberation Mono"),
                                  QStringLiteral("Noto Mono"),
                                  QFontDatabase::systemFont(QFontDatabase::FixedFont).family(),
                                  QStringLiteral("Nimbus Mono PS"),
                                  QStringLiteral("Courier")};
    bool found = false;
    for (const QString& family : candidates) {
        if (QFontDatabase::hasFamily(family) && QFontDatabase::isFixedPitch(family)) {
            font = QFont(family);
            found = true;
            break;
        }
    }
    if (!found) {
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
