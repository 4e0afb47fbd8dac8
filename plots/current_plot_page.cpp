#include "plots/current_plot_page.h"

#include <QButtonGroup>
#include <QColorDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QToolButton>
#include <QVBoxLayout>
#include <numbers>

#include "editor/cursors.h"
#include "fields/result_files.h"
#include "fields/result_lists.h"
#include "model/file_io.h"
#include "plots/frequency_choice.h"
#include "plots/frequency_dialog.h"
#include "plots/paint_area.h"
#include "plots/plot_selection_window.h"
#include "plots/segment_dialogs.h"

namespace lumetra::gui {

namespace {
constexpr double TenDegrees = std::numbers::pi / 18;
}

CurrentPlotPage::CurrentPlotPage(const Project& project, UserInterface& ui,
                                 const ViewSettings& view, double& selectedFrequency,
                                 FrequencyDialog& frequencyDialog, QWidget* parent)
    : QWidget(parent),
      project_(project),
      ui_(ui),
      viewSettings_(view),
      selectedFrequency_(selectedFrequency),
      frequencyDialog_(frequencyDialog) {
  setObjectName("CurrentPlotPage");
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  canvas_ = new PaintArea(this);
  canvas_->setObjectName("PaintBox3");
  canvas_->setContextMenuPolicy(Qt::CustomContextMenu);
  layout->addWidget(canvas_, 1);
  auto* labels = new QVBoxLayout(canvas_);
  labels->setAlignment(Qt::AlignTop | Qt::AlignLeft);
  for (auto [label, name] : {std::pair{&frequencyLabel_, "CurrFreq"},
                             std::pair{&jxMaxLabel_, "JxCurrMax"},
                             std::pair{&jyMaxLabel_, "JyCurrMax"}}) {
    *label = new QLabel(canvas_);
    (*label)->setObjectName(name);
    labels->addWidget(*label);
  }
  BuildControls();
  selection_ = new PlotSelectionWindow(this);
  segmentDialog_ = new SelectSegmentDialog(ui_, this);
  typeDialog_ = new SelectPlotTypeDialog(ui_, this);

  canvas_->OnPaint = [this](QPainter& p) { Paint(p); };
  canvas_->OnPress = [this](QMouseEvent* e) {
    if (!plot3D_->isChecked() || e->button() != Qt::LeftButton) return;
    dragging_ = true;
    dragFrom_ = e->position().toPoint();
    canvas_->setCursor(CursorFor(EditorCursor::HandGrab));
  };
  canvas_->OnMove = [this](QMouseEvent* e) {
    const QPoint at = e->position().toPoint();
    if (plot3D_->isChecked()) {
      if (!dragging_) return;
      view_.PanX += at.x() - dragFrom_.x();
      view_.PanY += at.y() - dragFrom_.y();
      dragFrom_ = at;
      Draw3D();
      return;
    }
    std::optional<std::string> text;
    if (shown_ == Shown::Graph2D && graph_)
      text = GraphReadout(FrameOf(*graph_, canvas_->width(), canvas_->height()), *graph_, at.x(),
                          at.y());
    ui_.SetStatusText(StatusPanel::Progress, text ? *text : std::string());
    if (text)
      canvas_->setCursor(Qt::CrossCursor);
    else
      canvas_->unsetCursor();
  };
  canvas_->OnRelease = [this](QMouseEvent*) {
    if (!dragging_) return;
    dragging_ = false;
    canvas_->unsetCursor();
  };
  connect(canvas_, &QWidget::customContextMenuRequested, this, &CurrentPlotPage::ShowContextMenu);
  connect(selection_, &PlotSelectionWindow::SelectionChanged, this, [this] {
    if (shown_ == Shown::View3D) Draw3D();
  });
}

QToolButton* CurrentPlotPage::AddButton(const char* name, const QString& caption,
                                        const QString& hint, bool in3D) {
  auto* button = new QToolButton(this);
  button->setObjectName(name);
  button->setText(caption);
  button->setToolTip(hint);
  button->setStatusTip(hint);
  (in3D ? controls3D_ : controls2D_).append(button);
  return button;
}

void CurrentPlotPage::BuildControls() {
  // The bar may be narrower than its buttons: the page must not hold the window
  // wider than the other pages need.
  auto* barHost = new QWidget(this);
  barHost->setMinimumWidth(1);
  static_cast<QVBoxLayout*>(layout())->addWidget(barHost);
  auto* bar = new QHBoxLayout(barHost);
  bar->setContentsMargins(2, 2, 2, 2);
  plot3D_ = AddButton("Plot3D", "3D", "3D plot of the current density amplitude", false);
  plot2D_ = AddButton("Plot2D", "2D", "2D plot of the currents of one segment", false);
  controls2D_.removeAll(plot3D_);
  controls2D_.removeAll(plot2D_);
  auto* mode = new QButtonGroup(this);
  for (QToolButton* b : {plot3D_, plot2D_}) {
    b->setCheckable(true);
    b->setAutoRaise(false);
    mode->addButton(b);
    bar->addWidget(b);
  }
  plot3D_->setChecked(true);
  // The frequency is shared with the other result pages; this asks for another.
  QToolButton* frequency = AddButton("ChooseFrequency", "f...", "Choose the frequency to plot", false);
  controls2D_.removeAll(frequency);
  connect(frequency, &QToolButton::clicked, this, [this] { Enter(true); });
  bar->addWidget(frequency);

  auto turn = [this](double View3D::*angle, double by) {
    return [this, angle, by] {
      view_.*angle += by;
      Draw3D();
    };
  };
  const struct {
    const char* name;
    const char* caption;
    const char* hint;
    std::function<void()> action;
  } actions3D[] = {
      {"RotXpos", "X+", "Rotate about the x axis", turn(&View3D::RotX, TenDegrees)},
      {"RotXneg", "X-", "Rotate about the x axis", turn(&View3D::RotX, -TenDegrees)},
      {"RotYpos", "Y+", "Rotate about the y axis", turn(&View3D::RotY, TenDegrees)},
      {"RotYneg", "Y-", "Rotate about the y axis", turn(&View3D::RotY, -TenDegrees)},
      {"RotZpos", "R+", "Rotate about the z axis", turn(&View3D::RotZ, TenDegrees)},
      {"RotZneg", "R-", "Rotate about the z axis", turn(&View3D::RotZ, -TenDegrees)},
      {"MoveUp", "\u2191", "Move plot up", [this] { view_.PanY -= viewSettings_.MoveStep; Draw3D(); }},
      {"MoveDown", "\u2193", "Move plot down", [this] { view_.PanY += viewSettings_.MoveStep; Draw3D(); }},
      {"MoveLeft", "\u2190", "Move plot left", [this] { view_.PanX -= viewSettings_.MoveStep; Draw3D(); }},
      {"MoveRight", "\u2192", "Move plot right", [this] { view_.PanX += viewSettings_.MoveStep; Draw3D(); }},
      {"ZoomIn", "Zoom+", "Zoom in", [this] { view_.Zoom *= viewSettings_.ZoomFactor; Draw3D(); }},
      {"ZoomOut", "Zoom-", "Zoom out", [this] { view_.Zoom /= viewSettings_.ZoomFactor; Draw3D(); }},
      // Z- shrinks by 0.9, not by 1/1.1: Z+ then Z- leaves 0.99 of the height.
      {"ZScalePlus", "Z+", "Increase the bar heights", [this] { samples_.AmplitudeScale *= 1.1; Draw3D(); }},
      {"ZScaleMinus", "Z-", "Decrease the bar heights", [this] { samples_.AmplitudeScale *= 0.9; Draw3D(); }},
  };
  for (const auto& a : actions3D) {
    QToolButton* b = AddButton(a.name, a.caption, a.hint, true);
    connect(b, &QToolButton::clicked, this, a.action);
    bar->addWidget(b);
  }
  showJx_ = AddButton("ShowJx3D", "Jx", "Show the Jx currents", true);
  showJy_ = AddButton("ShowJy3D", "Jy", "Show the Jy currents", true);
  for (QToolButton* b : {showJx_, showJy_}) {
    b->setCheckable(true);
    b->setChecked(true);
    connect(b, &QToolButton::toggled, this, [this] { Draw3D(); });
    bar->addWidget(b);
  }
  QToolButton* sel = AddButton("SegSelSpeed", "Sel", "Select the segments to plot", true);
  connect(sel, &QToolButton::clicked, this, [this] {
    selection_->show();
    selection_->raise();
  });
  bar->addWidget(sel);
  QToolButton* print3D = AddButton("SpeedPrint3D", "Print",
                                   "Print 3D current density on the active printer", true);
  connect(print3D, &QToolButton::clicked, this, [this] { Print(true); });
  bar->addWidget(print3D);

  select2D_ = AddButton("Plot2DSelect", "Segment", "Select another segment", false);
  connect(select2D_, &QToolButton::clicked, this, [this] {
    if (ChooseSegment()) Draw2D();
  });
  bar->addWidget(select2D_);
  auto* quantity = new QButtonGroup(this);
  const struct {
    QToolButton** button;
    const char* name;
    const char* caption;
    const char* hint;
  } quantities[] = {{&amp_, "Amp2D", "|J|", "Plot the current density amplitude"},
                    {&phase_, "Phase2D", "<J", "Plot the current density phase"},
                    {&re_, "Re2D", "Re", "Plot the real part"},
                    {&im_, "Im2D", "Im", "Plot the imaginary part"},
                    {&total_, "TotCurAmp", "|I|", "Plot the total current amplitude"}};
  for (const auto& q : quantities) {
    *q.button = AddButton(q.name, q.caption, q.hint, false);
    (*q.button)->setCheckable(true);
    quantity->addButton(*q.button);
    connect(*q.button, &QToolButton::clicked, this, [this] { Draw2D(); });
    bar->addWidget(*q.button);
  }
  amp_->setChecked(true);
  pulses_ = AddButton("PlotRect", "Pulses", "Show the current pulses", false);
  matchPoints_ = AddButton("PlotCirc", "Points", "Show the match points", false);
  for (QToolButton* b : {pulses_, matchPoints_}) {
    b->setCheckable(true);
    b->setChecked(true);
    connect(b, &QToolButton::toggled, this, [this] { Draw2D(); });
    bar->addWidget(b);
  }
  QToolButton* print2D =
      AddButton("SpeedPrint2D", "Print", "Print 2D current on the active printer", false);
  connect(print2D, &QToolButton::clicked, this, [this] { Print(false); });
  bar->addWidget(print2D);
  bar->addStretch();

  connect(plot3D_, &QToolButton::clicked, this, [this] {
    Show3DControls(true);
    Draw3D();
  });
  connect(plot2D_, &QToolButton::clicked, this, [this] { Start2D(); });
  Show3DControls(true);
}

void CurrentPlotPage::Show3DControls(bool threeD) {
  for (QWidget* w : controls3D_) w->setVisible(threeD);
  for (QWidget* w : controls2D_) w->setVisible(false);
  select2D_->setVisible(!threeD);
}

void CurrentPlotPage::Show2DQuantityControls(bool shown) {
  for (QWidget* w : controls2D_) w->setVisible(shown || w == select2D_);
}

void CurrentPlotPage::Enter(bool askAgain) {
  selection_->hide();
  samples_ = {};
  loaded_ = false;
  graph_.reset();
  selection_->Fill(static_cast<int>(project_.Segments.size()));
  plot3D_->setChecked(true);
  Show3DControls(true);
  showJx_->setChecked(true);
  showJy_->setChecked(true);
  view_ = View3D{};
  shown_ = Shown::Nothing;
  frequencyLabel_->clear();
  jxMaxLabel_->clear();
  jyMaxLabel_->clear();
  canvas_->update();
  try {
    const std::filesystem::path projectFile = project_.ProjectFile;
    const std::optional<std::filesystem::path> file = PlotFrequencyFile(projectFile);
    if (!file) {
      ui_.ShowMessage(NoDataToPlotMessage);
      return;
    }
    selectedFrequency_ = 0;
    const std::optional<double> frequency = SelectPlotFrequency(
        frequencyDialog_, *file, CurrentFileFields, FrequencyDialogMode::Current, ui_,
        askAgain);
    if (!frequency) return;
    selectedFrequency_ = *frequency;
    samples_ = LoadCurrentSamples(projectFile, project_.Segments, *frequency);
  } catch (const FileError& error) {
    ui_.ShowMessage(error.what());
    return;
  }
  loaded_ = true;
  frequencyLabel_->setText("Frequency: " +
                           QString::fromStdString(FrequencyDialogEntries({selectedFrequency_})[0]) +
                           " MHz");
  jxMaxLabel_->setText("Jxmax: " + QString::fromStdString(FormatCurrentMax(samples_.JxMax)) + " A/m");
  jyMaxLabel_->setText("Jymax: " + QString::fromStdString(FormatCurrentMax(samples_.JyMax)) + " A/m");
  FitView(view_, canvas_->width(), canvas_->height(), project_.PcbLx, project_.PcbLy);
  Draw3D();
}

void CurrentPlotPage::Leave() {
  selection_->hide();
  samples_ = {};
  loaded_ = false;
  graph_.reset();
  shown_ = Shown::Nothing;
  dragging_ = false;
}

void CurrentPlotPage::Redraw() {
  if (loaded_) Draw3D();
}

void CurrentPlotPage::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  // A resized window shows the 3D view again, also when "2D" is down.
  if (shown_ != Shown::Nothing) Draw3D();
}

