#include "plots/vector_plot_page.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QToolButton>
#include <QVBoxLayout>
#include <cmath>

#include "editor/cursors.h"
#include "fields/result_files.h"
#include "fields/result_lists_format.h"
#include "model/file_io.h"
#include "plots/frequency_choice.h"
#include "plots/frequency_dialog.h"
#include "plots/paint_area.h"

namespace lumetra::gui {

namespace {
int Round(double v) { return static_cast<int>(std::nearbyint(v)); }
}  // namespace

VectorPlotPage::VectorPlotPage(const Project& project, UserInterface& ui,
                               const ViewSettings& view, double& selectedFrequency,
                               FrequencyDialog& frequencyDialog, QWidget* parent)
    : QWidget(parent),
      project_(project),
      ui_(ui),
      viewSettings_(view),
      selectedFrequency_(selectedFrequency),
      frequencyDialog_(frequencyDialog) {
  setObjectName("VectorPlotPage");
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  host_ = new QWidget(this);
  host_->setObjectName("VectorHost");
  layout->addWidget(host_, 1);
  canvas_ = new PaintArea(host_);
  canvas_->setObjectName("PaintBox4");
  canvas_->hide();
  // The bar may be narrower than its buttons: the page must not hold the window
  // wider than the other pages need.
  auto* barHost = new QWidget(this);
  barHost->setMinimumWidth(1);
  layout->addWidget(barHost);
  auto* bar = new QHBoxLayout(barHost);
  bar->setContentsMargins(2, 2, 2, 2);

  auto redrawAfter = [this](auto change) {
    return [this, change] {
      change();
      Redraw();
    };
  };
  const int& step = viewSettings_.MoveStep;
  const double& factor = viewSettings_.ZoomFactor;
  const struct {
    const char* name;
    const char* caption;
    const char* hint;
    std::function<void()> action;
  } buttons[] = {
      {"SpeedButton7", "\u2191", "Move plot up", redrawAfter([this, &step] { panY_ -= step; })},
      {"SpeedButton8", "\u2193", "Move plot down", redrawAfter([this, &step] { panY_ += step; })},
      {"SpeedButton9", "\u2190", "Move plot left", redrawAfter([this, &step] { panX_ -= step; })},
      {"SpeedButton10", "\u2192", "Move plot right", redrawAfter([this, &step] { panX_ += step; })},
      {"SpeedButton11", "Zoom+", "Zoom in", redrawAfter([this, &factor] { zoom_ *= factor; })},
      {"SpeedButton12", "Zoom-", "Zoom out", redrawAfter([this, &factor] { zoom_ /= factor; })},
      {"SpeedButton15", "+", "Longer arrows", redrawAfter([this] { scale_ *= 1.1; })},
      {"SpeedButton16", "-", "Shorter arrows", redrawAfter([this] { scale_ *= 1 / 1.1; })},
      {"SpeedButton17", "RS", "Reset the arrow length", redrawAfter([this] { scale_ = 1.0; })},
  };
  for (const auto& b : buttons) {
    QToolButton* button = AddButton(b.name, b.caption, b.hint);
    connect(button, &QToolButton::clicked, this, b.action);
    viewButtons_.append(button);
    bar->addWidget(button);
  }
  // The frequency is shared with the other result pages; this asks for another.
  QToolButton* frequency = AddButton("ChooseFrequency", "f...", "Choose the frequency to plot");
  connect(frequency, &QToolButton::clicked, this, [this] { Enter(true); });
  bar->addWidget(frequency);
  step_ = AddButton("Step", "<>", "One time step");
  animate_ = AddButton("Animate", "Animate", "Animate the currents");
  stop_ = AddButton("StopVectorPlot", "Stop", "Stop the animation");
  stop_->hide();
  for (QToolButton* b : {step_, animate_, stop_}) bar->addWidget(b);
  frequencyLabel_ = new QLabel(this);
  frequencyLabel_->setObjectName("VecPlotFreq");
  timeLabel_ = new QLabel(this);
  timeLabel_->setObjectName("ShowTime");
  bar->addSpacing(20);
  bar->addWidget(frequencyLabel_);
  bar->addSpacing(20);
  bar->addWidget(timeLabel_);
  bar->addSpacing(12);
  // The colour scale of the arrows: from no current to the largest cell current.
  legend_ = new PaintArea(this);
  legend_->setObjectName("VectorLegend");
  legend_->setFixedSize(230, 24);
  legend_->OnPaint = [this](QPainter& painter) { PaintLegend(painter); };
  bar->addWidget(legend_);
  bar->addStretch();

  connect(step_, &QToolButton::clicked, this, [this] {
    phaseTime_ = StepTime(phaseTime_);
    Redraw();
  });
  connect(animate_, &QToolButton::clicked, this, &VectorPlotPage::StartAnimation);
  connect(stop_, &QToolButton::clicked, this, &VectorPlotPage::StopAnimation);
  timer_.setInterval(250);
  connect(&timer_, &QTimer::timeout, this, &VectorPlotPage::Tick);

  canvas_->OnPaint = [this](QPainter& p) { Paint(p); };
  canvas_->OnPress = [this](QMouseEvent* e) {
    if (e->button() != Qt::LeftButton) return;
    dragging_ = true;
    dragFrom_ = e->globalPosition().toPoint();
    canvas_->setCursor(CursorFor(EditorCursor::HandGrab));
  };
  canvas_->OnMove = [this](QMouseEvent* e) {
    if (!dragging_) return;
    // Measured on the screen: the paint area moves under the pointer, so its own
    // coordinates would not follow the hand.
    const QPoint at = e->globalPosition().toPoint();
    // Bounded so that a long drag cannot overflow the integer offsets.
    constexpr int Limit = 1 << 20;
    panX_ = std::clamp(panX_ + at.x() - dragFrom_.x(), -Limit, Limit);
    panY_ = std::clamp(panY_ + at.y() - dragFrom_.y(), -Limit, Limit);
    dragFrom_ = at;
    Redraw();
  };
  canvas_->OnRelease = [this](QMouseEvent*) {
    dragging_ = false;
    canvas_->unsetCursor();
  };
}

QToolButton* VectorPlotPage::AddButton(const char* name, const QString& caption,
                                       const QString& hint) {
  auto* button = new QToolButton(this);
  button->setObjectName(name);
  button->setText(caption);
  button->setToolTip(hint);
  button->setStatusTip(hint);
  return button;
}

void VectorPlotPage::Enter(bool askAgain) {
  StopAnimation();
  stop_->hide();
  samples_ = {};
  cells_.clear();
  loaded_ = false;
  scale_ = 1.0;
  canvas_->hide();
  frequencyLabel_->clear();
  timeLabel_->clear();
  try {
    const std::filesystem::path projectFile = project_.ProjectFile;
    const std::optional<std::filesystem::path> file = PlotFrequencyFile(projectFile);
    if (!file) {
      ui_.ShowMessage(NoDataToPlotMessage);
      return;
    }
    if (IsChargeFileEmpty(projectFile)) {
      ui_.ShowMessage(VectorPlotNeedsComputationMessage);
      return;
    }
    selectedFrequency_ = 0;
    const std::optional<double> frequency = SelectPlotFrequency(
        frequencyDialog_, *file, CurrentFileFields, FrequencyDialogMode::Current, ui_,
        askAgain);
    if (!frequency) {
      step_->setEnabled(false);
      animate_->setEnabled(false);
      return;
    }
    selectedFrequency_ = *frequency;
    samples_ = LoadCurrentSamples(projectFile, project_.Segments, *frequency);
    zoom_ = 1.0;
    panX_ = panY_ = 0;
    cells_ = LoadVectorCells(projectFile, *frequency);
    largest_ = NeighboursValid(cells_, samples_) ? LargestCellCurrent(cells_, samples_) : 0.0;
  } catch (const FileError& error) {
    ui_.ShowMessage(error.what());
    return;
  }
  loaded_ = true;
  step_->setEnabled(true);
  animate_->setEnabled(true);
  phaseTime_ = 0.0;
  frequencyLabel_->setText(
      "Frequency:" + QString::fromStdString(FrequencyDialogEntries({selectedFrequency_})[0]) +
      " MHz");
  Redraw();
}

void VectorPlotPage::Leave() {
  StopAnimation();
  samples_ = {};
  cells_.clear();
  loaded_ = false;
  canvas_->hide();
  largest_ = 0.0;
  legend_->update();
}

void VectorPlotPage::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  Redraw();
}

