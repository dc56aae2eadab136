#pragma once

#include <QFont>
#include <QRect>
#include <QSize>
#include <string_view>

#include "CommonUtils/IndexText.h"

class QPainter;

// Quantity symbols drawn with lowered and raised indices and Greek letters
// on any painter, in the painter's font.
namespace ui {

// The layout's view of a Qt font: point sizes in, pixels out.
class TQtFontMetrics : public cmn::IFontMetrics {
public:
    explicit TQtFontMetrics(QFont font) : font_(std::move(font)) {}
    int TextWidth(std::string_view text, int pointSize) const override;
    int TextHeight(std::string_view text, int pointSize) const override;

private:
    QFont AtSize(int pointSize) const;
    QFont font_;
};

// Fills the rectangle with the painter's brush, then draws the text; the
// painter's state is as before afterwards.
void DrawIndexText(QPainter& painter, const QRect& rect, std::string_view text, bool centred);
QSize MeasureIndexText(const QFont& font, std::string_view text);

}  // namespace ui
