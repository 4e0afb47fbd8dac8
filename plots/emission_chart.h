// The emission chart: one vertical line (stem) per frequency of an emission run
// from the bottom of the chart up to its level in dBuV/m, over a logarithmic
// frequency axis, with the limit line drawn across it. Lines over the limit
// (negative margin) are red, lines under it blue, lines outside the limit's
// range grey; the verdict with the worst margin is written in the chart, in the
// words of the terminal table and the report.
//
// The same drawing goes to the window, an SVG or PNG file and the PDF report,
// so it takes any painter and rectangle. The files need a QGuiApplication (the
// offscreen platform will do) for the fonts.
#pragma once

#include "studies/emission/emission_run.h"
#include "studies/emission/limit_line.h"

#include <QPointF>
#include <QRectF>
#include <QString>
#include <optional>
#include <string>

class QPainter;

namespace lumetra::emission {

// The colours by which the chart (and its tests) tell the lines apart.
inline constexpr unsigned FailingLineRgb = 0xd01c1c;
inline constexpr unsigned PassingLineRgb = 0x1f5fb4;
inline constexpr unsigned UnlimitedLineRgb = 0x8a8a8a;
inline constexpr unsigned LimitLineRgb = 0x2a9d3a;

// PNG size of WriteEmissionChartPng unless told otherwise.
inline constexpr int DefaultChartWidth = 1200;
inline constexpr int DefaultChartHeight = 700;

// The axes of a chart drawn into a rectangle: where the plot area lies and which
// frequencies and levels it spans. Frequencies map to x by log10.
struct EmissionChartFrame {
  QRectF Plot;                 // the area inside the axes
  double MinMHz = 30.0, MaxMHz = 1000.0;
  double MinDbuvM = 0.0, MaxDbuvM = 80.0;

  double XOf(double frequencyMHz) const;
  double YOf(double levelDbuvM) const;
  QPointF PointOf(double frequencyMHz, double levelDbuvM) const { return {XOf(frequencyMHz), YOf(levelDbuvM)}; }
};

// The frame DrawEmissionChart uses in that rectangle: the frequency axis from
// 30 MHz (lower when a line lies below) up to the stop frequency when given,
// else a round value at or above the highest line; the level axis in 10 dB steps
// around the lines and the limit over that span, at most 100 dB deep.
EmissionChartFrame EmissionChartFrameFor(const QRectF& area, const EmissionResult& result,
                                         const LimitLine* limit,
                                         std::optional<double> stopMHz = std::nullopt);

// The limit the chart draws and compares with: the given line moved to the
// result's distance (what the run compared the levels with).
LimitLine ChartLimit(const LimitLine& limit, double distanceM);

// The chart's title: "Radiated emission at 3 m, semi-anechoic site, limit cispr32-b-3m".
std::string EmissionChartTitle(const EmissionResult& result);

// Draws the chart into area. limit is the line as read from its file (nullptr:
// none); it is moved to the result's distance here.
void DrawEmissionChart(QPainter& painter, const QRectF& area, const EmissionResult& result,
                       const LimitLine* limit, std::optional<double> stopMHz = std::nullopt);

// The chart as an SVG or PNG file of width x height pixels. Throw FileError naming
// the file when it cannot be written.
void WriteEmissionChartSvg(const std::string& path, const EmissionResult& result,
                           const LimitLine* limit, std::optional<double> stopMHz = std::nullopt,
                           int width = DefaultChartWidth, int height = DefaultChartHeight);
void WriteEmissionChartPng(const std::string& path, const EmissionResult& result,
                           const LimitLine* limit, std::optional<double> stopMHz = std::nullopt,
                           int width = DefaultChartWidth, int height = DefaultChartHeight);

}  // namespace lumetra::emission
