// The charts of a health report, drawn straight into a painter (a PDF page or
// an image) without any window: the string's lowest, mean and highest voltage
// over time and one block's impedance against its baseline (Qt Charts), and a
// heat map of every block's deviation from the string mean over time.
#pragma once

#include <QRectF>

class QPainter;

namespace zelta::report {

class StringAnalysis;

void drawStringVoltageChart(QPainter& painter, const QRectF& target, const StringAnalysis& a);
void drawImpedanceTrend(QPainter& painter, const QRectF& target, const StringAnalysis& a,
                        int block);
void drawDeviationHeatMap(QPainter& painter, const QRectF& target, const StringAnalysis& a);

}  // namespace zelta::report
