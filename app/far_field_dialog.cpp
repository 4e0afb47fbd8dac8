#include "app/far_field_dialog.h"

#include <QLineEdit>

namespace lumetra::gui {

FarFieldDialog::FarFieldDialog(UserInterface& ui,
                               std::function<std::filesystem::path()> projectFile,
                               QWidget* parent)
    : FieldComputeDialog(ui, std::move(projectFile), FarFieldDialogCaption, 0, parent) {
  setObjectName("CompFF");
  const FarFieldAngleTexts defaults;
  const struct {
    const char* name;
    const char* caption;
    const std::string& text;
  } entries[] = {{"ThetaStart", "Theta start", defaults.ThetaStart},
                 {"ThetaStop", "Theta stop", defaults.ThetaStop},
                 {"ThetaStep", "Theta step", defaults.ThetaStep},
                 {"PhiStart", "Phi start", defaults.PhiStart},
                 {"PhiStop", "Phi stop", defaults.PhiStop},
                 {"PhiStep", "Phi step", defaults.PhiStep}};
  for (int i = 0; i < 6; ++i) {
    fields_[i] = AddField(entries[i].name, entries[i].caption, "deg.", i % 3, i / 3, 6);
    fields_[i]->setText(QString::fromStdString(entries[i].text));
  }
}

void FarFieldDialog::Run(UserInterface& ui) {
  FarFieldAngleTexts texts;
  std::string* targets[] = {&texts.ThetaStart, &texts.ThetaStop, &texts.ThetaStep,
                            &texts.PhiStart,   &texts.PhiStop,   &texts.PhiStep};
  for (int i = 0; i < 6; ++i) *targets[i] = fields_[i]->text().toStdString();
  outcome_ = FarFieldRunOutcome::Refused;
  const FarFieldRunResult result = RecomputeFarField(
      ProjectFile(), texts, ui, [this](std::string_view caption) { SetCaption(caption); });
  outcome_ = result.Outcome;
  if (result.FocusField) {
    QLineEdit* field = fields_[static_cast<int>(*result.FocusField)];
    field->setFocus();
    field->selectAll();
  }
  if (result.Outcome == FarFieldRunOutcome::Completed) accept();
}

}  // namespace lumetra::gui
