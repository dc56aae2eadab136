#pragma once

#include <QString>
#include <vector>

#include "measure/Verify.h"

class QChart;

// The plots of the check of a signal. Each call makes a new chart that the
// caller owns: the dialog shows them, the PDF report draws its own copies.
namespace ui {

// The played waveform of one channel over the ideal one.
QChart* WaveformChart(const msr::TWaveformPair& pair, int channel);
// Played against set harmonic coefficients of one channel, orders 2 … 50.
QChart* HarmonicChart(const msr::THarmonicBars& bars);
// Values against time, one line a series (Pinst, Urms(1/2)).
QChart* TimeSeriesChart(const std::vector<msr::TTimeSeries>& series, const QString& title, const QString& axisTitle);

}  // namespace ui
