#include "ui/common/IndexTextPainter.h"

#include <QFontMetrics>
#include <QPainter>
#include <algorithm>

#include "ui/common/Texts.h"

namespace ui {
namespace {

// A font sized in pixels (widgets may carry one) is given the point size
// that the layout's "two points smaller" indices can work from.
int PointSizeOf(const QFont& font) { return font.pointSize() > 0 ? font.pointSize() : 9; }

QRect ToQRect(const cmn::TIndexRect& r) { return QRect(r.left, r.top, r.right - r.left, r.bottom - r.top); }

}  // namespace

QFont TQtFontMetrics::AtSize(int pointSize) const {
    QFont font = font_;
    font.setPointSize(std::max(1, pointSize));
    return font;
}

const QFontMetrics& TQtFontMetrics::Metrics(int pointSize) const {
    pointSize = std::max(1, pointSize);
    for (const auto& [size, metrics] : metrics_)
        if (size == pointSize) return metrics;
    return metrics_.emplace_back(pointSize, QFontMetrics(AtSize(pointSize))).second;
}

int TQtFontMetrics::TextWidth(std::string_view text, int pointSize) const {
    return Metrics(pointSize).horizontalAdvance(Q(text));
}

int TQtFontMetrics::TextHeight(std::string_view, int pointSize) const { return Metrics(pointSize).height(); }

void DrawIndexText(QPainter& painter, const QRect& rect, std::string_view text, bool centred) {
    painter.save();
    const QFont base = painter.font();
    const TQtFontMetrics metrics(base);
    const cmn::TIndexRect r{rect.left(), rect.top(), rect.left() + rect.width(), rect.top() + rect.height()};
    const cmn::TIndexTextLayout layout = cmn::LayoutIndexText(metrics, PointSizeOf(base), r, text, centred);
    painter.fillRect(ToQRect(layout.fill), painter.brush());
    painter.setClipRect(ToQRect(layout.clip));
    for (const cmn::TIndexPiecePlacement& piece : layout.pieces) {
        painter.setFont(metrics.AtSize(piece.pointSize));
        const QFontMetrics& fm = metrics.Metrics(piece.pointSize);
        const int baseline = piece.anchor == cmn::IndexAnchor::TopLeft ? piece.y + fm.ascent() : piece.y - fm.descent();
        painter.drawText(piece.x, baseline, Q(piece.text));
    }
    painter.restore();
}

QSize MeasureIndexText(const QFont& font, std::string_view text) {
    const cmn::TIndexTextSize size = cmn::MeasureIndexText(TQtFontMetrics(font), PointSizeOf(font), text);
    return QSize(size.width, size.height);
}

}  // namespace ui