void CurrentPlotPage::ShowLabels(bool shown) {
  for (QLabel* label : {frequencyLabel_, jxMaxLabel_, jyMaxLabel_}) label->setVisible(shown);
}

void CurrentPlotPage::Draw3D() {
  if (!loaded_) return;
  ShowLabels(true);
  shown_ = Shown::View3D;
  canvas_->update();
}

void CurrentPlotPage::Start2D() {
  Show3DControls(false);
  graph_.reset();
  shown_ = Shown::Nothing;
  canvas_->update();
  if (samples_.Jx.empty() && samples_.Jy.empty()) return;
  if (!ChooseSegment()) return;
  amp_->setChecked(true);
  Show2DQuantityControls(true);
  Draw2D();
}

bool CurrentPlotPage::ChooseSegment() {
  if (samples_.Jx.empty() && samples_.Jy.empty()) return false;
  const std::optional<int> segment =
      segmentDialog_->Ask(static_cast<int>(project_.Segments.size()));
  if (!segment) return false;
  GraphChoice choice{*segment, 0, false};
  const Segment& s = project_.Segments[static_cast<std::size_t>(*segment - 1)];
  const GraphKinds kinds = GraphKindsOf(s);
  choice.Jx = kinds.Jx;
  if (kinds.Ask) {
    // Closed without OK there is no row to plot: the choice is abandoned.
    const std::optional<PlotTypeChoice> type = typeDialog_->Ask(s.ChX, s.ChY);
    if (!type) return false;
    choice.Jx = type->Jx;
    choice.Row = type->Row;
  }
  choice_ = choice;
  return true;
}

