// The input checks of a dialog's OK button, on the dialog's own edit fields.
//
// Every check runs and reports its message in turn (the core's CheckInteger and
// CheckReal show them); the first field that failed receives the focus and the
// dialog stays open.
#pragma once

#include <QString>
#include <cstdint>

#include "model/user_interface.h"

class QLineEdit;
class QWidget;

namespace lumetra::gui {

class FieldChecks {
public:
  explicit FieldChecks(UserInterface& ui) : ui_(ui) {}

  bool Integer(QLineEdit* field, const char* name, double low, double high,
               std::int32_t* value = nullptr);
  bool Real(QLineEdit* field, const char* name, double low, double high,
            double* value = nullptr);
  // A failure found by other means (a message already shown).
  void Fail(QWidget* field);

  // True when every check passed; otherwise focuses the first failed field.
  bool Passed();

private:
  UserInterface& ui_;
  QWidget* firstFailure_ = nullptr;
};

}  // namespace lumetra::gui
