#include "admin/FAbout.h"

#include <QPainter>
#include <QPainterPath>

#include "generated/OrvanVersion.h"
#include "ui_FAbout.h"

namespace orvan::admin {

FAbout::FAbout(QWidget* parent) : QDialog(parent), m_ui(std::make_unique<Ui::FAbout>()) {
    m_ui->setupUi(this);
    // The form names the program; the version is the build's.
    const QString version = QLatin1Char(' ') + QLatin1String(kProgramVersion);
    setWindowTitle(windowTitle() + version);
    m_ui->lblTitle->setText(m_ui->lblTitle->text() + version);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    m_ui->picLogo->setPixmap(ProgramPicture(64));
    connect(m_ui->cmdOK, &QPushButton::clicked, this, &QDialog::accept);
}

FAbout::~FAbout() = default;

QPixmap FAbout::ProgramPicture(int size) {
    QPixmap picture(size, size);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    const qreal s = size;

    // A time card behind the clock.
    painter.setPen(QPen(QColor(0x5a, 0x5a, 0x5a), s / 40.0));
    painter.setBrush(QColor(0xf4, 0xee, 0xd8));
    const QRectF card(s * 0.08, s * 0.04, s * 0.6, s * 0.8);
    painter.drawRoundedRect(card, s * 0.04, s * 0.04);
    painter.setPen(QPen(QColor(0xb0, 0xa8, 0x90), s / 48.0));
    for (int line = 1; line <= 5; ++line) {
        const qreal y = card.top() + card.height() * line / 7.0;
        painter.drawLine(QPointF(card.left() + s * 0.06, y), QPointF(card.right() - s * 0.06, y));
    }

    // The clock face.
    const QPointF centre(s * 0.62, s * 0.62);
    const qreal radius = s * 0.33;
    painter.setPen(QPen(QColor(0x1f, 0x4e, 0x8c), s / 20.0));
    painter.setBrush(Qt::white);
    painter.drawEllipse(centre, radius, radius);
    painter.setPen(QPen(QColor(0x1f, 0x4e, 0x8c), s / 40.0));
    for (int hour = 0; hour < 12; ++hour) {
        painter.save();
        painter.translate(centre);
        painter.rotate(hour * 30.0);
        painter.drawLine(QPointF(0, -radius * 0.78), QPointF(0, -radius * 0.92));
        painter.restore();
    }
    // Hands at ten past eight, the start of a shift.
    painter.setPen(QPen(QColor(0x20, 0x20, 0x20), s / 22.0, Qt::SolidLine, Qt::RoundCap));
    painter.save();
    painter.translate(centre);
    painter.rotate(8 * 30.0 + 5.0);
    painter.drawLine(QPointF(0, 0), QPointF(0, -radius * 0.5));
    painter.restore();
    painter.setPen(QPen(QColor(0x20, 0x20, 0x20), s / 32.0, Qt::SolidLine, Qt::RoundCap));
    painter.save();
    painter.translate(centre);
    painter.rotate(60.0);
    painter.drawLine(QPointF(0, 0), QPointF(0, -radius * 0.75));
    painter.restore();
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0xc0, 0x30, 0x30));
    painter.drawEllipse(centre, s / 28.0, s / 28.0);
    return picture;
}

} // namespace orvan::admin
