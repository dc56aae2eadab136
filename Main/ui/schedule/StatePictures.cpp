#include "ui/schedule/StatePictures.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <array>

namespace ui {
namespace {

constexpr int kSide = 16;

void Box(QPainter& p, const QColor& frame, const QColor& fill) {
    p.setPen(QPen(frame, 1.2));
    p.setBrush(fill);
    p.drawRoundedRect(QRectF(2.5, 2.5, 11, 11), 1.5, 1.5);
}

void Tick(QPainter& p, const QColor& colour, qreal width) {
    QPainterPath tick;
    tick.moveTo(4.5, 8.5);
    tick.lineTo(7, 11);
    tick.lineTo(12, 4.5);
    p.setPen(QPen(colour, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPath(tick);
}

QPixmap Draw(sched::TRowState state) {
    QPixmap picture(kSide, kSide);
    picture.fill(Qt::transparent);
    QPainter p(&picture);
    p.setRenderHint(QPainter::Antialiasing);
    switch (state) {
        case sched::TRowState::NotSelected: Box(p, QColor(90, 90, 90), Qt::white); break;
        case sched::TRowState::Selected:
            Box(p, QColor(30, 80, 160), Qt::white);
            Tick(p, QColor(30, 80, 160), 2);
            break;
        case sched::TRowState::Sending: {
            p.setPen(Qt::NoPen);
            p.setBrush(QColor(230, 150, 0));
            const std::array<QPointF, 7> arrow = {QPointF(2, 6),  QPointF(8, 6),  QPointF(8, 2), QPointF(14, 8),
                                                  QPointF(8, 14), QPointF(8, 10), QPointF(2, 10)};
            p.drawPolygon(arrow.data(), static_cast<int>(arrow.size()));
            break;
        }
        case sched::TRowState::Sent:
            p.setPen(Qt::NoPen);
            p.setBrush(QColor(0, 150, 60));
            p.drawEllipse(QRectF(1, 1, 14, 14));
            Tick(p, Qt::white, 2);
            break;
        case sched::TRowState::Failed:
            p.setPen(Qt::NoPen);
            p.setBrush(QColor(200, 30, 30));
            p.drawEllipse(QRectF(1, 1, 14, 14));
            p.setPen(QPen(Qt::white, 2, Qt::SolidLine, Qt::RoundCap));
            p.drawLine(QPointF(5, 5), QPointF(11, 11));
            p.drawLine(QPointF(11, 5), QPointF(5, 11));
            break;
        case sched::TRowState::SelectedRunning:
            Box(p, QColor(150, 150, 150), QColor(235, 235, 235));
            Tick(p, QColor(150, 150, 150), 2);
            break;
        case sched::TRowState::NotSelectedRunning: Box(p, QColor(170, 170, 170), QColor(235, 235, 235)); break;
    }
    return picture;
}

}  // namespace

TStatePictures::TStatePictures() {
    for (std::size_t s = 0; s < pictures_.size(); ++s) pictures_[s] = QIcon(Draw(static_cast<sched::TRowState>(s)));
}

const QIcon& TStatePictures::Of(sched::TRowState state) const { return pictures_.at(static_cast<std::size_t>(state)); }

}  // namespace ui
