#include "app/near_field_dialog.h"

#include <QLineEdit>

namespace lumetra::gui {

NearFieldDialog::NearFieldDialog(UserInterface& ui,
                                 std::function<std::filesystem::path()> projectFile,
                                 std::function<std::optional<double>()> epsEff, QWidget* parent)
    : FieldComputeDialog(ui, std::move(projectFile), NearFieldDialogCaption, 0, parent),
      epsEff_(std::move(epsEff)) {
  setObjectName("CompNF");
  const NearFieldGridTexts defaults;
  const std::string* texts[] = {&defaults.XStart, &defaults.XStop, &defaults.XStep,
                                &defaults.YStart, &defaults.YStop, &defaults.YStep,
                                &defaults.ZStart, &defaults.ZStop, &defaults.ZStep};
  const char* axes[] = {"X", "Y", "Z"};
  const char* parts[] = {"Start", "Stop", "Step"};
  const char* captions[] = {"start", "stop", "step"};
  for (int i = 0; i < 9; ++i) {
    const QString axis = axes[i / 3];
    const QString name = axis + parts[i % 3];
    fields_[i] = AddField(name.toUtf8().constData(), axis + " " + captions[i % 3], "mm", i % 3,
                          i / 3, 0);
    fields_[i]->setText(QString::fromStdString(*texts[i]));
  }
}

void NearFieldDialog::Run(UserInterface& ui) {
  NearFieldGridTexts texts;
  std::string* targets[] = {&texts.XStart, &texts.XStop, &texts.XStep,
                            &texts.YStart, &texts.YStop, &texts.YStep,
                            &texts.ZStart, &texts.ZStop, &texts.ZStep};
  for (int i = 0; i < 9; ++i) *targets[i] = fields_[i]->text().toStdString();
  outcome_ = NearFieldRunOutcome::Refused;
  const NearFieldRunResult result =
      RunNearField(ProjectFile(), texts, epsEff_ ? epsEff_() : std::nullopt, ui,
                   [this](std::string_view caption) { SetCaption(caption); });
  outcome_ = result.Outcome;
  if (result.FocusField) {
    QLineEdit* field = fields_[static_cast<int>(*result.FocusField)];
    field->setFocus();
    field->selectAll();
  }
  if (result.Outcome == NearFieldRunOutcome::Completed) accept();
}

}  // namespace lumetra::gui
