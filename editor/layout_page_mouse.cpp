// The mouse on the board area: selecting and editing what is under it, placing
// sources, loads and ground points, drawing segments with a rubber band, dragging
// the view and zooming it with the wheel. Every change goes through the undo stack.
#include <QToolButton>
#include <algorithm>

#include "editor/cursors.h"
#include "editor/delete_dialog.h"
#include "editor/ground_point_dialog.h"
#include "editor/impedance_dialog.h"
#include "editor/layout_canvas.h"
#include "editor/layout_commands.h"
#include "editor/layout_page.h"
#include "editor/segment_dialog.h"
#include "editor/voltage_source_dialog.h"
#include "model/element_lookup.h"
#include "model/layout_editing.h"
#include "model/layout_status_text.h"
#include "model/segment_markers.h"
#include "model/snap_grid.h"

namespace lumetra::gui {

namespace {
constexpr const char* ChooseJxOrJy = "You must select to show either Jx or Jy";
constexpr const char* ChooseChargesOnly = "You must select to show only charge elements";

bool SameSegment(const Segment& a, const Segment& b) {
  return a.Xc == b.Xc && a.Yc == b.Yc && a.Lx == b.Lx && a.Ly == b.Ly && a.ChX == b.ChX &&
         a.ChY == b.ChY;
}
}  // namespace

void LayoutPage::MousePressed(QPoint pixel, Qt::MouseButton button,
                              Qt::KeyboardModifiers modifiers) {
  if (button != Qt::LeftButton || !project_.IsOpen()) return;
  switch (CurrentMode()) {
    case Mode::Select: SelectAt(pixel, modifiers & Qt::ControlModifier); break;
    case Mode::AddSegment: {
      const QPoint start(SnapToGrid(pixel.x(), project_.GridSize, view_.Scale),
                         SnapToGrid(pixel.y(), project_.GridSize, view_.Scale));
      bandStart_ = start;
      bandLast_ = start;
      canvas_->SetRubberBand(QRect(start, start));
      break;
    }
    case Mode::VoltageSource: PlaceOnCurrentElement(pixel, true); break;
    case Mode::Impedance: PlaceOnCurrentElement(pixel, false); break;
    case Mode::GroundPoint: PlaceGroundPoint(pixel); break;
  }
}

void LayoutPage::MouseDoubleClicked(QPoint pixel, Qt::MouseButton button) {
  if (button != Qt::LeftButton || !project_.IsOpen()) return;
  // In select mode a double click opens what lies under the mouse for editing; in
  // the other modes it is one more press.
  if (CurrentMode() == Mode::Select) EditAt(pixel);
  else MousePressed(pixel, button, {});
}

void LayoutPage::MouseMoved(QPoint pixel) {
  if (project_.PcbLx <= 0) return;
  const BoardPoint at = PixelToBoard(pixel.x(), pixel.y(), view_.Scale, project_.PcbLy);
  if (bandStart_) {
    const double dx = (pixel.x() - bandStart_->x()) / view_.Scale;
    const double dy = (pixel.y() - bandStart_->y()) / view_.Scale;
    ui_.SetStatusText(StatusPanel::Progress, MousePositionText(at.X, at.Y, dx, dy));
    bandLast_ = pixel;
    canvas_->SetRubberBand(QRect(*bandStart_, pixel));
  } else {
    ui_.SetStatusText(StatusPanel::Progress, MousePositionText(at.X, at.Y));
  }
  if (panLast_) {
    // The board area follows the mouse; the view offset takes the whole movement
    // when the button is released.
    const QPoint global = canvas_->mapToGlobal(pixel);
    const QPoint step = global - *panLast_;
    panLast_ = global;
    panMoved_ += step;
    canvas_->move(canvas_->pos() + step);
  }
}

void LayoutPage::MouseReleased(QPoint pixel, Qt::MouseButton button) {
  if (button != Qt::LeftButton) return;
  if (bandStart_) FinishSegment(pixel);
  if (panLast_) FinishPan();
}

void LayoutPage::FinishSegment(QPoint pixel) {
  const QPoint start = *bandStart_;
  bandStart_.reset();
  canvas_->ClearRubberBand();
  const std::optional<Segment> segment =
      SegmentFromRubberBand(start.x(), start.y(), pixel.x(), pixel.y(), project_, view_.Scale);
  if (!segment) return;  // no size on the grid, or beyond the board
  Apply(new AddSegmentCommand(project_, *segment));
}

void LayoutPage::FinishPan() {
  panLast_.reset();
  canvas_->setCursor(Qt::ArrowCursor);
  offsetX_ += panMoved_.x();
  offsetY_ += panMoved_.y();
  panMoved_ = {};
  RecomputeView();
  RedrawLayout();
}

void LayoutPage::SelectAt(QPoint pixel, bool extend) {
  const BoardPoint at = PixelToBoard(pixel.x(), pixel.y(), view_.Scale, project_.PcbLy);
  // A ground point is a small circle: a few pixels around it count as a hit.
  const std::optional<SelectedItem> item = ItemAt(project_, at.X, at.Y, 4 / view_.Scale);
  if (item) {
    std::vector<SelectedItem> selection = extend ? selection_ : std::vector<SelectedItem>{};
    // Ctrl+click adds an item, or takes it away when it is already selected.
    const auto found = std::find(selection.begin(), selection.end(), *item);
    if (found != selection.end()) selection.erase(found);
    else selection.push_back(*item);
    SetSelection(std::move(selection));
    return;
  }
  if (!extend) SetSelection({});
  panLast_ = canvas_->mapToGlobal(pixel);
  panMoved_ = {};
  canvas_->setCursor(CursorFor(EditorCursor::HandGrab));
}

void LayoutPage::EditAt(QPoint pixel) {
  const BoardPoint at = PixelToBoard(pixel.x(), pixel.y(), view_.Scale, project_.PcbLy);
  // Overlapping items are edited one after the other.
  const std::vector<std::size_t> sources = SourcesContaining(project_.VoltageSources, at.X, at.Y);
  for (std::size_t k : sources) {
    double re = project_.VoltageSources[k].ReV, im = project_.VoltageSources[k].ImV;
    if (sourceDialog_->Edit(static_cast<int>(k + 1), re, im) &&
        (re != project_.VoltageSources[k].ReV || im != project_.VoltageSources[k].ImV))
      Apply(new EditVoltageSourceCommand(project_, k, re, im));
    RedrawLayout();
  }
  const std::vector<std::size_t> loads = ImpedancesContaining(project_.Impedances, at.X, at.Y);
  for (std::size_t k : loads) {
    double r = project_.Impedances[k].R, lc = project_.Impedances[k].LC;
    if (impedanceDialog_->Edit(static_cast<int>(k + 1), r, lc) &&
        (r != project_.Impedances[k].R || lc != project_.Impedances[k].LC))
      Apply(new EditImpedanceCommand(project_, k, r, lc));
    RedrawLayout();
  }
  if (!sources.empty() || !loads.empty()) return;

  const std::vector<std::size_t> segments = SegmentsContaining(project_.Segments, at.X, at.Y);
  for (std::size_t k : segments) {
    if (k >= project_.Segments.size()) break;
    // Markers on the segment move with it; ask before an edit drops any whose
    // element the new division no longer has.
    const auto confirm = [this, k](const Segment& updated) {
      const SegmentChangePlan plan = PlanSegmentChange(project_, k, updated);
      return ConfirmMarkerLoss(SegmentEditLossQuestion(k + 1, plan.Lost), plan.Lost, ui_);
    };
    const std::optional<Segment> edited = segmentDialog_->Edit(
        static_cast<int>(k + 1), project_.Segments[k], project_.PcbLx, project_.PcbLy, confirm);
    // OK on unchanged values is no edit: nothing to undo, nothing unsaved.
    if (edited && !SameSegment(*edited, project_.Segments[k]))
      Apply(new EditSegmentCommand(project_, k, *edited));
    RedrawLayout();
  }
}

void LayoutPage::PlaceOnCurrentElement(QPoint pixel, bool source) {
  const bool jx = showJx_->isChecked(), jy = showJy_->isChecked();
  if (jx == jy) {
    ui_.ShowMessage(ChooseJxOrJy);
    return;
  }
  const BoardPoint at = PixelToBoard(pixel.x(), pixel.y(), view_.Scale, project_.PcbLy);
  const std::vector<std::size_t> segments = SegmentsContaining(project_.Segments, at.X, at.Y);
  if (segments.empty()) return;
  const std::optional<CurrentElementHit> element =
      FindCurrentElementAt(project_.Segments, segments.front(), at.X, at.Y, jx);
  if (!element) return;
  if (source) {
    double re = 0, im = 0;
    if (!sourceDialog_->Define(re, im)) return;
    Apply(new AddVoltageSourceCommand(project_, MakeVoltageSource(*element, re, im)));
  } else {
    double r = 0, lc = 0;
    if (!impedanceDialog_->Define(r, lc)) return;
    ImpedanceElement load = MakeImpedance(*element, r, 0, false);
    load.LC = lc;
    Apply(new AddImpedanceCommand(project_, load));
  }
}

void LayoutPage::PlaceGroundPoint(QPoint pixel) {
  if (!showCharge_->isChecked() || showJx_->isChecked() || showJy_->isChecked()) {
    ui_.ShowMessage(ChooseChargesOnly);
    return;
  }
  const BoardPoint at = PixelToBoard(pixel.x(), pixel.y(), view_.Scale, project_.PcbLy);
  const std::vector<std::size_t> segments = SegmentsContaining(project_.Segments, at.X, at.Y);
  if (segments.empty()) return;
  const std::optional<ChargeCellHit> cell =
      FindChargeCellAt(project_.Segments, segments.front(), at.X, at.Y);
  if (!cell) return;
  const std::optional<std::int32_t> edge = groundDialog_->ChooseEdge();
  if (!edge) return;
  Apply(new AddGroundPointCommand(project_, MakeGroundPoint(*cell, *edge)));
}

}  // namespace lumetra::gui
