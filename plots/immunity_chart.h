// The immunity chart: the worst voltage of every port in dBuV over a logarithmic
// frequency axis, one line per port, with the threshold drawn across it as a
// dashed red line. Takes any painter and rectangle; the SVG and PNG files need a
// QGuiApplication (the offscreen platform will do) for the fonts.
#pragma once

#include <optional>
#include <string>

#include <QRectF>

#include "studies/immunity/immunity_run.h"

class QPainter;

namespace lumetra::immunity {

inline constexpr unsigned ThresholdLineRgb = 0xd01c1c;

void DrawImmunityChart(QPainter& painter, const QRectF& area, const ImmunityResult& result,
                       double fieldVPerM, std::optional<double> thresholdV);

// The chart as an SVG or PNG file of width x height pixels. Throw FileError naming
// the file when it cannot be written.
void WriteImmunityChartSvg(const std::string& path, const ImmunityResult& result,
                           double fieldVPerM, std::optional<double> thresholdV,
                           int width = 1200, int height = 700);
void WriteImmunityChartPng(const std::string& path, const ImmunityResult& result,
                           double fieldVPerM, std::optional<double> thresholdV,
                           int width = 1200, int height = 700);

}  // namespace lumetra::immunity
