#include "editor/layout_commands.h"

namespace lumetra::gui {

namespace {

// Undoing an edit changes the project as much as making it did.
void Changed(Project& project) { project.Saved = false; }

QString Numbered(const char* what, std::size_t position) {
  return QString("%1 %2").arg(what).arg(position + 1);
}

}  // namespace

AddSegmentCommand::AddSegmentCommand(Project& project, const Segment& segment)
    : QUndoCommand("Add segment"), project_(project), segment_(segment) {}

void AddSegmentCommand::redo() { AddSegment(project_, segment_); }

void AddSegmentCommand::undo() {
  // Nothing can have been attached to the new segment: every later edit that
  // could is undone before this one.
  if (!project_.Segments.empty()) project_.Segments.pop_back();
  project_.Connected = false;
  Changed(project_);
}

EditSegmentCommand::EditSegmentCommand(Project& project, std::size_t index,
                                       const Segment& updated)
    : QUndoCommand(Numbered("Edit segment", index)),
      project_(project),
      index_(index),
      updated_(updated),
      before_(Take()) {}

EditSegmentCommand::Snapshot EditSegmentCommand::Take() const {
  return Snapshot{index_ < project_.Segments.size() ? project_.Segments[index_] : Segment{},
                  project_.VoltageSources, project_.Impedances, project_.GroundPoints};
}

void EditSegmentCommand::Put(const Snapshot& snapshot) {
  if (index_ < project_.Segments.size()) project_.Segments[index_] = snapshot.Edited;
  project_.VoltageSources = snapshot.VoltageSources;
  project_.Impedances = snapshot.Impedances;
  project_.GroundPoints = snapshot.GroundPoints;
  project_.Connected = false;
  Changed(project_);
}

void EditSegmentCommand::redo() {
  if (after_) {
    Put(*after_);
    return;
  }
  ReplaceSegment(project_, index_, updated_);
  after_ = Take();
}

void EditSegmentCommand::undo() { Put(before_); }

namespace {

QString DeletionText(const std::vector<DeletionStep>& steps) {
  if (steps.size() != 1) return QString("Delete %1 items").arg(steps.size());
  const DeletionStep& s = steps.front();
  const char* what = "item";
  switch (s.Kind) {
    case ItemKind::Segment: what = s.Position ? "segment" : "segments"; break;
    case ItemKind::VoltageSource: what = s.Position ? "voltage source" : "voltage sources"; break;
    case ItemKind::Impedance: what = s.Position ? "impedance element" : "impedance elements"; break;
    case ItemKind::GroundPoint:
      what = s.Position ? "ground connection" : "ground connections";
      break;
  }
  return s.Position ? QString("Delete %1 %2").arg(what).arg(*s.Position + 1)
                    : QString("Delete all %1").arg(what);
}

}  // namespace

DeleteItemsCommand::DeleteItemsCommand(Project& project, std::vector<DeletionStep> steps)
    : QUndoCommand(DeletionText(steps)),
      project_(project),
      steps_(std::move(steps)),
      before_(Take()) {}

DeleteItemsCommand::Lists DeleteItemsCommand::Take() const {
  return Lists{project_.Segments, project_.VoltageSources, project_.Impedances,
               project_.GroundPoints};
}

void DeleteItemsCommand::Put(const Lists& lists) {
  project_.Segments = lists.Segments;
  project_.VoltageSources = lists.VoltageSources;
  project_.Impedances = lists.Impedances;
  project_.GroundPoints = lists.GroundPoints;
  project_.Connected = false;
  Changed(project_);
}

void DeleteItemsCommand::redo() {
  if (after_) {
    Put(*after_);
    return;
  }
  for (const DeletionStep& step : steps_) DeleteItems(project_, step.Kind, step.Position);
  after_ = Take();
}

void DeleteItemsCommand::undo() { Put(before_); }

AddVoltageSourceCommand::AddVoltageSourceCommand(Project& project, const VoltageSource& source)
    : QUndoCommand("Add voltage source"), project_(project), source_(source) {}

void AddVoltageSourceCommand::redo() { AddVoltageSource(project_, source_); }

void AddVoltageSourceCommand::undo() {
  if (!project_.VoltageSources.empty()) project_.VoltageSources.pop_back();
  Changed(project_);
}

EditVoltageSourceCommand::EditVoltageSourceCommand(Project& project, std::size_t position,
                                                   double re, double im)
    : QUndoCommand(Numbered("Edit voltage source", position)),
      project_(project),
      position_(position),
      oldRe_(project.VoltageSources.at(position).ReV),
      oldIm_(project.VoltageSources.at(position).ImV),
      newRe_(re),
      newIm_(im) {}

void EditVoltageSourceCommand::redo() { SetVoltage(project_, position_, newRe_, newIm_); }
void EditVoltageSourceCommand::undo() { SetVoltage(project_, position_, oldRe_, oldIm_); }

AddImpedanceCommand::AddImpedanceCommand(Project& project, const ImpedanceElement& load)
    : QUndoCommand("Add impedance element"), project_(project), load_(load) {}

void AddImpedanceCommand::redo() { AddImpedance(project_, load_); }

void AddImpedanceCommand::undo() {
  if (!project_.Impedances.empty()) project_.Impedances.pop_back();
  Changed(project_);
}

EditImpedanceCommand::EditImpedanceCommand(Project& project, std::size_t position, double r,
                                           double lc)
    : QUndoCommand(Numbered("Edit impedance element", position)),
      project_(project),
      position_(position),
      oldR_(project.Impedances.at(position).R),
      oldLC_(project.Impedances.at(position).LC),
      newR_(r),
      newLC_(lc) {}

void EditImpedanceCommand::redo() { SetImpedance(project_, position_, newR_, newLC_); }
void EditImpedanceCommand::undo() { SetImpedance(project_, position_, oldR_, oldLC_); }

AddGroundPointCommand::AddGroundPointCommand(Project& project, const GroundPoint& point)
    : QUndoCommand("Add ground point"), project_(project), point_(point) {}

void AddGroundPointCommand::redo() { AddGroundPoint(project_, point_); }

void AddGroundPointCommand::undo() {
  if (!project_.GroundPoints.empty()) project_.GroundPoints.pop_back();
  Changed(project_);
}

GridSettings GridOf(const Project& project) {
  return GridSettings{project.GridSize, project.ChargesPerGridX, project.ChargesPerGridY,
                      project.ShowGridPoints};
}

GridSettingsCommand::GridSettingsCommand(Project& project, const GridSettings& settings)
    : QUndoCommand("Grid settings"), project_(project), before_(GridOf(project)), after_(settings) {}

void GridSettingsCommand::redo() {
  SetGrid(project_, after_.GridSize, after_.ChargesPerGridX, after_.ChargesPerGridY,
          after_.ShowGridPoints);
}

void GridSettingsCommand::undo() {
  SetGrid(project_, before_.GridSize, before_.ChargesPerGridX, before_.ChargesPerGridY,
          before_.ShowGridPoints);
}

namespace {

// Which single text field differs between two environments: 1 the distance, 2
// the resistivity, 3 the dielectric constant; 0 when a switch or several differ.
int ChangedTextField(const Environment& a, const Environment& b) {
  if (a.GroundPlane != b.GroundPlane || a.FiniteConductivity != b.FiniteConductivity) return 0;
  const int changes = (a.GPHeight != b.GPHeight) + (a.Conductivity != b.Conductivity) +
                      (a.DielConst != b.DielConst);
  if (changes != 1) return 0;
  return a.GPHeight != b.GPHeight ? 1 : a.Conductivity != b.Conductivity ? 2 : 3;
}

}  // namespace

EnvironmentCommand::EnvironmentCommand(Project& project, const Environment& after,
                                       std::function<void()> show)
    : project_(project),
      before_(project.Env),
      after_(after),
      show_(std::move(show)),
      field_(ChangedTextField(project.Env, after)) {
  setText("Change environment");
}

void EnvironmentCommand::redo() {
  project_.Env = after_;
  // The first time the page already shows the change: it was typed there.
  if (!first_ && show_) show_();
  first_ = false;
}

void EnvironmentCommand::undo() {
  project_.Env = before_;
  if (show_) show_();
}

bool EnvironmentCommand::mergeWith(const QUndoCommand* other) {
  const auto* next = dynamic_cast<const EnvironmentCommand*>(other);
  if (!next || field_ == 0 || next->field_ != field_) return false;
  after_ = next->after_;
  return true;
}

}  // namespace lumetra::gui
