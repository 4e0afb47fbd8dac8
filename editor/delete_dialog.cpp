#include "editor/delete_dialog.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QVBoxLayout>

#include "editor/help_link.h"

namespace lumetra::gui {

DeleteDialog::DeleteDialog(UserInterface& ui, QWidget* parent)
    : CheckedDialog("Delete item", help_topic::DeleteItem, ui, parent) {
  number_ = AddField("DelNo", "Item to delete", {}, 5);
  auto* group = new QGroupBox("Select item type", this);
  auto* layout = new QVBoxLayout(group);
  const auto radio = [&](const char* name, const char* caption) {
    auto* button = new QRadioButton(caption, group);
    button->setObjectName(name);
    layout->addWidget(button);
    return button;
  };
  segment_ = radio("DelSeg", "Segment");
  source_ = radio("DelGen", "Voltage source");
  impedance_ = radio("DelImp", "Impedance element");
  ground_ = radio("DelGP", "Ground connection");
  Form()->addRow(group);
  all_ = new QCheckBox("Delete all items of sel. type", this);
  all_->setObjectName("DelAll");
  Form()->addRow(all_);
}

ItemKind DeleteDialog::ChosenKind() const {
  if (source_->isChecked()) return ItemKind::VoltageSource;
  if (impedance_->isChecked()) return ItemKind::Impedance;
  if (ground_->isChecked()) return ItemKind::GroundPoint;
  return ItemKind::Segment;
}

std::optional<DeleteChoice> DeleteDialog::Ask(const Project& project) {
  project_ = &project;
  number_->clear();
  segment_->setChecked(true);
  all_->setChecked(false);
  number_->setFocus();
  const bool accepted = exec() == QDialog::Accepted;
  project_ = nullptr;
  if (!accepted) return std::nullopt;
  DeleteChoice choice;
  choice.Kind = ChosenKind();
  if (!all_->isChecked()) choice.Position = static_cast<std::size_t>(chosen_ - 1);
  return choice;
}

bool DeleteDialog::Validate(FieldChecks& checks) {
  if (all_->isChecked() || !project_) return true;
  static const char* const names[] = {"Segment number", "Voltage source number",
                                      "Impedance element number", "Ground connection number"};
  const ItemKind kind = ChosenKind();
  const double count = static_cast<double>(ItemCount(*project_, kind));
  checks.Integer(number_, names[static_cast<int>(kind)], 0, count + 1, &chosen_);
  return true;
}

}  // namespace lumetra::gui
