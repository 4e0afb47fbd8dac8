#include "editor/field_checks.h"

#include <QLineEdit>

#include "model/input_checks.h"

namespace lumetra::gui {

bool FieldChecks::Integer(QLineEdit* field, const char* name, double low, double high,
                          std::int32_t* value) {
  const bool ok = CheckInteger(field->text().toStdString(), name, low, high, ui_, value);
  if (!ok) Fail(field);
  return ok;
}

bool FieldChecks::Real(QLineEdit* field, const char* name, double low, double high,
                       double* value) {
  const bool ok = CheckReal(field->text().toStdString(), name, low, high, ui_, value);
  if (!ok) Fail(field);
  return ok;
}

void FieldChecks::Fail(QWidget* field) {
  if (!firstFailure_) firstFailure_ = field;
}

bool FieldChecks::Passed() {
  if (!firstFailure_) return true;
  firstFailure_->setFocus(Qt::OtherFocusReason);
  if (auto* edit = qobject_cast<QLineEdit*>(firstFailure_)) edit->selectAll();
  return false;
}

}  // namespace lumetra::gui
