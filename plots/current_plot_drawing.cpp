// Painting of the 2D/3D current plot page: the 3D bars and the 2D graph.
#include <QFont>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QToolButton>
#include <algorithm>
#include <cmath>

#include "fields/result_lists.h"
#include "plots/axis_ticks.h"
#include "plots/current_plot_page.h"
#include "plots/paint_area.h"
#include "plots/plot_selection_window.h"

namespace lumetra::gui {

namespace {

void DrawLine(QPainter& p, const ScreenLine& l) {
  p.drawLine(l.From.X, l.From.Y, l.To.X, l.To.Y);
}

}  // namespace

void CurrentPlotPage::Paint(QPainter& painter) {
  if (shown_ == Shown::View3D) Paint3D(painter, view_, canvas_->size(), false);
  if (shown_ == Shown::Graph2D) Paint2D(painter, canvas_->size(), false);
}

void CurrentPlotPage::Paint3D(QPainter& painter, const View3D& view, QSize area, bool printed) {
  const int w = area.width(), h = area.height();
  painter.setPen(Qt::black);
  if (!printed) painter.drawRect(0, 0, w - 1, h - 1);
  const ScreenPoint origin{50, h - 50};
  const auto tips = AxisTips(view, origin);
  const char* names[3] = {"x", "y", "z"};
  for (int i = 0; i < 3; ++i) {
    painter.drawLine(origin.X, origin.Y, tips[i].X, tips[i].Y);
    painter.drawText(tips[i].X + 4, tips[i].Y - 4, names[i]);
  }
  painter.setPen(QPen(Qt::black, 0, Qt::DotLine));
  for (const Segment& s : project_.Segments)
    for (const ScreenLine& l : SegmentOutline(view, s, project_.PcbLx, project_.PcbLy))
      DrawLine(painter, l);
  auto bars = [&](const std::vector<CurrentSample>& list, const QColor& colour) {
    painter.setPen(QPen(colour, 0, Qt::SolidLine));
    for (const CurrentSample& s : list) {
      // A sample outside every segment has no entry in the selection list and is
      // always drawn.
      if (s.Segment != 0 && !selection_->IsChecked(s.Segment)) continue;
      for (const ScreenLine& l :
           SampleBar(view, s, samples_.AmplitudeScale, project_.PcbLx, project_.PcbLy))
        DrawLine(painter, l);
    }
  };
  if (showJx_->isChecked()) bars(samples_.Jx, colours_.Jx);
  if (showJy_->isChecked()) bars(samples_.Jy, colours_.Jy);
  painter.setPen(Qt::black);
  if (printed)
    painter.drawText(10, h - 10,
                     QString::fromStdString(PrintedSourceLine(
                         FrequencyDialogEntries({selectedFrequency_})[0], project_.ProjectFile)));
}

void CurrentPlotPage::Paint2D(QPainter& painter, QSize area, bool printed) {
  if (!graph_) return;
  const GraphData& g = *graph_;
  const GraphFrame f = FrameOf(g, area.width(), area.height());
  QFont font = painter.font();
  font.setBold(true);
  painter.setFont(font);
  painter.setPen(QPen(colours_.Border, 0));
  painter.drawRect(QRect(QPoint(f.Left, f.Top - 2), QPoint(f.Right, f.Bottom + 2)));
  const QFontMetrics metrics(font);
  // Texts are placed by their top-left corner.
  auto text = [&](int x, int y, const std::string& s) {
    painter.drawText(x, y + metrics.ascent(), QString::fromStdString(s));
  };
  // Ticks along both axes with their values; the axis titles carry the units.
  const int tick = 5;
  for (const AxisTick& t : AxisTicks(g.XMin, g.XMax, std::max(2, (f.Right - f.Left) / 90))) {
    const int x = static_cast<int>(std::nearbyint((t.Value - g.XMin) * f.Kx + f.Left));
    painter.drawLine(x, f.Bottom + 2, x, f.Bottom + 2 + tick);
    const QString label = QString::fromStdString(t.Label);
    painter.drawText(x - metrics.horizontalAdvance(label) / 2, f.Bottom + 4 + tick + metrics.ascent(),
                     label);
  }
  const std::vector<AxisTick> yTicks = AxisTicks(g.YMin, g.YMax, std::max(2, (f.Bottom - f.Top) / 45));
  for (const AxisTick& t : yTicks) {
    const int y = static_cast<int>(std::nearbyint(f.Bottom - (t.Value - g.YMin) * f.Ky));
    painter.drawLine(f.Left - tick, y, f.Left, y);
    const QString label = QString::fromStdString(t.Label);
    painter.drawText(f.Left - tick - 3 - metrics.horizontalAdvance(label),
                     y - metrics.height() / 2 + metrics.ascent(), label);
  }
  if (yTicks.empty()) {  // a flat curve: its one value at the frame's foot
    const QString label = QString::fromStdString(GraphYText(g.YMin));
    painter.drawText(f.Left - tick - 3 - metrics.horizontalAdvance(label), f.Bottom, label);
  }
  const QString xTitle = QString::fromStdString(GraphXAxisTitle(choice_));
  painter.drawText((f.Left + f.Right - metrics.horizontalAdvance(xTitle)) / 2,
                   f.Bottom + 4 + tick + metrics.height() + 2 + metrics.ascent(), xTitle);
  painter.save();
  const QString yTitle = QString::fromStdString(GraphYAxisTitle(choice_, Quantity()));
  painter.translate(4 + metrics.ascent(), (f.Top + f.Bottom + metrics.horizontalAdvance(yTitle)) / 2);
  painter.rotate(-90);
  painter.drawText(0, 0, yTitle);
  painter.restore();

  const GraphTitle title = TitleOf(choice_, Quantity());
  QFont titleFont = font;
  // 12 points on a 96-dpi screen, given in pixels so that a printout scaled
  // from canvas units keeps the proportions.
  titleFont.setPixelSize(16);
  painter.setFont(titleFont);
  const QString titleText = QString::fromStdString(TitleWithFrequency(
      printed ? PrintedTitle(choice_, Quantity()) : title.Text,
      FrequencyDialogEntries({selectedFrequency_})[0]));
  painter.drawText((f.Left + f.Right - QFontMetrics(titleFont).horizontalAdvance(titleText)) / 2,
                   f.Top - 30 + QFontMetrics(titleFont).ascent(), titleText);
  painter.setFont(font);
  if (printed)
    text(10, 2,
         PrintedSourceLine(FrequencyDialogEntries({selectedFrequency_})[0], project_.ProjectFile));

  const QPen solid(colours_.Curve, 0, Qt::SolidLine), dotted(colours_.Curve, 0, Qt::DotLine);
  painter.setPen(solid);
  painter.setBrush(Qt::NoBrush);
  const std::size_t points = g.Points.size();
  GraphPixelPoint last = GraphPixel(f, g, g.Points.front());
  for (std::size_t k = 0; k < points; ++k) {
    const GraphPixelPoint p = GraphPixel(f, g, g.Points[k]);
    painter.drawLine(last.X, last.Y, p.X, p.Y);
    if (matchPoints_->isChecked()) painter.drawEllipse(QRect(QPoint(p.X - 3, p.Y - 3), QPoint(p.X + 3, p.Y + 3)));
    if (pulses_->isChecked()) {
      painter.setPen(dotted);
      const int half = static_cast<int>(std::nearbyint(g.Points[k].HalfLength * f.Kx));
      // The first pulse has no left edge and the last no right edge: the curve's
      // ends stand on the frame.
      if (k != 0) painter.drawLine(p.X - half, p.Y, p.X - half, f.Bottom);
      painter.drawLine(p.X - half, p.Y, p.X + half, p.Y);
      if (k + 1 != points) painter.drawLine(p.X + half, p.Y, p.X + half, f.Bottom);
      painter.setPen(solid);
    }
    last = p;
  }
  painter.setPen(Qt::black);
}

void CurrentPlotPage::Print(bool view3D) {
  if (!printer_ || !loaded_) return;
  if (view3D && samples_.Jx.empty() && samples_.Jy.empty()) return;
  if (!view3D && !graph_) return;
  const bool confirmed = confirmPrint_ ? confirmPrint_(*printer_)
                                       : QPrintDialog(printer_, this).exec() == QDialog::Accepted;
  if (confirmed) {
    // The views are wider than high, like the screen: a landscape page fits them.
    const QPageLayout::Orientation before = printer_->pageLayout().orientation();
    printer_->setPageOrientation(QPageLayout::Landscape);
    QPainter painter(printer_);
    const QRect page = painter.viewport();
    // The page in canvas units: the drawing keeps its screen proportions, scaled
    // up to fill the page.
    const double ratio = std::min(double(page.width()) / std::max(1, canvas_->width()),
                                  double(page.height()) / std::max(1, canvas_->height()));
    painter.scale(ratio, ratio);
    const QSize area(static_cast<int>(page.width() / ratio), static_cast<int>(page.height() / ratio));
    QFont font = painter.font();
    font.setPixelSize(12);
    painter.setFont(font);
    if (view3D) {
      View3D view = view_;
      view.PanX = area.width() / 2;
      view.PanY = area.height() / 2;
      Paint3D(painter, view, area, true);
    } else {
      Paint2D(painter, area, true);
    }
    painter.end();
    printer_->setPageOrientation(before);
  }
  if (view3D)
    Draw3D();
  else
    canvas_->update();
}

}  // namespace lumetra::gui
