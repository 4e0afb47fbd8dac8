// The page "Vector current plot": per charge cell an arrow of the current that
// flows through it at one instant of the period, stepped by "<>" or animated on a
// 250 ms timer that leaves the event loop free.
#pragma once

#include <QTimer>
#include <QWidget>
#include <vector>

#include "editor/view_settings.h"
#include "model/project.h"
#include "model/user_interface.h"
#include "plots/current_samples.h"
#include "plots/vector_plot_data.h"

class QLabel;
class QPainter;
class QToolButton;

namespace lumetra::gui {

class FrequencyDialog;
class PaintArea;

class VectorPlotPage : public QWidget {
  Q_OBJECT
public:
  VectorPlotPage(const Project& project, UserInterface& ui, const ViewSettings& view,
                 double& selectedFrequency, FrequencyDialog& frequencyDialog,
                 QWidget* parent = nullptr);

  // Loads the currents of the shared frequency choice; askAgain opens the
  // "Select frequency" dialog even when a frequency was chosen before.
  void Enter(bool askAgain = false);
  // Any page change: the animation stops and the samples are dropped.
  void Leave();
  // The window's redraw at the current phase.
  void Redraw();
  void StopAnimation();

  double PhaseTime() const { return phaseTime_; }
  bool Animating() const { return timer_.isActive(); }
  double Zoom() const { return zoom_; }
  double Scale() const { return scale_; }
  const std::vector<VectorCell>& Cells() const { return cells_; }
  const CurrentSamples& Samples() const { return samples_; }
  PaintArea* Canvas() const { return canvas_; }
  PaintArea* Legend() const { return legend_; }
  double LargestCurrent() const { return largest_; }
  QTimer& Timer() { return timer_; }

protected:
  void resizeEvent(QResizeEvent* event) override;

private:
  void Place();
  void Paint(QPainter& painter);
  void PaintLegend(QPainter& painter);
  void UpdateTimeLabel();
  void StartAnimation();
  void Tick();
  QToolButton* AddButton(const char* name, const QString& caption, const QString& hint);

  const Project& project_;
  UserInterface& ui_;
  const ViewSettings& viewSettings_;
  double& selectedFrequency_;
  FrequencyDialog& frequencyDialog_;

  CurrentSamples samples_;
  std::vector<VectorCell> cells_;
  bool loaded_ = false;
  double zoom_ = 1.0, scale_ = 1.0, phaseTime_ = 0.0, pixelsPerMm_ = 1.0;
  int panX_ = 0, panY_ = 0;
  bool dragging_ = false;
  QPoint dragFrom_;
  QTimer timer_;

  QWidget* host_;
  PaintArea* canvas_;
  QLabel *frequencyLabel_, *timeLabel_;
  PaintArea* legend_;
  double largest_ = 0.0;  // the largest cell current, A/m
  QList<QToolButton*> viewButtons_;
  QToolButton *step_, *animate_, *stop_;
};

}  // namespace lumetra::gui
