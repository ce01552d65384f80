// Draws the six pictures of the clock window's picture buttons (clock-in,
// clock-out and print; each as an inactive and an active picture) and saves
// them as PNG files into the folder given on the command line. Run once by
// scripts/make-clock-pictures.sh; the results are committed under
// resources/clock/.
//
// Inactive: a white card with a coloured rim, coloured symbol and caption.
// Active: the same card filled with the colour, white symbol and caption,
// so the button the pointer rests on stands out from a step away.

#include <QtGui/QFont>
#include <QtGui/QGuiApplication>
#include <QtGui/QImage>
#include <QtGui/QLinearGradient>
#include <QtGui/QPainter>
#include <QtGui/QPainterPath>

#include <cmath>
#include <cstdio>

namespace {

constexpr int Width = 210;
constexpr int Height = 180;
constexpr int Shadow = 6;

enum class Symbol { Start, Stop, Printer };

struct Button {
    const char* baseName;
    const char* caption;
    QColor colour;
    Symbol symbol;
};

void DrawClockFace(QPainter& p, QPointF centre, double radius, const QColor& ink,
                   const QColor& paper) {
    p.setPen(QPen(ink, radius * 0.14));
    p.setBrush(paper);
    p.drawEllipse(centre, radius, radius);
    // Hour marks at 12, 3, 6 and 9.
    p.setPen(QPen(ink, radius * 0.10, Qt::SolidLine, Qt::RoundCap));
    for (int i = 0; i < 4; ++i) {
        double a = i * M_PI / 2.0;
        QPointF dir(std::sin(a), -std::cos(a));
        p.drawLine(centre + dir * radius * 0.70, centre + dir * radius * 0.82);
    }
    // Hands at five past eight.
    auto hand = [&](double angleDeg, double length, double width) {
        double a = angleDeg * M_PI / 180.0;
        p.setPen(QPen(ink, width, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(centre, centre + QPointF(std::sin(a), -std::cos(a)) * length);
    };
    hand(242.5, radius * 0.45, radius * 0.14);
    hand(30.0, radius * 0.66, radius * 0.10);
    p.setPen(Qt::NoPen);
    p.setBrush(ink);
    p.drawEllipse(centre, radius * 0.10, radius * 0.10);
}

void DrawBadge(QPainter& p, QPointF centre, double radius, const QColor& ink, const QColor& paper,
               Symbol symbol) {
    p.setPen(QPen(paper, radius * 0.18));
    p.setBrush(ink);
    p.drawEllipse(centre, radius, radius);
    p.setPen(Qt::NoPen);
    p.setBrush(paper);
    if (symbol == Symbol::Start) {
        // A right-pointing arrow: go.
        QPainterPath arrow;
        double r = radius;
        arrow.moveTo(centre + QPointF(-0.55 * r, -0.16 * r));
        arrow.lineTo(centre + QPointF(0.02 * r, -0.16 * r));
        arrow.lineTo(centre + QPointF(0.02 * r, -0.46 * r));
        arrow.lineTo(centre + QPointF(0.58 * r, 0.0));
        arrow.lineTo(centre + QPointF(0.02 * r, 0.46 * r));
        arrow.lineTo(centre + QPointF(0.02 * r, 0.16 * r));
        arrow.lineTo(centre + QPointF(-0.55 * r, 0.16 * r));
        arrow.closeSubpath();
        p.drawPath(arrow);
    } else {
        // A square: stop.
        double s = radius * 0.42;
        p.drawRoundedRect(QRectF(centre.x() - s, centre.y() - s, 2 * s, 2 * s), 2, 2);
    }
}

void DrawPrinter(QPainter& p, QPointF centre, const QColor& ink, const QColor& paper) {
    const double cx = centre.x();
    const double cy = centre.y();
    // Paper going in at the top.
    p.setPen(QPen(ink, 5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(paper);
    p.drawRect(QRectF(cx - 24, cy - 40, 48, 30));
    // Body.
    p.setPen(Qt::NoPen);
    p.setBrush(ink);
    p.drawRoundedRect(QRectF(cx - 46, cy - 16, 92, 44), 9, 9);
    // Status light.
    p.setBrush(paper);
    p.drawEllipse(QPointF(cx + 33, cy - 4), 4.5, 4.5);
    // Printed sheet coming out, with text lines.
    p.setPen(QPen(ink, 5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(paper);
    p.drawRect(QRectF(cx - 28, cy + 8, 56, 38));
    p.setPen(QPen(ink, 4, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(cx - 17, cy + 20), QPointF(cx + 17, cy + 20));
    p.drawLine(QPointF(cx - 17, cy + 31), QPointF(cx + 8, cy + 31));
}

QImage Draw(const Button& b, bool active) {
    QImage image(Width, Height, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);

    const QRectF card(3, 3, Width - 6 - Shadow, Height - 6 - Shadow);
    const double radius = 20;

    // Soft shadow under the card.
    for (int i = Shadow; i > 0; --i) {
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0, 0, 0, active ? 22 : 14));
        p.drawRoundedRect(card.translated(i, i), radius, radius);
    }

    const QColor ink = active ? QColor(Qt::white) : b.colour;
    const QColor paper = active ? b.colour : QColor(Qt::white);
    if (active) {
        QLinearGradient fill(card.topLeft(), card.bottomLeft());
        fill.setColorAt(0.0, b.colour.lighter(118));
        fill.setColorAt(1.0, b.colour.darker(108));
        p.setPen(QPen(b.colour.darker(130), 3));
        p.setBrush(fill);
    } else {
        p.setPen(QPen(b.colour, 4));
        p.setBrush(QColor(0xfb, 0xfc, 0xfd));
    }
    p.drawRoundedRect(card, radius, radius);

    const QPointF iconCentre(card.center().x(), card.top() + 62);
    if (b.symbol == Symbol::Printer) {
        DrawPrinter(p, iconCentre, ink, paper);
    } else {
        DrawClockFace(p, iconCentre, 40, ink, paper);
        DrawBadge(p, iconCentre + QPointF(34, 26), 19, ink, paper, b.symbol);
    }

    QFont font(QStringLiteral("DejaVu Sans"), 1, QFont::Bold);
    font.setPixelSize(27);
    font.setLetterSpacing(QFont::AbsoluteSpacing, 0.5);
    p.setFont(font);
    p.setPen(ink);
    p.drawText(QRectF(card.left(), card.bottom() - 52, card.width(), 40), Qt::AlignCenter,
               QString::fromUtf8(b.caption));
    p.end();
    return image;
}

} // namespace

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s OUTPUT_FOLDER\n", argv[0]);
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);
    const Button buttons[] = {
        {"clockin", "CLOCK IN", QColor(0x1e, 0x8e, 0x3e), Symbol::Start},
        {"clockout", "CLOCK OUT", QColor(0xc6, 0x28, 0x28), Symbol::Stop},
        {"print", "PRINT", QColor(0x1f, 0x5f, 0xbf), Symbol::Printer},
    };
    for (const Button& b : buttons) {
        for (bool active : {false, true}) {
            const QString name = folder + QStringLiteral("/") + QString::fromUtf8(b.baseName) +
                                 QString::fromUtf8(active ? "_active" : "_inactive") +
                                 QStringLiteral(".png");
            // Quality 0 asks for the strongest PNG compression.
            if (!Draw(b, active).convertToFormat(QImage::Format_ARGB32).save(name, "PNG", 0)) {
                std::fprintf(stderr, "cannot write %s\n", qPrintable(name));
                return 1;
            }
        }
    }
    return 0;
}
