#pragma once

#include <QColor>
#include <cstdint>

class QChart;
class QChartView;
class QLineEdit;
class QString;
class QToolButton;

namespace ui {

inline QColor ChartColour(std::uint32_t rgb) { return QColor::fromRgb(static_cast<QRgb>(rgb)); }

// A chart with the look every chart of the window shares: a silver plot
// area on which all the series colours (white and yellow included) read,
// no margins wasted, the legend hidden (the display lists name the series).
QChart* NewChart();
QChartView* NewChartView(QChart* chart, const char* name);
// A small scale button "+" or "−" with its automation name.
QToolButton* ScaleButton(const QString& text, const char* name, const QString& hint);

}  // namespace ui
