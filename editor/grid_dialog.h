// "Set grid and element sizes": the snap grid and the charge density of segments
// drawn from now on.
#pragma once

#include <optional>

#include "editor/checked_dialog.h"
#include "editor/layout_commands.h"
#include "model/project.h"

class QCheckBox;

namespace lumetra::gui {

class GridDialog : public CheckedDialog {
  Q_OBJECT
public:
  GridDialog(UserInterface& ui, QWidget* parent);

  // Shows the project's values; the checked new ones on OK.
  std::optional<GridSettings> Ask(const Project& project);

protected:
  bool Validate(FieldChecks& checks) override;

private:
  QLineEdit *grid_, *chx_, *chy_, *maxNo_;
  QCheckBox* showGrid_;
  double gridValue_ = 0;
  std::int32_t chxValue_ = 0, chyValue_ = 0;
};

}  // namespace lumetra::gui
