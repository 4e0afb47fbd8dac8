// "Defining connecting elements": runs the connection step of the layout when it
// opens and shows whether the segments could be connected.
#pragma once

#include <QDialog>

#include "model/project.h"
#include "model/user_interface.h"

class QLabel;
class QProgressBar;

namespace lumetra::gui {

class ConnectionDialog : public QDialog {
  Q_OBJECT
public:
  ConnectionDialog(UserInterface& ui, QWidget* parent);

  // Shows the dialog modally and connects the project's segments; the result is
  // project.Connected.
  void Run(Project& project);

private:
  void Connect();

  UserInterface& ui_;
  Project* project_ = nullptr;
  QLabel *error_, *hint_;
  QProgressBar* gauge_;
};

}  // namespace lumetra::gui
