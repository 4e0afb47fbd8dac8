// "Edit segment": position, size and charge counts of one segment.
#pragma once

#include <functional>
#include <optional>

#include "editor/checked_dialog.h"
#include "model/project.h"

namespace lumetra::gui {

class SegmentDialog : public CheckedDialog {
  Q_OBJECT
public:
  SegmentDialog(UserInterface& ui, QWidget* parent);

  // Accepts checked values, or keeps the dialog open when it answers false (the
  // user declined what the change would cost).
  using Confirm = std::function<bool(const Segment&)>;

  // Shows the segment (1-based number) for editing; the new values on OK. The
  // board size bounds the centre and the lengths.
  std::optional<Segment> Edit(int number, const Segment& segment, std::int32_t pcbLx,
                              std::int32_t pcbLy, Confirm confirm = {});

protected:
  bool Validate(FieldChecks& checks) override;

private:
  QLineEdit *chX_, *chY_, *xc_, *yc_, *dx_, *dy_;
  std::int32_t pcbLx_ = 0, pcbLy_ = 0;
  Segment result_;
  Confirm confirm_;
};

}  // namespace lumetra::gui
