// The "Trace geometry" page: the button panel of the layout editor and the board
// area, with the view (fit, zoom, pan) and every editing mode.
#pragma once

#include <QPoint>
#include <QWidget>
#include <array>
#include <functional>
#include <optional>

#include "editor/layout_selection.h"
#include "editor/layout_style.h"
#include "editor/view_settings.h"
#include "model/layout_view_geometry.h"
#include "model/project.h"
#include "model/user_interface.h"

class QMenu;
class QPrinter;
class QToolButton;
class QUndoCommand;
class QUndoStack;

namespace lumetra::gui {

class ConnectionDialog;
class DeleteDialog;
class GridDialog;
class GroundPointDialog;
class ImpedanceDialog;
class LayoutCanvas;
class SegmentDialog;
class VoltageSourceDialog;

class LayoutPage : public QWidget {
  Q_OBJECT
public:
  LayoutPage(Project& project, UserInterface& ui, ViewSettings& settings, QWidget* parent);
  ~LayoutPage() override;

  // New and Open: zoom 1, no pan, fitted again; Connect and Delete follow the layout.
  void ResetView();
  // Fits the board into the page with the current zoom and pan.
  void RecomputeView();
  // Draws the whole layout again.
  void RedrawLayout();
  // Draws the connecting elements over the layout (when connected).
  void PlotConnections();
  // Enables Connect and Delete when there is something to connect or delete.
  void UpdateButtons();

  void Move(int dx, int dy);
  void Zoom(bool in);
  // Zooms by `steps` zoom factors (negative: out) about a pixel of the page, which
  // keeps showing the same board point.
  void ZoomAt(QPoint pagePixel, int steps);
  // Arrow keys move, plus and minus zoom, Esc leaves the current mode, Del deletes
  // the selection; true when the key was one of them.
  bool HandleKey(int key);

  // Every change of the project made here, for Undo and Redo. The project is saved
  // exactly when the stack is clean: New, Open and Save mark the clean state.
  QUndoStack* UndoStack() const { return undoStack_; }
  // Applies an edit through the undo stack.
  void Apply(QUndoCommand* command);

  // The items picked with the mouse, drawn highlighted.
  const std::vector<SelectedItem>& Selection() const { return selection_; }
  void SetSelection(std::vector<SelectedItem> selection);
  // Deletes the selection, asking first when it takes markers along that are not
  // selected themselves.
  void DeleteSelection();
  // Esc: drops a segment being drawn or a drag, else leaves the placing mode, else
  // clears the selection.
  void LeaveMode();

  // The status text of the editing mode whose button is down, or empty.
  QString ModeStatusText() const;

  const ViewGeometry& View() const { return view_; }
  LayoutCanvas* Canvas() const { return canvas_; }
  LayoutStyle& Style() { return style_; }
  QMenu* PopupMenu() const { return popup_; }

  // The printer of "Print" and the question before printing (the platform's
  // print dialog unless replaced, e.g. by a test).
  void SetPrinter(QPrinter* printer) { printer_ = printer; }
  void SetPrintConfirmation(std::function<bool(QPrinter&)> confirm) {
    confirmPrint_ = std::move(confirm);
  }
  // Prints the layout and the project listing after the print question.
  void Print();

protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

private:
  enum class Mode { Select, AddSegment, VoltageSource, Impedance, GroundPoint };

  QToolButton* AddButton(const char* name, const QString& caption, const QString& hint,
                         bool checkable);
  void BuildButtons();
  void BuildPopupMenu();
  Mode CurrentMode() const;
  void ModeButtonToggled(QToolButton* button, bool down);
  void SetDisplay(bool charges, bool jx, bool jy);

  void MousePressed(QPoint pixel, Qt::MouseButton button, Qt::KeyboardModifiers modifiers);
  void MouseDoubleClicked(QPoint pixel, Qt::MouseButton button);
  void MouseMoved(QPoint pixel);
  void MouseReleased(QPoint pixel, Qt::MouseButton button);
  void WheelTurned(QPoint pagePixel, int angle);
  void SelectAt(QPoint pixel, bool extend);
  void EditAt(QPoint pixel);
  void ProjectChanged();
  void ShowSelection();
  void PlaceOnCurrentElement(QPoint pixel, bool source);
  void PlaceGroundPoint(QPoint pixel);
  void FinishSegment(QPoint pixel);
  void FinishPan();
  void ShowPopup(QPoint globalPosition);
  void ChooseColour(QColor& colour);
  void ChooseFont();

  void ConnectClicked();
  void DeleteClicked();
  void GridClicked();

  Project& project_;
  UserInterface& ui_;
  ViewSettings& settings_;
  LayoutStyle style_;

  QUndoStack* undoStack_;
  std::vector<SelectedItem> selection_;
  // The list sizes when the selection was made: an edit that changes them may have
  // moved the selected items.
  std::array<std::size_t, 4> selectionCounts_{};
  int wheelAngle_ = 0;  // wheel turn not yet worth a whole zoom step

  double zoom_ = 1.0;
  int offsetX_ = 0, offsetY_ = 0;
  ViewGeometry view_;

  QWidget* panel_;
  QWidget* boardPage_;
  LayoutCanvas* canvas_;
  QMenu* popup_;
  QToolButton *addSegment_, *voltGen_, *loadImp_, *gpConnect_;
  QToolButton *showCharge_, *showJx_, *showJy_, *segmentNumber_;
  QToolButton *connect_, *delete_, *setGrid_, *plotConnections_;

  // A segment being drawn: snapped start and last mouse position, board pixels.
  std::optional<QPoint> bandStart_;
  QPoint bandLast_;
  // A pan drag: last global mouse position and the movement so far.
  std::optional<QPoint> panLast_;
  QPoint panMoved_;

  SegmentDialog* segmentDialog_;
  VoltageSourceDialog* sourceDialog_;
  ImpedanceDialog* impedanceDialog_;
  GroundPointDialog* groundDialog_;
  DeleteDialog* deleteDialog_;
  GridDialog* gridDialog_;
  ConnectionDialog* connectionDialog_;

  QPrinter* printer_ = nullptr;
  std::function<bool(QPrinter&)> confirmPrint_;
};

}  // namespace lumetra::gui