GraphQuantity CurrentPlotPage::Quantity() const {
  if (phase_->isChecked()) return GraphQuantity::Phase;
  if (re_->isChecked()) return GraphQuantity::Real;
  if (im_->isChecked()) return GraphQuantity::Imaginary;
  if (total_->isChecked()) return GraphQuantity::TotalCurrent;
  return GraphQuantity::Amplitude;
}

void CurrentPlotPage::Draw2D() {
  if (!loaded_ || choice_.Segment == 0) return;
  graph_ = BuildGraph(samples_, project_.Segments, choice_, Quantity());
  if (graph_) IncludeZero(*graph_, Quantity());
  if (!graph_) {
    shown_ = Shown::Nothing;
    canvas_->update();
    ui_.ShowMessage(TooFewPointsMessage);
    return;
  }
  shown_ = Shown::Graph2D;
  // The graph writes its own frequency; the 3D labels would cover its scale.
  ShowLabels(false);
  canvas_->update();
}

QMenu* CurrentPlotPage::BuildContextMenu() {
  if (shown_ == Shown::Nothing) return nullptr;
  auto* menu = new QMenu(this);
  menu->setAttribute(Qt::WA_DeleteOnClose);
  if (shown_ == Shown::View3D) {
    connect(menu->addAction("Color of Jx current..."), &QAction::triggered, this,
            [this] { ChooseColour(colours_.Jx); });
    connect(menu->addAction("Color of Jy current..."), &QAction::triggered, this,
            [this] { ChooseColour(colours_.Jy); });
  } else {
    connect(menu->addAction("Color of curve..."), &QAction::triggered, this,
            [this] { ChooseColour(colours_.Curve); });
    connect(menu->addAction("Color of border..."), &QAction::triggered, this,
            [this] { ChooseColour(colours_.Border); });
  }
  return menu;
}

void CurrentPlotPage::ShowContextMenu(const QPoint& at) {
  if (QMenu* menu = BuildContextMenu()) menu->popup(canvas_->mapToGlobal(at));
}

void CurrentPlotPage::ChooseColour(QColor& colour) {
  const QColor chosen = QColorDialog::getColor(colour, this);
  if (!chosen.isValid()) return;
  colour = chosen;
  canvas_->update();
}

}  // namespace lumetra::gui
