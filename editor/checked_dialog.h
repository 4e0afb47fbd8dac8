// A modal dialog whose OK runs the input checks of its fields and stays open while
// any fails; with OK, Cancel and a help button at a fixed help topic. Each dialog is
// created once and keeps its last entries between uses.
#pragma once

#include <QDialog>
#include <QString>

#include "editor/field_checks.h"
#include "model/user_interface.h"

class QDialogButtonBox;
class QFormLayout;
class QLineEdit;
class QPushButton;
class QVBoxLayout;

namespace lumetra::gui {

class CheckedDialog : public QDialog {
  Q_OBJECT
public:
  CheckedDialog(const QString& title, int helpTopic, UserInterface& ui, QWidget* parent);

  void accept() override;

protected:
  // Runs the checks of the fields; false keeps the dialog open.
  virtual bool Validate(FieldChecks& checks) = 0;

  // An edit field with a label before it and an optional unit after it, named after
  // its control so that it can be found.
  QLineEdit* AddField(const char* objectName, const QString& label, const QString& unit = {},
                      int maxLength = 0);
  QVBoxLayout* Body() const { return body_; }
  QFormLayout* Form() const { return form_; }
  QDialogButtonBox* Buttons() const { return buttons_; }
  QPushButton* OkButton() const;
  UserInterface& Ui() const { return ui_; }

private:
  UserInterface& ui_;
  QVBoxLayout* body_;
  QFormLayout* form_;
  QDialogButtonBox* buttons_;
};

// A number as the dialogs show it: shortest general form, 15 digits.
QString NumberText(double value);

}  // namespace lumetra::gui
