// "Delete item": one numbered item, or all items, of a chosen kind.
#pragma once

#include <optional>

#include "editor/checked_dialog.h"
#include "model/layout_editing.h"

class QCheckBox;
class QRadioButton;

namespace lumetra::gui {

struct DeleteChoice {
  ItemKind Kind = ItemKind::Segment;
  std::optional<std::size_t> Position;  // 0-based; empty: all items of the kind
};

class DeleteDialog : public CheckedDialog {
  Q_OBJECT
public:
  DeleteDialog(UserInterface& ui, QWidget* parent);

  // Opens with an empty number, "Segment" chosen and "all" unchecked.
  std::optional<DeleteChoice> Ask(const Project& project);

protected:
  bool Validate(FieldChecks& checks) override;

private:
  ItemKind ChosenKind() const;

  QLineEdit* number_;
  QRadioButton *segment_, *source_, *impedance_, *ground_;
  QCheckBox* all_;
  const Project* project_ = nullptr;
  std::int32_t chosen_ = 0;
};

}  // namespace lumetra::gui
