// "Near-field parameters": the near field of every frequency of the current files
// on a grid of points (mm) around the board.
#pragma once

#include <optional>

#include "app/field_compute_dialog.h"
#include "fields/near_field.h"

namespace lumetra::gui {

class NearFieldDialog : public FieldComputeDialog {
  Q_OBJECT
public:
  // epsEff gives the permittivity of the last computation of this session, if any.
  NearFieldDialog(UserInterface& ui, std::function<std::filesystem::path()> projectFile,
                  std::function<std::optional<double>()> epsEff, QWidget* parent);
  NearFieldRunOutcome LastOutcome() const { return outcome_; }

protected:
  void Run(UserInterface& ui) override;

private:
  std::function<std::optional<double>()> epsEff_;
  QLineEdit* fields_[9];
  NearFieldRunOutcome outcome_ = NearFieldRunOutcome::Refused;
};

}  // namespace lumetra::gui
