// The "Frequency" group of the sweep study windows (Network parameters, Immunity):
// a single frequency, or a sweep from start to stop by a step (a factor when
// logarithmic), or a listed sweep typed in the "Frequency list" window that
// stands beside the owner while it is chosen; as the Computation page has them.
#pragma once

#include <QGroupBox>

#include "model/user_interface.h"
#include "studies/computation_settings.h"

class QCheckBox;
class QLineEdit;
class QRadioButton;

namespace lumetra::gui {

class FrequencyListWindow;

class FrequencyPanel : public QGroupBox {
  Q_OBJECT
public:
  FrequencyPanel(UserInterface& ui, QWidget* parent);

  // The frequency fields of settings, shown; and the shown ones written back.
  void Apply(const ComputationSettings& settings);
  void WriteInto(ComputationSettings& settings) const;
  // Locked while a run uses the frequencies.
  void SetLocked(bool locked);
  // Enables the fields of the chosen mode; shows the list window while a listed
  // sweep is chosen and the owner is on screen.
  void UpdateMode();
  void HideList();

private:
  bool locked_ = false;
  QRadioButton *single_, *sweep_;
  QLineEdit *frequency_, *start_, *stop_, *step_;
  QCheckBox *log_, *list_;
  FrequencyListWindow* frequencyList_;
};

}  // namespace lumetra::gui
