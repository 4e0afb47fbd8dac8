// What the "Far-field parameters" and "Near-field parameters" dialogs share: a
// grid of edit fields, the buttons "Compute", Cancel and Help, and the computing
// state, in which the caption shows the frequency, Cancel reads "Abort" and sets
// an abort flag of the dialog's own.
#pragma once

#include <QDialog>
#include <filesystem>
#include <functional>
#include <string_view>

#include "model/user_interface.h"

class QGridLayout;
class QLineEdit;
class QPushButton;

namespace lumetra::gui {

class FieldComputeDialog : public QDialog {
  Q_OBJECT
public:
  bool Computing() const { return computing_; }
  QPushButton* ComputeButton() const { return compute_; }
  QPushButton* CancelButton() const { return cancel_; }
  void reject() override;

protected:
  FieldComputeDialog(UserInterface& ui, std::function<std::filesystem::path()> projectFile,
                     const char* caption, int helpTopic, QWidget* parent);
  // A field in the grid: caption, edit (at most 6 characters when limited), unit.
  QLineEdit* AddField(const char* name, const QString& caption, const QString& unit, int row,
                      int column, int maxLength);
  // The work of "Compute", run in the computing state; messages go to ui, whose
  // event poll answers the dialog's Abort.
  virtual void Run(UserInterface& ui) = 0;
  void SetCaption(std::string_view caption);
  std::filesystem::path ProjectFile() const { return projectFile_(); }
  void closeEvent(QCloseEvent* event) override;

private:
  class AbortingUi;
  void Compute();

  UserInterface& ui_;
  std::function<std::filesystem::path()> projectFile_;
  const char* caption_;
  QGridLayout* grid_;
  QPushButton *compute_, *cancel_, *help_;
  bool computing_ = false;
  bool abort_ = false;
};

}  // namespace lumetra::gui