void VectorPlotPage::Place() {
  const int w = host_->width() - 10, h = host_->height() - 10;
  if (project_.PcbLx <= 0 || project_.PcbLy <= 0) return;
  pixelsPerMm_ = std::min(double(w) / project_.PcbLx, double(h) / project_.PcbLy) * zoom_;
  const int width = Round(project_.PcbLx * pixelsPerMm_);
  const int height = Round(project_.PcbLy * pixelsPerMm_);
  canvas_->setGeometry(Round((w - width) / 2.0) + panX_ + 5, Round((h - height) / 2.0) + panY_ + 5,
                       width + 1, height + 1);
}

void VectorPlotPage::Redraw() {
  if (!loaded_) return;
  Place();
  canvas_->show();
  UpdateTimeLabel();
  canvas_->update();
  legend_->update();
}

void VectorPlotPage::UpdateTimeLabel() {
  timeLabel_->setText(QString::fromStdString(TimeText(phaseTime_)));
}

void VectorPlotPage::Paint(QPainter& painter) {
  const double s = pixelsPerMm_;
  painter.setPen(Qt::black);
  painter.drawRect(0, 0, Round(project_.PcbLx * s), Round(project_.PcbLy * s));
  if (!NeighboursValid(cells_, samples_)) return;
  const double pcbLy = project_.PcbLy;
  painter.setPen(QPen(Qt::black, 0, Qt::DotLine));
  for (const VectorCell& c : cells_)
    painter.drawRect(QRect(QPoint(Round((c.X - c.Dx / 2) * s), Round((pcbLy - c.Y - c.Dy / 2) * s)),
                           QPoint(Round((c.X + c.Dx / 2) * s), Round((pcbLy - c.Y + c.Dy / 2) * s))));
  // Each arrow's length is proportional to the cell's current at this instant,
  // the largest current of the plot filling most of the smallest cell; its colour
  // gives the same fraction on the scale of the legend.
  const double dmin = SmallestCellSize(cells_);
  const double halfLongest = LongestHalfArrow(dmin, s);
  painter.setRenderHint(QPainter::Antialiasing, true);
  for (const VectorCell& c : cells_) {
    const auto v = ProportionalCellVector(c, samples_, phaseTime_, scale_, halfLongest, largest_);
    const double fraction = std::hypot(v[0], v[1]) / (scale_ * halfLongest);
    const auto rgb = MagnitudeRgb(fraction);
    painter.setPen(QPen(QColor(rgb[0], rgb[1], rgb[2]), 1.6, Qt::SolidLine, Qt::RoundCap));
    for (const PixelLine& l : ArrowLines(c.X, c.Y, v, s, pcbLy))
      painter.drawLine(l.X1, l.Y1, l.X2, l.Y2);
  }
}

