#pragma once

#include <QFont>
#include <QFontMetrics>
#include <QRect>
#include <QSize>
#include <string_view>
#include <utility>
#include <vector>

#include "CommonUtils/IndexText.h"

class QPainter;

// Quantity symbols drawn with lowered and raised indices and Greek letters
// on any painter, in the painter's font.
namespace ui {

// The layout's view of a Qt font: point sizes in, pixels out.
// Metrics are made once per point size: a label measures its pieces in two
// or three sizes many times over.
class TQtFontMetrics : public cmn::IFontMetrics {
public:
    explicit TQtFontMetrics(QFont font) : font_(std::move(font)) {}
    int TextWidth(std::string_view text, int pointSize) const override;
    int TextHeight(std::string_view text, int pointSize) const override;
    QFont AtSize(int pointSize) const;
    const QFontMetrics& Metrics(int pointSize) const;

private:
    QFont font_;
    mutable std::vector<std::pair<int, QFontMetrics>> metrics_;
};

// Fills the rectangle with the painter's brush, then draws the text; the
// painter's state is as before afterwards.
void DrawIndexText(QPainter& painter, const QRect& rect, std::string_view text, bool centred);
QSize MeasureIndexText(const QFont& font, std::string_view text);

}  // namespace ui
