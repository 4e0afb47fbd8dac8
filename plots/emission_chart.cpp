#include "plots/emission_chart.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

#include "plots/chart_file.h"
#include "studies/emission/emission_outputs.h"
#include "plots/emission_text.h"

namespace lumetra::emission {

namespace {

// The largest of 1, 2, 5 x 10^n at or below value (value > 0).
double RoundDown125(double value) {
  const double decade = std::pow(10.0, std::floor(std::log10(value)));
  for (double m : {5.0, 2.0, 1.0})
    if (m * decade <= value * (1.0 + 1e-12)) return m * decade;
  return decade;
}

// The smallest of 1, 1.5, 2, 3, 4, 5, 6, 8, 10 x 10^n at or above value (value > 0):
// 975 MHz ends the axis at 1000, 1010 at 1500.
double RoundUpAxisEnd(double value) {
  const double decade = std::pow(10.0, std::floor(std::log10(value)));
  for (double m : {1.0, 1.5, 2.0, 3.0, 4.0, 5.0, 6.0, 8.0, 10.0})
    if (m * decade >= value * (1.0 - 1e-12)) return m * decade;
  return 10.0 * decade;
}

QColor Rgb(unsigned rgb) { return QColor::fromRgb(static_cast<QRgb>(rgb)); }

QColor LineColour(const EmissionLine& line) {
  if (!line.MarginDb) return Rgb(UnlimitedLineRgb);
  return *line.MarginDb < 0.0 ? Rgb(FailingLineRgb) : Rgb(PassingLineRgb);
}

// Frequencies on the log axis where a labelled grid line goes: 1, 2, 5 per decade
// (with 3 as well when the axis spans less than two decades), inside the axis.
std::vector<double> FrequencyTicks(double minMHz, double maxMHz) {
  const bool narrow = maxMHz / minMHz < 100.0;
  std::vector<double> ticks;
  for (int n = static_cast<int>(std::floor(std::log10(minMHz))) - 1;
       n <= static_cast<int>(std::ceil(std::log10(maxMHz))); ++n) {
    for (double m : {1.0, 2.0, 3.0, 5.0}) {
      if (m == 3.0 && !narrow) continue;
      const double f = m * std::pow(10.0, n);
      if (f >= minMHz * (1.0 - 1e-9) && f <= maxMHz * (1.0 + 1e-9)) ticks.push_back(f);
    }
  }
  return ticks;
}

// The polylines of the limit inside the frame's frequency range: segments that
// share an edge join with a vertical step; a gap between rows starts a new piece.
// A sloped segment is straight on the log axis, so cutting it at the axis ends
// interpolates in log f.
std::vector<QPolygonF> LimitPolylines(const EmissionChartFrame& frame, const LimitLine& limit) {
  std::vector<QPolygonF> pieces;
  double lastStop = -1.0;
  for (const LimitSegment& segment : limit.Segments) {
    const double from = std::max(segment.StartMHz, frame.MinMHz);
    const double to = std::min(segment.StopMHz, frame.MaxMHz);
    if (!(to > from)) continue;
    const auto levelAt = [&](double f) {
      const double t = std::log(f / segment.StartMHz) / std::log(segment.StopMHz / segment.StartMHz);
      return segment.StartDbuvM + t * (segment.StopDbuvM - segment.StartDbuvM);
    };
    const auto clamped = [&](double f) {
      const double level = std::clamp(levelAt(f), frame.MinDbuvM, frame.MaxDbuvM);
      return frame.PointOf(f, level);
    };
    if (pieces.empty() || std::abs(from - lastStop) > 1e-9 * from) pieces.emplace_back();
    pieces.back() << clamped(from) << clamped(to);
    lastStop = to;
  }
  return pieces;
}

QFont ChartFont(const QRectF& area, double scale = 1.0, bool bold = false) {
  QFont font("DejaVu Sans");
  font.setStyleHint(QFont::SansSerif);
  font.setPixelSize(std::max(9, static_cast<int>(std::lround(std::min(area.height() / 42.0, area.width() / 50.0) * scale))));
  font.setBold(bold);
  return font;
}

struct LegendEntry {
  QColor Colour;
  QString Text;
  bool Stem;  // a line's swatch, else the limit's
};

std::vector<LegendEntry> Legend(const EmissionResult& result, const LimitLine* limit) {
  if (!limit) return {{Rgb(UnlimitedLineRgb), "emission lines (no limit)", true}};
  const std::string name = result.LimitName.empty() ? limit->Name : result.LimitName;
  return {{Rgb(LimitLineRgb), QString::fromStdString("limit " + name), false},
          {Rgb(FailingLineRgb), "over the limit", true},
          {Rgb(PassingLineRgb), "under the limit", true}};
}

double LegendEntryWidth(const QFontMetricsF& metrics, const LegendEntry& entry, double em) {
  return (entry.Stem ? 1.2 : 1.9) * em + metrics.horizontalAdvance(entry.Text) + 1.5 * em;
}

// Whether the legend and the worst margin share a row or the margin needs its own.
bool MarginOnItsOwnRow(const QRectF& area, const EmissionResult& result, const LimitLine* limit, double plotWidth) {
  const QFont font = ChartFont(area);
  const QFontMetricsF metrics(font);
  const double em = metrics.height();
  double width = 0.0;
  for (const LegendEntry& entry : Legend(result, limit)) width += LegendEntryWidth(metrics, entry, em);
  width += QFontMetricsF(ChartFont(area, 1.05, true)).horizontalAdvance(QString::fromStdString(VerdictText(result)));
  return width + em > plotWidth;
}

}  // namespace

double EmissionChartFrame::XOf(double frequencyMHz) const {
  const double t = std::log(frequencyMHz / MinMHz) / std::log(MaxMHz / MinMHz);
  return Plot.left() + t * Plot.width();
}

double EmissionChartFrame::YOf(double levelDbuvM) const {
  const double t = (levelDbuvM - MinDbuvM) / (MaxDbuvM - MinDbuvM);
  return Plot.bottom() - t * Plot.height();
}

LimitLine ChartLimit(const LimitLine& limit, double distanceM) {
  if (!(distanceM > 0.0) || !(limit.DistanceM > 0.0)) return limit;
  return DistanceCorrectedLimit(limit, distanceM).Limit;
}

EmissionChartFrame EmissionChartFrameFor(const QRectF& area, const EmissionResult& result,
                                         const LimitLine* limit, std::optional<double> stopMHz) {
  EmissionChartFrame frame;
  // Room for the title and legend above, tick labels and axis titles around.
  const QFontMetricsF metrics(ChartFont(area));
  const double em = metrics.height();
  const double header = MarginOnItsOwnRow(area, result, limit, area.width() - 5.4 * em) ? 4.6 : 3.4;
  frame.Plot = QRectF(area.left() + 4.2 * em, area.top() + header * em, area.width() - 5.4 * em,
                      area.height() - (header + 2.8) * em);

  double highest = 0.0;
  for (const EmissionLine& line : result.Lines)
    if (std::isfinite(line.FrequencyMHz) && line.FrequencyMHz > 0.0) highest = std::max(highest, line.FrequencyMHz);
  double lowest = highest;
  for (const EmissionLine& line : result.Lines)
    if (std::isfinite(line.FrequencyMHz) && line.FrequencyMHz > 0.0) lowest = std::min(lowest, line.FrequencyMHz);
  frame.MinMHz = 30.0;
  if (lowest > 0.0 && lowest < 30.0) frame.MinMHz = RoundDown125(lowest * 0.9);
  if (stopMHz && std::isfinite(*stopMHz) && *stopMHz > frame.MinMHz)
    frame.MaxMHz = std::max(*stopMHz, highest);
  else
    frame.MaxMHz = highest > 0.0 ? RoundUpAxisEnd(highest) : 1000.0;
  frame.MaxMHz = std::max(frame.MaxMHz, frame.MinMHz * 2.0);

  bool any = false;
  double low = 0.0, high = 0.0;
  const auto take = [&](double level) {
    if (!std::isfinite(level)) return;
    low = any ? std::min(low, level) : level;
    high = any ? std::max(high, level) : level;
    any = true;
  };
  for (const EmissionLine& line : result.Lines) take(line.LevelDbuvM);
  if (limit) {
    const LimitLine moved = ChartLimit(*limit, result.DistanceM);
    for (const LimitSegment& segment : moved.Segments) {
      if (segment.StopMHz < frame.MinMHz || segment.StartMHz > frame.MaxMHz) continue;
      take(segment.StartDbuvM);
      take(segment.StopDbuvM);
    }
  }
  if (!any) {
    low = 0.0;
    high = 80.0;
  }
  frame.MaxDbuvM = std::ceil((high + 5.0) / 10.0) * 10.0;
  frame.MinDbuvM = std::floor((low - 5.0) / 10.0) * 10.0;
  frame.MinDbuvM = std::max(frame.MinDbuvM, frame.MaxDbuvM - 100.0);
  frame.MinDbuvM = std::min(frame.MinDbuvM, frame.MaxDbuvM - 40.0);
  return frame;
}

std::string EmissionChartTitle(const EmissionResult& result) {
  std::string title = "Radiated emission at " + FormatMetres(result.DistanceM) + ", " +
                      SiteDescription(result.SiteName);
  if (!result.LimitName.empty()) title += ", limit " + result.LimitName;
  return title;
}

void DrawEmissionChart(QPainter& painter, const QRectF& area, const EmissionResult& result,
                       const LimitLine* limit, std::optional<double> stopMHz) {
  const EmissionChartFrame frame = EmissionChartFrameFor(area, result, limit, stopMHz);
  const QRectF& plot = frame.Plot;
  const QFont font = ChartFont(area);
  const QFontMetricsF metrics(font, painter.device());
  const double em = QFontMetricsF(font).height();
  const double stroke = std::max(1.0, area.width() / 700.0);

  painter.save();
  painter.setRenderHint(QPainter::Antialiasing, true);
  painter.fillRect(area, Qt::white);

  // Grid and tick labels.
  painter.setFont(font);
  const QPen grid(QColor(215, 215, 215), std::max(1.0, stroke * 0.6));
  const QPen ink(Qt::black, stroke);
  // Unlabelled lines at every whole multiple of a decade, the log axis's usual paper.
  painter.setPen(QPen(QColor(236, 236, 236), std::max(1.0, stroke * 0.5)));
  for (int n = static_cast<int>(std::floor(std::log10(frame.MinMHz)));
       n <= static_cast<int>(std::ceil(std::log10(frame.MaxMHz))); ++n)
    for (int m = 1; m <= 9; ++m) {
      const double f = m * std::pow(10.0, n);
      if (f <= frame.MinMHz || f >= frame.MaxMHz) continue;
      painter.drawLine(QPointF(frame.XOf(f), plot.top()), QPointF(frame.XOf(f), plot.bottom()));
    }
  for (double f : FrequencyTicks(frame.MinMHz, frame.MaxMHz)) {
    const double x = frame.XOf(f);
    painter.setPen(grid);
    painter.drawLine(QPointF(x, plot.top()), QPointF(x, plot.bottom()));
    painter.setPen(ink);
    painter.drawText(QRectF(x - 3 * em, plot.bottom() + 0.2 * em, 6 * em, em), Qt::AlignHCenter | Qt::AlignTop,
                     QString::fromStdString(FormatMHz(f)));
  }
  const double levelStep = frame.MaxDbuvM - frame.MinDbuvM > 80.0 ? 20.0 : 10.0;
  for (double level = frame.MinDbuvM; level <= frame.MaxDbuvM + 1e-9; level += levelStep) {
    const double y = frame.YOf(level);
    painter.setPen(grid);
    painter.drawLine(QPointF(plot.left(), y), QPointF(plot.right(), y));
    painter.setPen(ink);
    painter.drawText(QRectF(plot.left() - 3.2 * em, y - 0.5 * em, 3 * em, em), Qt::AlignRight | Qt::AlignVCenter,
                     QString::number(level, 'f', 0));
  }
  painter.setPen(ink);
  painter.setBrush(Qt::NoBrush);
  painter.drawRect(plot);

  // Axis titles.
  painter.drawText(QRectF(plot.left(), plot.bottom() + 1.4 * em, plot.width(), em), Qt::AlignHCenter | Qt::AlignTop,
                   "Frequency (MHz)");
  painter.save();
  painter.translate(area.left() + 0.3 * em, plot.center().y());
  painter.rotate(-90.0);
  painter.drawText(QRectF(-plot.height() / 2, 0, plot.height(), em), Qt::AlignHCenter | Qt::AlignTop,
                   "Level (dBuV/m, RMS)");
  painter.restore();

  // One stem per line, bottom to level, flat-ended so that its top is the level.
  for (const EmissionLine& line : result.Lines) {
    if (!(line.FrequencyMHz >= frame.MinMHz && line.FrequencyMHz <= frame.MaxMHz)) continue;
    if (!std::isfinite(line.LevelDbuvM) || line.LevelDbuvM <= frame.MinDbuvM) continue;
    const double x = frame.XOf(line.FrequencyMHz);
    const double top = frame.YOf(std::min(line.LevelDbuvM, frame.MaxDbuvM));
    painter.setPen(QPen(LineColour(line), 2.0 * stroke, Qt::SolidLine, Qt::FlatCap));
    painter.drawLine(QPointF(x, plot.bottom()), QPointF(x, top));
  }

  // The limit over the lines.
  if (limit) {
    const LimitLine moved = ChartLimit(*limit, result.DistanceM);
    painter.setPen(QPen(Rgb(LimitLineRgb), 2.5 * stroke, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin));
    for (const QPolygonF& piece : LimitPolylines(frame, moved)) painter.drawPolyline(piece);
  }

  // Title, legend and the worst margin.
  painter.setPen(Qt::black);
  painter.setFont(ChartFont(area, 1.2, true));
  painter.drawText(QRectF(area.left(), area.top() + 0.2 * em, area.width(), 1.4 * em), Qt::AlignHCenter | Qt::AlignVCenter,
                   QString::fromStdString(EmissionChartTitle(result)));
  painter.setFont(font);
  double x = plot.left();
  const double legendY = area.top() + 1.9 * em;
  for (const LegendEntry& entry : Legend(result, limit)) {
    // Filled swatches, not strokes: the only stroked red or blue lines of the
    // chart are the emission lines themselves.
    if (entry.Stem)
      painter.fillRect(QRectF(x + 0.5 * em - stroke, legendY + 0.1 * em, 2.0 * stroke, 0.8 * em), entry.Colour);
    else
      painter.fillRect(QRectF(x, legendY + 0.5 * em - 1.25 * stroke, 1.5 * em, 2.5 * stroke), entry.Colour);
    const double swatch = (entry.Stem ? 1.2 : 1.9) * em;
    painter.setPen(Qt::black);
    painter.drawText(QRectF(x + swatch, legendY, metrics.horizontalAdvance(entry.Text) + em, em),
                     Qt::AlignLeft | Qt::AlignVCenter, entry.Text);
    x += LegendEntryWidth(metrics, entry, em);
  }
  const double marginY = MarginOnItsOwnRow(area, result, limit, plot.width()) ? legendY + 1.2 * em : legendY;
  painter.setFont(ChartFont(area, 1.05, true));
  painter.setPen(result.Passed() ? QColor(Qt::black) : Rgb(FailingLineRgb));
  painter.drawText(QRectF(plot.left(), marginY, plot.width() - 0.3 * em, em), Qt::AlignRight | Qt::AlignVCenter,
                   QString::fromStdString(VerdictText(result)));
  painter.restore();
}

void WriteEmissionChartSvg(const std::string& path, const EmissionResult& result, const LimitLine* limit,
                           std::optional<double> stopMHz, int width, int height) {
  const ChartFile file{path, width, height, QString::fromStdString(EmissionChartTitle(result)),
                       QString::fromStdString(VerdictText(result))};
  WriteChartSvg(file, [&](QPainter& painter, const QRectF& area) {
    DrawEmissionChart(painter, area, result, limit, stopMHz);
  });
}

void WriteEmissionChartPng(const std::string& path, const EmissionResult& result, const LimitLine* limit,
                           std::optional<double> stopMHz, int width, int height) {
  WriteChartPng({path, width, height, {}, {}}, [&](QPainter& painter, const QRectF& area) {
    DrawEmissionChart(painter, area, result, limit, stopMHz);
  });
}

}  // namespace lumetra::emission