void VectorPlotPage::PaintLegend(QPainter& painter) {
  const QRect area = legend_->rect();
  painter.fillRect(area, palette().window());
  if (!loaded_) return;
  const QFontMetrics metrics(painter.font());
  const QString low = "0", high = QString::fromStdString(FormatListExponent(largest_, 3, 2)) + " A/m";
  const int barLeft = metrics.horizontalAdvance(low) + 4;
  const int barRight = area.width() - metrics.horizontalAdvance(high) - 4;
  const int top = 4, height = area.height() - 8;
  for (int x = barLeft; x < barRight; ++x) {
    const auto rgb = MagnitudeRgb(double(x - barLeft) / std::max(1, barRight - barLeft - 1));
    painter.setPen(QColor(rgb[0], rgb[1], rgb[2]));
    painter.drawLine(x, top, x, top + height);
  }
  painter.setPen(Qt::black);
  painter.drawRect(barLeft, top, barRight - barLeft - 1, height);
  const int baseline = (area.height() + metrics.ascent() - metrics.descent()) / 2;
  painter.drawText(0, baseline, low);
  painter.drawText(barRight + 4, baseline, high);
}

void VectorPlotPage::StartAnimation() {
  if (!loaded_) return;
  for (QToolButton* b : viewButtons_) b->setEnabled(false);
  step_->setEnabled(false);
  animate_->setEnabled(false);
  ui_.SetStatusText(StatusPanel::State, "Time stepping");
  stop_->show();
  phaseTime_ = 0.0;
  timer_.start();
}

void VectorPlotPage::Tick() {
  Redraw();
  phaseTime_ = AnimationTime(phaseTime_);
}

void VectorPlotPage::StopAnimation() {
  if (!timer_.isActive()) return;
  timer_.stop();
  ui_.SetStatusText(StatusPanel::State, "");
  stop_->hide();
  for (QToolButton* b : viewButtons_) b->setEnabled(true);
  step_->setEnabled(true);
  animate_->setEnabled(true);
}

}  // namespace lumetra::gui
