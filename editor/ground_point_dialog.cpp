#include "editor/ground_point_dialog.h"

#include <QFormLayout>
#include <QGroupBox>
#include <QRadioButton>
#include <QVBoxLayout>

#include "editor/help_link.h"
#include "model/project.h"

namespace lumetra::gui {

GroundPointDialog::GroundPointDialog(UserInterface& ui, QWidget* parent)
    : CheckedDialog("Ground point placement", help_topic::GroundPoint, ui, parent) {
  auto* group = new QGroupBox("Placement in charge element", this);
  auto* layout = new QVBoxLayout(group);
  const char* captions[] = {"Left edge", "Right edge", "Bottom edge", "Top edge"};
  const char* names[] = {"LeftEdge", "RightEdge", "BottomEdge", "TopEdge"};
  for (int k = 0; k < 4; ++k) {
    edges_[k] = new QRadioButton(captions[k], group);
    edges_[k]->setObjectName(names[k]);
    layout->addWidget(edges_[k]);
  }
  Form()->addRow(group);
}

std::optional<std::int32_t> GroundPointDialog::ChooseEdge() {
  edges_[0]->setChecked(true);
  if (exec() != QDialog::Accepted) return std::nullopt;
  for (int k = 0; k < 4; ++k)
    if (edges_[k]->isChecked()) return EdgeLeft + k;
  return EdgeLeft;
}

}  // namespace lumetra::gui
