#include "ui/common/IndexTextLabel.h"

#include <QPainter>

#include "ui/common/IndexTextPainter.h"
#include "ui/common/Texts.h"

namespace ui {

TIndexTextLabel::TIndexTextLabel(std::string text, QWidget* parent) : QWidget(parent), text_(std::move(text)) {
    setAccessibleName(Q(text_));
}

void TIndexTextLabel::SetText(std::string text) {
    text_ = std::move(text);
    setAccessibleName(Q(text_));
    updateGeometry();
    update();
}

QSize TIndexTextLabel::sizeHint() const { return MeasureIndexText(font(), text_); }

void TIndexTextLabel::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setFont(font());
    painter.setPen(palette().color(QPalette::WindowText));
    // No fill: the label lies on whatever its parent shows (a group box's shade).
    painter.setBrush(Qt::NoBrush);
    DrawIndexText(painter, rect(), text_, true);
}

}  // namespace ui
