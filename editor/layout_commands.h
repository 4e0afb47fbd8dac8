// The layout editor's changes as undoable commands, one class per kind of edit.
//
// Each command keeps a before and an after copy of exactly what its edit touches:
// one record for a value edit, the marker lists (plus the segment) for a segment
// edit, all four lists for a deletion. Copies are cheap next to the layout itself
// and make undo exact: no renumbering is ever run backwards. The first redo runs
// the model's own edit function, so the bookkeeping of element numbers lives in
// one place; later redos put the after copy back.
//
// Connected: a command that changes the segments clears it in both directions. The
// connecting elements on disk were made for some layout; after an undo the layout
// may match them again, but a connection run in between may have overwritten them,
// so only a new connection step may set the flag.
//
// Saved is not restored here: the page ties it to the undo stack's clean state, so
// the project is saved exactly when the stack stands where it stood at the last save.
#pragma once

#include <QUndoCommand>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

#include "editor/layout_selection.h"
#include "model/layout_editing.h"
#include "model/project.h"

namespace lumetra::gui {

class AddSegmentCommand : public QUndoCommand {
public:
  AddSegmentCommand(Project& project, const Segment& segment);
  void redo() override;
  void undo() override;

private:
  Project& project_;
  Segment segment_;
};

// The segment dialog's OK: the segment and the markers it carries, renumbered.
class EditSegmentCommand : public QUndoCommand {
public:
  EditSegmentCommand(Project& project, std::size_t index, const Segment& updated);
  void redo() override;
  void undo() override;

private:
  struct Snapshot {
    Segment Edited;
    std::vector<VoltageSource> VoltageSources;
    std::vector<ImpedanceElement> Impedances;
    std::vector<GroundPoint> GroundPoints;
  };
  Snapshot Take() const;
  void Put(const Snapshot& snapshot);

  Project& project_;
  std::size_t index_;
  Segment updated_;
  Snapshot before_;
  std::optional<Snapshot> after_;
};

// Deletes items in the order of the steps (a selection deletes several at once).
class DeleteItemsCommand : public QUndoCommand {
public:
  DeleteItemsCommand(Project& project, std::vector<DeletionStep> steps);
  void redo() override;
  void undo() override;

private:
  struct Lists {
    std::vector<Segment> Segments;
    std::vector<VoltageSource> VoltageSources;
    std::vector<ImpedanceElement> Impedances;
    std::vector<GroundPoint> GroundPoints;
  };
  Lists Take() const;
  void Put(const Lists& lists);

  Project& project_;
  std::vector<DeletionStep> steps_;
  Lists before_;
  std::optional<Lists> after_;
};

class AddVoltageSourceCommand : public QUndoCommand {
public:
  AddVoltageSourceCommand(Project& project, const VoltageSource& source);
  void redo() override;
  void undo() override;

private:
  Project& project_;
  VoltageSource source_;
};

class EditVoltageSourceCommand : public QUndoCommand {
public:
  EditVoltageSourceCommand(Project& project, std::size_t position, double re, double im);
  void redo() override;
  void undo() override;

private:
  Project& project_;
  std::size_t position_;
  double oldRe_, oldIm_, newRe_, newIm_;
};

class AddImpedanceCommand : public QUndoCommand {
public:
  AddImpedanceCommand(Project& project, const ImpedanceElement& load);
  void redo() override;
  void undo() override;

private:
  Project& project_;
  ImpedanceElement load_;
};

class EditImpedanceCommand : public QUndoCommand {
public:
  EditImpedanceCommand(Project& project, std::size_t position, double r, double lc);
  void redo() override;
  void undo() override;

private:
  Project& project_;
  std::size_t position_;
  double oldR_, oldLC_, newR_, newLC_;
};

class AddGroundPointCommand : public QUndoCommand {
public:
  AddGroundPointCommand(Project& project, const GroundPoint& point);
  void redo() override;
  void undo() override;

private:
  Project& project_;
  GroundPoint point_;
};

// The grid dialog's values.
struct GridSettings {
  double GridSize = 2.0;
  std::int32_t ChargesPerGridX = 1;
  std::int32_t ChargesPerGridY = 1;
  bool ShowGridPoints = true;
  friend bool operator==(const GridSettings&, const GridSettings&) = default;
};

GridSettings GridOf(const Project& project);

class GridSettingsCommand : public QUndoCommand {
public:
  GridSettingsCommand(Project& project, const GridSettings& settings);
  void redo() override;
  void undo() override;

private:
  Project& project_;
  GridSettings before_, after_;
};

// The environment stored with the project (ground plane, its distance, the
// resistivity, the dielectric constant), as edited on the Computation page.
// Typing in one field is one step: consecutive changes of the same text field merge.
// show puts the environment back onto the page after an undo or a redo.
class EnvironmentCommand : public QUndoCommand {
public:
  EnvironmentCommand(Project& project, const Environment& after, std::function<void()> show);
  void redo() override;
  void undo() override;
  int id() const override { return 4711; }
  bool mergeWith(const QUndoCommand* other) override;

private:
  Project& project_;
  Environment before_, after_;
  std::function<void()> show_;
  int field_;  // the one text field changed, or 0
  bool first_ = true;
};

}  // namespace lumetra::gui
