// A chart drawn by any painting function into an SVG or PNG file of width x height
// pixels: the study charts (emission, immunity) share this, so their files are
// made alike. Needs a QGuiApplication (the offscreen platform will do) for the fonts.
#pragma once

#include <QRectF>
#include <QString>
#include <functional>
#include <string>

class QPainter;

namespace lumetra {

using ChartPainting = std::function<void(QPainter& painter, const QRectF& area)>;

struct ChartFile {
  std::string Path;
  int Width = 1200, Height = 700;
  QString Title, Description;  // of the SVG document
};

// Throw FileError naming the file when it cannot be drawn or written.
void WriteChartSvg(const ChartFile& file, const ChartPainting& draw);
void WriteChartPng(const ChartFile& file, const ChartPainting& draw);

}  // namespace lumetra
