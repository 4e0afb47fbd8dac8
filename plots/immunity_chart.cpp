#include "plots/immunity_chart.h"

#include <algorithm>
#include <cmath>

#include <QPainter>
#include <QPainterPath>

#include "plots/chart_file.h"
#include "studies/immunity/immunity_outputs.h"

namespace lumetra::immunity {

namespace {

const unsigned PortColours[] = {0x1f5fb4, 0x2a9d3a, 0xe08a00, 0x7b3fa0, 0x00838f, 0x8a5a2b};

}  // namespace

void DrawImmunityChart(QPainter& painter, const QRectF& area, const ImmunityResult& result,
                       double fieldVPerM, std::optional<double> thresholdV) {
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing, true);
  painter.fillRect(area, Qt::white);
  const QRectF plot = area.adjusted(80, 50, -170, -60);
  double fMin = 1e300, fMax = -1e300, dbMin = 1e300, dbMax = -1e300;
  for (const ImmunityPoint& p : result.Points) {
    fMin = std::min(fMin, p.FrequencyMHz);
    fMax = std::max(fMax, p.FrequencyMHz);
    for (const PortWorst& w : p.Ports) {
      dbMin = std::min(dbMin, DbMicrovolt(w.VoltageV));
      dbMax = std::max(dbMax, DbMicrovolt(w.VoltageV));
    }
  }
  if (thresholdV) {
    dbMin = std::min(dbMin, DbMicrovolt(*thresholdV));
    dbMax = std::max(dbMax, DbMicrovolt(*thresholdV));
  }
  if (fMin > fMax) fMin = fMax = 100.0;
  if (fMax <= fMin) fMax = fMin * 1.1, fMin /= 1.1;
  if (dbMin > dbMax) dbMin = dbMax = 60.0;
  dbMin = std::floor(dbMin / 10.0) * 10.0 - 10.0;
  dbMax = std::ceil(dbMax / 10.0) * 10.0 + 10.0;
  const double lMin = std::log10(fMin), lMax = std::log10(fMax);
  const auto x = [&](double f) {
    return plot.left() + (std::log10(f) - lMin) / (lMax - lMin) * plot.width();
  };
  const auto y = [&](double db) {
    return plot.bottom() - (db - dbMin) / (dbMax - dbMin) * plot.height();
  };

  // Grid and axes: decades and their 2 and 5 in frequency, every 10 dB.
  painter.setPen(QPen(QColor(0xdd, 0xdd, 0xdd), 1));
  QFont font = painter.font();
  font.setPixelSize(13);
  painter.setFont(font);
  for (double db = dbMin; db <= dbMax + 1e-9; db += 10.0) {
    painter.setPen(QPen(QColor(0xdd, 0xdd, 0xdd), 1));
    painter.drawLine(QPointF(plot.left(), y(db)), QPointF(plot.right(), y(db)));
    painter.setPen(Qt::black);
    painter.drawText(QRectF(plot.left() - 70, y(db) - 8, 62, 16), Qt::AlignRight | Qt::AlignVCenter,
                     QString::number(db, 'f', 0));
  }
  for (int decade = static_cast<int>(std::floor(lMin)); decade <= static_cast<int>(std::ceil(lMax));
       ++decade)
    for (double m : {1.0, 2.0, 5.0}) {
      const double f = m * std::pow(10.0, decade);
      if (f < fMin * 0.999 || f > fMax * 1.001) continue;
      painter.setPen(QPen(QColor(0xdd, 0xdd, 0xdd), 1));
      painter.drawLine(QPointF(x(f), plot.top()), QPointF(x(f), plot.bottom()));
      painter.setPen(Qt::black);
      painter.drawText(QRectF(x(f) - 40, plot.bottom() + 4, 80, 16), Qt::AlignCenter,
                       QString::number(f, 'g', 4));
    }
  painter.setPen(QPen(Qt::black, 1));
  painter.drawRect(plot);
  painter.drawText(QRectF(plot.left(), plot.bottom() + 24, plot.width(), 20), Qt::AlignCenter,
                   "Frequency / MHz");
  painter.save();
  painter.translate(area.left() + 18, plot.center().y());
  painter.rotate(-90);
  painter.drawText(QRectF(-150, -10, 300, 20), Qt::AlignCenter, "Worst voltage / dBuV");
  painter.restore();
  font.setPixelSize(16);
  painter.setFont(font);
  painter.drawText(QRectF(area.left(), area.top() + 12, area.width(), 24), Qt::AlignCenter,
                   QString("Immunity: worst voltage over all directions at %1 V/m")
                       .arg(fieldVPerM, 0, 'g', 6));
  font.setPixelSize(13);
  painter.setFont(font);

  // One line per port, a dot on every frequency.
  for (std::size_t k = 0; k < result.Ports.size(); ++k) {
    const QColor colour = QColor::fromRgb(PortColours[k % std::size(PortColours)]);
    QPainterPath path;
    bool first = true;
    for (const ImmunityPoint& p : result.Points) {
      if (k >= p.Ports.size()) continue;
      const QPointF at(x(p.FrequencyMHz), y(DbMicrovolt(p.Ports[k].VoltageV)));
      if (first) path.moveTo(at);
      else path.lineTo(at);
      first = false;
      painter.setPen(Qt::NoPen);
      painter.setBrush(colour);
      painter.drawEllipse(at, 2.5, 2.5);
    }
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(colour, 2));
    painter.drawPath(path);
    const double ly = plot.top() + 10 + 22 * static_cast<double>(k);
    painter.drawLine(QPointF(plot.right() + 15, ly), QPointF(plot.right() + 45, ly));
    painter.setPen(Qt::black);
    const ImmunityPort& port = result.Ports[k];
    painter.drawText(QRectF(plot.right() + 52, ly - 8, 110, 16), Qt::AlignLeft | Qt::AlignVCenter,
                     QString("%1 %2").arg(port.Kind == PortKind::Load ? "load" : "source")
                         .arg(port.Number));
  }
  if (thresholdV) {
    const double ty = y(DbMicrovolt(*thresholdV));
    painter.setPen(QPen(QColor::fromRgb(ThresholdLineRgb), 2, Qt::DashLine));
    painter.drawLine(QPointF(plot.left(), ty), QPointF(plot.right(), ty));
    painter.drawText(QRectF(plot.right() + 15, ty - 8, 150, 16), Qt::AlignLeft | Qt::AlignVCenter,
                     QString("threshold %1 V").arg(*thresholdV, 0, 'g', 4));
  }
  painter.restore();
}

void WriteImmunityChartSvg(const std::string& path, const ImmunityResult& result,
                           double fieldVPerM, std::optional<double> thresholdV, int width,
                           int height) {
  WriteChartSvg({path, width, height, "Immunity", {}}, [&](QPainter& painter, const QRectF& area) {
    DrawImmunityChart(painter, area, result, fieldVPerM, thresholdV);
  });
}

void WriteImmunityChartPng(const std::string& path, const ImmunityResult& result,
                           double fieldVPerM, std::optional<double> thresholdV, int width,
                           int height) {
  WriteChartPng({path, width, height, {}, {}}, [&](QPainter& painter, const QRectF& area) {
    DrawImmunityChart(painter, area, result, fieldVPerM, thresholdV);
  });
}

}  // namespace lumetra::immunity
