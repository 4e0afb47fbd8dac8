// "Far-field parameters": recomputes the far field of every frequency of the
// current files over a new grid of directions.
#pragma once

#include "app/field_compute_dialog.h"
#include "fields/far_field_recompute.h"

namespace lumetra::gui {

class FarFieldDialog : public FieldComputeDialog {
  Q_OBJECT
public:
  FarFieldDialog(UserInterface& ui, std::function<std::filesystem::path()> projectFile,
                 QWidget* parent);
  // The outcome of the last "Compute".
  FarFieldRunOutcome LastOutcome() const { return outcome_; }

protected:
  void Run(UserInterface& ui) override;

private:
  QLineEdit* fields_[6];
  FarFieldRunOutcome outcome_ = FarFieldRunOutcome::Refused;
};

}  // namespace lumetra::gui
