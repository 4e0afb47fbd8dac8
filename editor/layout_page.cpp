#include "editor/layout_page.h"

#include <QColorDialog>
#include <QEvent>
#include <QFontDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QMenu>
#include <QPrintDialog>
#include <QToolButton>
#include <QUndoStack>
#include <QVBoxLayout>
#include <QWheelEvent>
#include <cmath>

#include "editor/connection_dialog.h"
#include "editor/cursors.h"
#include "editor/delete_dialog.h"
#include "editor/grid_dialog.h"
#include "editor/ground_point_dialog.h"
#include "editor/hints.h"
#include "editor/impedance_dialog.h"
#include "editor/layout_canvas.h"
#include "editor/layout_commands.h"
#include "editor/layout_print.h"
#include "editor/segment_dialog.h"
#include "editor/voltage_source_dialog.h"
#include "model/file_io.h"
#include "model/layout_drawing.h"
#include "model/segment_markers.h"

namespace lumetra::gui {

LayoutPage::LayoutPage(Project& project, UserInterface& ui, ViewSettings& settings,
                       QWidget* parent)
    : QWidget(parent), project_(project), ui_(ui), settings_(settings) {
  setObjectName("LayoutPage");
  auto* layout = new QHBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  panel_ = new QWidget(this);
  panel_->setObjectName("ButtonPanel");
  layout->addWidget(panel_);
  boardPage_ = new QWidget(this);
  boardPage_->setObjectName("BoardPage");
  boardPage_->setMouseTracking(true);
  boardPage_->installEventFilter(this);
  panel_->installEventFilter(this);
  layout->addWidget(boardPage_, 1);
  canvas_ = new LayoutCanvas(style_, boardPage_);
  canvas_->hide();
  BuildButtons();
  BuildPopupMenu();

  segmentDialog_ = new SegmentDialog(ui_, this);
  sourceDialog_ = new VoltageSourceDialog(ui_, this);
  impedanceDialog_ = new ImpedanceDialog(ui_, this);
  groundDialog_ = new GroundPointDialog(ui_, this);
  deleteDialog_ = new DeleteDialog(ui_, this);
  gridDialog_ = new GridDialog(ui_, this);
  connectionDialog_ = new ConnectionDialog(ui_, this);

  undoStack_ = new QUndoStack(this);
  // Deep enough for a long session of drawing; each step holds only the lists it
  // changed.
  undoStack_->setUndoLimit(1000);
  connect(undoStack_, &QUndoStack::indexChanged, this, &LayoutPage::ProjectChanged);
  connect(undoStack_, &QUndoStack::cleanChanged, this, &LayoutPage::ProjectChanged);

  connect(canvas_, &LayoutCanvas::MousePressed, this, &LayoutPage::MousePressed);
  connect(canvas_, &LayoutCanvas::MouseDoubleClicked, this, &LayoutPage::MouseDoubleClicked);
  connect(canvas_, &LayoutCanvas::MouseMoved, this, &LayoutPage::MouseMoved);
  connect(canvas_, &LayoutCanvas::MouseReleased, this, &LayoutPage::MouseReleased);
  connect(canvas_, &LayoutCanvas::MenuRequested, this, &LayoutPage::ShowPopup);
  connect(canvas_, &LayoutCanvas::WheelTurned, this,
          [this](QPoint at, int angle) { WheelTurned(canvas_->pos() + at, angle); });
  UpdateButtons();
}

void LayoutPage::Apply(QUndoCommand* command) { undoStack_->push(command); }

void LayoutPage::ProjectChanged() {
  // Every edit, undo and redo lands here: the project is saved exactly when the
  // stack is back where the last save (or New, or Open) left it.
  project_.Saved = undoStack_->isClean();
  const std::array<std::size_t, 4> counts = {project_.Segments.size(),
                                             project_.VoltageSources.size(),
                                             project_.Impedances.size(),
                                             project_.GroundPoints.size()};
  if (counts != selectionCounts_ || !SelectionValid(project_, selection_)) selection_.clear();
  UpdateButtons();
  RedrawLayout();
}

void LayoutPage::SetSelection(std::vector<SelectedItem> selection) {
  selection_ = std::move(selection);
  if (!SelectionValid(project_, selection_)) selection_.clear();
  selectionCounts_ = {project_.Segments.size(), project_.VoltageSources.size(),
                      project_.Impedances.size(), project_.GroundPoints.size()};
  ShowSelection();
}

void LayoutPage::ShowSelection() {
  const double scale = view_.Scale;
  const auto x = [&](double mm) { return BoardToPixelX(mm, scale); };
  const auto y = [&](double mm) { return BoardToPixelY(mm, scale, project_.PcbLy); };
  // The same pixels as the drawing: right and bottom one past the far edge.
  const auto box = [&](double xc, double yc, double dx, double dy) {
    return QRect(QPoint(x(xc - dx / 2), y(yc + dy / 2)), QPoint(x(xc + dx / 2), y(yc - dy / 2)));
  };
  std::vector<LayoutCanvas::Highlight> highlights;
  for (const SelectedItem& item : selection_) {
    switch (item.Kind) {
      case ItemKind::Segment: {
        const Segment& s = project_.Segments[item.Position];
        highlights.push_back({box(s.Xc, s.Yc, s.Lx, s.Ly), false});
        break;
      }
      case ItemKind::VoltageSource: {
        const VoltageSource& v = project_.VoltageSources[item.Position];
        highlights.push_back({box(v.X, v.Y, v.Dx, v.Dy), false});
        break;
      }
      case ItemKind::Impedance: {
        const ImpedanceElement& z = project_.Impedances[item.Position];
        highlights.push_back({box(z.X, z.Y, z.Dx, z.Dy), false});
        break;
      }
      case ItemKind::GroundPoint: {
        const GroundPoint& gp = project_.GroundPoints[item.Position];
        const int r = static_cast<int>(RoundHalfEven(gp.Size * scale));
        highlights.push_back({QRect(x(gp.X) - r, y(gp.Y) - r, 2 * r + 1, 2 * r + 1), true});
        break;
      }
    }
  }
  canvas_->SetHighlights(std::move(highlights));
}

void LayoutPage::DeleteSelection() {
  if (selection_.empty()) return;
  const std::vector<MarkerRef> lost = MarkersLostWith(project_, selection_);
  const std::string question =
      SegmentsDeleteLossQuestion(SelectedSegmentNumbers(selection_), lost);
  if (!ConfirmMarkerLoss(question, lost, ui_)) return;
  const std::vector<DeletionStep> steps = DeletionOf(selection_);
  selection_.clear();
  Apply(new DeleteItemsCommand(project_, steps));
}

void LayoutPage::LeaveMode() {
  if (bandStart_) {
    bandStart_.reset();
    canvas_->ClearRubberBand();
    return;
  }
  if (panLast_) {
    // The board goes back where it was before the drag.
    panLast_.reset();
    panMoved_ = {};
    canvas_->setCursor(Qt::ArrowCursor);
    RecomputeView();
    RedrawLayout();
    return;
  }
  for (QToolButton* mode : {addSegment_, voltGen_, loadImp_, gpConnect_})
    if (mode->isChecked()) {
      mode->setChecked(false);
      return;
    }
  SetSelection({});
}

LayoutPage::~LayoutPage() {
  // The stack empties itself when it goes with the page's children; nobody may
  // hear of that, the page and the window are half gone.
  undoStack_->blockSignals(true);
}

QToolButton* LayoutPage::AddButton(const char* name, const QString& caption,
                                   const QString& hint, bool checkable) {
  auto* button = new QToolButton(panel_);
  button->setObjectName(name);
  button->setText(caption);
  button->setCheckable(checkable);
  button->setToolButtonStyle(Qt::ToolButtonTextOnly);
  button->setMinimumSize(44, 28);
  button->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
  // Keys belong to the layout (arrows move it), never to a button.
  button->setFocusPolicy(Qt::NoFocus);
  SetHint(button, hint);
  return button;
}

void LayoutPage::BuildButtons() {
  auto* grid = new QGridLayout(panel_);
  grid->setContentsMargins(4, 4, 4, 4);
  int row = 0;
  const auto pair = [&](QToolButton* left, QToolButton* right) {
    grid->addWidget(left, row, 0);
    if (right) grid->addWidget(right, row, 1);
    ++row;
  };

  addSegment_ = AddButton("AddSegment", "Segment", "Segment|Add a segment to the layout", true);
  voltGen_ = AddButton("VoltGen", "V",
                       "Voltage source|Set a current element as a voltage source, click left "
                       "mouse button to set source",
                       true);
  loadImp_ = AddButton("LoadImp", "Z",
                       "Impedance element|Set a current element as an impedance element, click "
                       "left mouse button to set element",
                       true);
  gpConnect_ = AddButton("GPConnect", "GP",
                         "Ground point|Add a connection to ground plane (Jz current), click left "
                         "mouse button to set connection",
                         true);
  showCharge_ = AddButton("ShowCharge", "Ch",
                          "Charge element|Turn on/off visialisation of charge elements", true);
  showJx_ = AddButton("ShowJxCur", "Jx",
                      "Jx element|Turn on/off visialisation of Jx current elements", true);
  showJy_ = AddButton("ShowJyCur", "Jy",
                      "Jy element|Turn on/off visialisation of Jy current elements", true);
  segmentNumber_ =
      AddButton("SegmentNumber", "No", "Segment numbers|Turn on/off segment numbers", true);
  segmentNumber_->setChecked(true);
  connect_ = AddButton("Connect", "Connect",
                       "Connect|Connect all segments and define connecting current element(s)",
                       false);
  delete_ = AddButton("Delete", "Delete",
                      "Delete item|Delete an item and renumber the remaining", false);
  setGrid_ = AddButton("SetGrid", "Grid",
                       "Grid|Specify the snap grid and the number of charges per grid", false);
  plotConnections_ = AddButton("PlotConnections", "X",
                               "Connecting currents|Show connecting current elements", false);
  QToolButton* up = AddButton("SpeedButton1", QString::fromUtf8("\u2191"),
                              "Move up|Move layout upward", false);
  QToolButton* down = AddButton("SpeedButton2", QString::fromUtf8("\u2193"),
                                "Move down|Move layout downward", false);
  QToolButton* left = AddButton("SpeedButton3", QString::fromUtf8("\u2190"),
                                "Move left|Move layout to the left", false);
  QToolButton* right = AddButton("SpeedButton4", QString::fromUtf8("\u2192"),
                                 "Move right|Move layout to the right", false);
  QToolButton* zoomIn = AddButton("SpeedButton5", "+", "Zoom in|Zoom in", false);
  QToolButton* zoomOut = AddButton("SpeedButton6", QString::fromUtf8("\u2212"),
                                   "Zoom out|Zoom out", false);
  QToolButton* print = AddButton("SpeedButton13", "Print",
                                 "Print layout on the active printer", false);

  grid->addWidget(addSegment_, row++, 0, 1, 2);
  pair(voltGen_, loadImp_);
  grid->addWidget(gpConnect_, row++, 0, 1, 2);
  pair(showCharge_, segmentNumber_);
  pair(showJx_, showJy_);
  grid->addWidget(connect_, row++, 0, 1, 2);
  pair(plotConnections_, setGrid_);
  grid->addWidget(delete_, row++, 0, 1, 2);
  pair(up, down);
  pair(left, right);
  pair(zoomIn, zoomOut);
  grid->addWidget(print, row++, 0, 1, 2);
  grid->setRowStretch(row, 1);

  for (QToolButton* mode : {addSegment_, voltGen_, loadImp_, gpConnect_})
    connect(mode, &QToolButton::toggled, this,
            [this, mode](bool down) { ModeButtonToggled(mode, down); });
  for (QToolButton* display : {showCharge_, showJx_, showJy_, segmentNumber_})
    connect(display, &QToolButton::clicked, this, [this] { RedrawLayout(); });
  connect(connect_, &QToolButton::clicked, this, &LayoutPage::ConnectClicked);
  connect(delete_, &QToolButton::clicked, this, &LayoutPage::DeleteClicked);
  connect(setGrid_, &QToolButton::clicked, this, &LayoutPage::GridClicked);
  connect(plotConnections_, &QToolButton::clicked, this, &LayoutPage::PlotConnections);
  connect(up, &QToolButton::clicked, this, [this] { Move(0, -settings_.MoveStep); });
  connect(down, &QToolButton::clicked, this, [this] { Move(0, settings_.MoveStep); });
  connect(left, &QToolButton::clicked, this, [this] { Move(-settings_.MoveStep, 0); });
  connect(right, &QToolButton::clicked, this, [this] { Move(settings_.MoveStep, 0); });
  connect(zoomIn, &QToolButton::clicked, this, [this] { Zoom(true); });
  connect(zoomOut, &QToolButton::clicked, this, [this] { Zoom(false); });
  connect(print, &QToolButton::clicked, this, &LayoutPage::Print);
}

void LayoutPage::BuildPopupMenu() {
  popup_ = new QMenu(this);
  popup_->setObjectName("LayoutPopup");
  popup_->addAction("Color of voltage source...", this,
                    [this] { ChooseColour(style_.VoltageSource); });
  popup_->addAction("Color of impedance element...", this,
                    [this] { ChooseColour(style_.Impedance); });
  popup_->addAction("Color of ground point...", this,
                    [this] { ChooseColour(style_.GroundPoint); });
  popup_->addAction("Color of Jx current...", this, [this] { ChooseColour(style_.Jx); });
  popup_->addAction("Color of Jy current...", this, [this] { ChooseColour(style_.Jy); });
  popup_->addAction("Font...", this, [this] { ChooseFont(); });
}

void LayoutPage::ShowPopup(QPoint globalPosition) {
  // The placing modes take the right button away from the menu.
  const Mode mode = CurrentMode();
  if (mode == Mode::VoltageSource || mode == Mode::Impedance || mode == Mode::GroundPoint) return;
  popup_->popup(globalPosition);
}

void LayoutPage::ChooseColour(QColor& colour) {
  const QColor chosen = QColorDialog::getColor(colour, this);
  if (chosen.isValid()) colour = chosen;
  RedrawLayout();
}

void LayoutPage::ChooseFont() {
  bool ok = false;
  const QFont font = QFontDialog::getFont(&ok, style_.Font, this);
  if (ok) style_.Font = font;
  RedrawLayout();
}

LayoutPage::Mode LayoutPage::CurrentMode() const {
  if (addSegment_->isChecked()) return Mode::AddSegment;
  if (voltGen_->isChecked()) return Mode::VoltageSource;
  if (loadImp_->isChecked()) return Mode::Impedance;
  if (gpConnect_->isChecked()) return Mode::GroundPoint;
  return Mode::Select;
}

QString LayoutPage::ModeStatusText() const {
  switch (CurrentMode()) {
    case Mode::AddSegment: return "Add segment";
    case Mode::VoltageSource: return "Add generator";
    case Mode::Impedance: return "Add impedance";
    case Mode::GroundPoint: return "Add ground point";
    case Mode::Select: break;
  }
  return {};
}

void LayoutPage::SetDisplay(bool charges, bool jx, bool jy) {
  showCharge_->setChecked(charges);
  showJx_->setChecked(jx);
  showJy_->setChecked(jy);
}

void LayoutPage::ModeButtonToggled(QToolButton* button, bool down) {
  if (down) {
    // The four modes exclude each other; none down is the select mode. Releasing
    // the others first lets their release run before this mode's settings.
    for (QToolButton* other : {addSegment_, voltGen_, loadImp_, gpConnect_})
      if (other != button && other->isChecked()) other->setChecked(false);
  }
  const bool placing = button != addSegment_;
  if (!down) {
    ui_.SetStatusText(StatusPanel::State, "");
    if (placing) SetDisplay(false, false, false);
  } else {
    ui_.SetStatusText(StatusPanel::State, ModeStatusText().toStdString());
    if (button == voltGen_ || button == loadImp_) SetDisplay(false, true, false);
    if (button == gpConnect_) SetDisplay(true, false, false);
  }
  static const Qt::CursorShape none = Qt::ArrowCursor;
  switch (CurrentMode()) {
    case Mode::Select: canvas_->setCursor(none); break;
    case Mode::AddSegment: canvas_->setCursor(Qt::CrossCursor); break;
    case Mode::VoltageSource: canvas_->setCursor(CursorFor(EditorCursor::VoltGen)); break;
    case Mode::Impedance: canvas_->setCursor(CursorFor(EditorCursor::ZImpedance)); break;
    case Mode::GroundPoint: canvas_->setCursor(CursorFor(EditorCursor::Ground)); break;
  }
  RedrawLayout();
}

void LayoutPage::UpdateButtons() {
  connect_->setEnabled(!project_.Segments.empty());
  delete_->setEnabled(!project_.Segments.empty() || !project_.VoltageSources.empty() ||
                      !project_.Impedances.empty());
}

void LayoutPage::ResetView() {
  zoom_ = 1.0;
  offsetX_ = offsetY_ = 0;
  selection_.clear();
  UpdateButtons();
  RecomputeView();
  RedrawLayout();
}

void LayoutPage::RecomputeView() {
  if (project_.PcbLx <= 0 || project_.PcbLy <= 0) {
    canvas_->hide();
    return;
  }
  view_ = FitBoardToPage(boardPage_->width(), boardPage_->height(), project_.PcbLx,
                         project_.PcbLy, zoom_, offsetX_, offsetY_);
  canvas_->setGeometry(view_.Left, view_.Top, view_.Width, view_.Height);
  canvas_->show();
}

void LayoutPage::RedrawLayout() {
  if (!canvas_->isVisible() && project_.PcbLx > 0) RecomputeView();
  if (project_.PcbLx <= 0) return;
  LayoutDisplay display;
  display.ShowCharges = showCharge_->isChecked();
  display.ShowJx = showJx_->isChecked();
  display.ShowJy = showJy_->isChecked();
  display.ShowSegmentNumbers = segmentNumber_->isChecked();
  canvas_->Repaint(DrawLayout(project_, display, view_.Scale));
  ShowSelection();
}

void LayoutPage::PlotConnections() {
  if (project_.PcbLx <= 0) return;
  try {
    canvas_->PaintOver(DrawConnectingElements(project_, view_.Scale));
  } catch (const FileError& error) {
    ui_.ShowMessage(error.what());
  }
}

void LayoutPage::Print() {
  if (!printer_ || project_.PcbLx <= 0) return;
  const bool confirmed = confirmPrint_ ? confirmPrint_(*printer_)
                                       : QPrintDialog(printer_, this).exec() == QDialog::Accepted;
  if (confirmed) PrintLayout(*printer_, project_, style_, ui_);
}

void LayoutPage::Move(int dx, int dy) {
  offsetX_ += dx;
  offsetY_ += dy;
  RecomputeView();
  RedrawLayout();
}

void LayoutPage::Zoom(bool in) {
  zoom_ = in ? zoom_ * settings_.ZoomFactor : zoom_ / settings_.ZoomFactor;
  RecomputeView();
  RedrawLayout();
}

void LayoutPage::ZoomAt(QPoint pagePixel, int steps) {
  if (project_.PcbLx <= 0 || project_.PcbLy <= 0 || steps == 0) return;
  const double zoom = zoom_ * std::pow(settings_.ZoomFactor, steps);
  const PanOffset offset =
      OffsetKeepingPoint(boardPage_->width(), boardPage_->height(), project_.PcbLx,
                         project_.PcbLy, view_, zoom, pagePixel.x(), pagePixel.y());
  zoom_ = zoom;
  offsetX_ = offset.X;
  offsetY_ = offset.Y;
  RecomputeView();
  RedrawLayout();
}

void LayoutPage::WheelTurned(QPoint pagePixel, int angle) {
  // A drag in progress owns the view until the button is released.
  if (panLast_) return;
  // One zoom step per notch (120); finer wheels add up to a notch first.
  wheelAngle_ += angle;
  const int steps = wheelAngle_ / 120;
  wheelAngle_ -= steps * 120;
  ZoomAt(pagePixel, steps);
}

bool LayoutPage::HandleKey(int key) {
  switch (key) {
    case Qt::Key_Left: Move(-settings_.MoveStep, 0); return true;
    case Qt::Key_Up: Move(0, -settings_.MoveStep); return true;
    case Qt::Key_Right: Move(settings_.MoveStep, 0); return true;
    case Qt::Key_Down: Move(0, settings_.MoveStep); return true;
    case Qt::Key_Plus:
    case Qt::Key_Equal:  // the plus key of the main keyboard, unshifted
      Zoom(true);
      return true;
    case Qt::Key_Minus: Zoom(false); return true;
    case Qt::Key_Escape: LeaveMode(); return true;
    case Qt::Key_Delete: DeleteSelection(); return true;
    default: return false;
  }
}

bool LayoutPage::eventFilter(QObject* watched, QEvent* event) {
  if (watched == boardPage_ && event->type() == QEvent::Resize) {
    RecomputeView();
    RedrawLayout();
  }
  // Around the board and over the buttons the mouse is over no board position.
  if ((watched == boardPage_ || watched == panel_) &&
      (event->type() == QEvent::MouseMove || event->type() == QEvent::Enter))
    ui_.SetStatusText(StatusPanel::Progress, "");
  if (watched == boardPage_ && event->type() == QEvent::Wheel) {
    // Around the board the wheel zooms too, about the page point under the mouse.
    auto* wheel = static_cast<QWheelEvent*>(event);
    WheelTurned(wheel->position().toPoint(), wheel->angleDelta().y());
    return true;
  }
  return QWidget::eventFilter(watched, event);
}

void LayoutPage::ConnectClicked() {
  connectionDialog_->Run(project_);
  RedrawLayout();
}

void LayoutPage::DeleteClicked() {
  if (const std::optional<DeleteChoice> choice = deleteDialog_->Ask(project_)) {
    bool proceed = true;
    if (choice->Kind == ItemKind::Segment) {
      const std::vector<MarkerRef> lost = MarkersOfDeletedSegments(project_, choice->Position);
      const std::optional<std::size_t> number =
          choice->Position ? std::optional<std::size_t>(*choice->Position + 1) : std::nullopt;
      proceed = ConfirmMarkerLoss(SegmentDeleteLossQuestion(number, lost), lost, ui_);
    }
    if (proceed) Apply(new DeleteItemsCommand(project_, {{choice->Kind, choice->Position}}));
  }
  UpdateButtons();
  RedrawLayout();
}

void LayoutPage::GridClicked() {
  if (const std::optional<GridSettings> grid = gridDialog_->Ask(project_))
    if (*grid != GridOf(project_)) Apply(new GridSettingsCommand(project_, *grid));
  RedrawLayout();
}

}  // namespace lumetra::gui
