// "Radiation pattern cut": the kind of cut (phi or theta constant) and its angle,
// chosen from the angles of the first far-field block. The radio buttons keep the
// kind between uses; the page reads it at every draw.
#pragma once

#include <QDialog>
#include <optional>

#include "plots/pattern_data.h"

class QListWidget;
class QRadioButton;

namespace lumetra::gui {

class CutDialog : public QDialog {
  Q_OBJECT
public:
  explicit CutDialog(QWidget* parent);

  // Refills both lists (texts in the default number form).
  void SetAngles(const CutAngleLists& angles);
  CutKind Kind() const;
  // The selected entry of the visible list, if any.
  std::optional<double> SelectedAngle() const;

private:
  void ShowMatchingList();

  QRadioButton *phiCut_, *thetaCut_;
  QListWidget *thetaList_, *phiList_;
  CutAngleLists angles_;
};

}  // namespace lumetra::gui
