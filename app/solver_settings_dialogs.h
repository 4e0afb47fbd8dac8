// The solver dialogs of the Options menu: the spectral-domain integration
// parameters of the rigorous solution, the effective-permittivity model and the
// solver's accuracy.
#pragma once

#include <QDialog>

#include <cstdint>

#include "model/user_interface.h"
#include "solver/solver_settings.h"

class QLabel;
class QLineEdit;
class QRadioButton;
class QSpinBox;

namespace lumetra::gui {

// "Spectral domain integration parameters".
class IntegrationDialog : public QDialog {
  Q_OBJECT
public:
  IntegrationDialog(UserInterface& ui, QWidget* parent);
  // Shows the settings; on OK stores the checked values. True on OK.
  bool Edit(IntegrationSettings& settings);
  void accept() override;

private:
  UserInterface& ui_;
  QLineEdit *points_, *error_;
  IntegrationSettings accepted_;
};

// "Options for effective permittivity". The dialog's controls hold the setting, so
// Cancel keeps what is chosen as well; both buttons check the interval first.
class EffectivePermittivityDialog : public QDialog {
  Q_OBJECT
public:
  EffectivePermittivityDialog(UserInterface& ui, QWidget* parent);
  // Shows the dialog; the settings are what its controls hold when it closes.
  void Edit(EffectivePermittivitySettings& settings);
  void done(int result) override;

private:
  UserInterface& ui_;
  QRadioButton *simple_, *approximate_;
  QLineEdit* every_;
  EffectivePermittivitySettings current_;
};

// "Solver accuracy": Standard (the established model) or High.
class AccuracyDialog : public QDialog {
  Q_OBJECT
public:
  explicit AccuracyDialog(QWidget* parent);
  // Shows the choice; on OK stores it. True on OK.
  bool Edit(SolverAccuracy& accuracy);

private:
  QRadioButton *standard_, *high_;
};

// "Maximum number of unknowns": the limit of one direction and of a coupled system,
// from the default up, with the memory a matrix of that size takes beside what the
// machine has available now.
class MaxUnknownsDialog : public QDialog {
  Q_OBJECT
public:
  explicit MaxUnknownsDialog(QWidget* parent);
  // Shows the limit; on OK stores the new one. True on OK.
  bool Edit(std::int32_t& limit);

private:
  void ShowMemory();
  QSpinBox* limit_;
  QLabel* memory_;
};

}  // namespace lumetra::gui
