// The page "2D/3D current plot": the current density amplitude of the selected
// frequency as wire-frame bars over the layout in a turnable oblique view, or one
// quantity along a row or column of one segment as a 2D graph.
#pragma once

#include <QColor>
#include <QWidget>
#include <functional>
#include <optional>

#include "editor/view_settings.h"
#include "model/project.h"
#include "model/user_interface.h"
#include "plots/current_graph.h"
#include "plots/current_projection.h"
#include "plots/current_samples.h"

class QAbstractButton;
class QLabel;
class QMenu;
class QPrinter;
class QPainter;
class QToolButton;

namespace lumetra::gui {

class FrequencyDialog;
class PaintArea;
class PlotSelectionWindow;
class SelectPlotTypeDialog;
class SelectSegmentDialog;

struct CurrentPlotColours {
  QColor Jx = Qt::red;
  QColor Jy = QColor(0, 128, 0);
  QColor Curve = Qt::red;
  QColor Border = Qt::blue;
};

class CurrentPlotPage : public QWidget {
  Q_OBJECT
public:
  CurrentPlotPage(const Project& project, UserInterface& ui, const ViewSettings& view,
                  double& selectedFrequency, FrequencyDialog& frequencyDialog,
                  QWidget* parent = nullptr);

  // Page entry: frequency choice, loading, fit and the 3D view.
  // Loads the currents of the shared frequency choice; askAgain opens the
  // "Select frequency" dialog even when a frequency was chosen before.
  void Enter(bool askAgain = false);
  // Any page change: the samples are dropped and the selection window hidden.
  void Leave();
  // The window's redraw: the 3D view, also when "2D" is down.
  void Redraw();

  const CurrentSamples& Samples() const { return samples_; }
  const View3D& View() const { return view_; }
  double AmplitudeScale() const { return samples_.AmplitudeScale; }
  const std::optional<GraphData>& Graph() const { return graph_; }
  const GraphChoice& Choice() const { return choice_; }
  PlotSelectionWindow* Selection() const { return selection_; }
  PaintArea* Canvas() const { return canvas_; }
  CurrentPlotColours& Colours() { return colours_; }
  // The pop-up menu of the view shown: the bar colours in 3D, the curve and border
  // colours in 2D; null while nothing is drawn. The menu deletes itself on close.
  QMenu* BuildContextMenu();
  // The printer of "Print" and the question before printing (the platform's
  // print dialog unless replaced, e.g. by a test).
  void SetPrinter(QPrinter* printer) { printer_ = printer; }
  void SetPrintConfirmation(std::function<bool(QPrinter&)> confirm) {
    confirmPrint_ = std::move(confirm);
  }

protected:
  void resizeEvent(QResizeEvent* event) override;

private:
  enum class Shown { Nothing, View3D, Graph2D };

  void BuildControls();
  QToolButton* AddButton(const char* name, const QString& caption, const QString& hint,
                         bool in3D);
  void Show3DControls(bool threeD);
  void Show2DQuantityControls(bool shown);
  void ShowLabels(bool shown);
  void Draw3D();
  void Start2D();
  bool ChooseSegment();
  void Draw2D();
  void Paint(QPainter& painter);
  // The views on an area of the given size (the canvas, or a printer page in
  // canvas-like units); printed adds the printout's texts.
  void Paint3D(QPainter& painter, const View3D& view, QSize area, bool printed);
  void Paint2D(QPainter& painter, QSize area, bool printed);
  void Print(bool view3D);
  GraphQuantity Quantity() const;
  void ShowContextMenu(const QPoint& at);
  void ChooseColour(QColor& colour);

  const Project& project_;
  UserInterface& ui_;
  const ViewSettings& viewSettings_;
  double& selectedFrequency_;
  FrequencyDialog& frequencyDialog_;

  CurrentSamples samples_;
  bool loaded_ = false;
  View3D view_;
  GraphChoice choice_;
  std::optional<GraphData> graph_;
  Shown shown_ = Shown::Nothing;
  CurrentPlotColours colours_;
  QPrinter* printer_ = nullptr;
  std::function<bool(QPrinter&)> confirmPrint_;
  bool dragging_ = false;
  QPoint dragFrom_;

  PaintArea* canvas_;
  QLabel *frequencyLabel_, *jxMaxLabel_, *jyMaxLabel_;
  QList<QWidget*> controls3D_, controls2D_;
  QToolButton *plot3D_, *plot2D_, *showJx_, *showJy_, *select2D_;
  QToolButton *amp_, *phase_, *re_, *im_, *total_, *pulses_, *matchPoints_;
  PlotSelectionWindow* selection_;
  SelectSegmentDialog* segmentDialog_;
  SelectPlotTypeDialog* typeDialog_;
};

}  // namespace lumetra::gui
