// "Edit segment": position, size and charge counts of one segment.
#pragma once

#include <optional>

#include "editor/checked_dialog.h"
#include "model/project.h"

namespace lumetra::gui {

class SegmentDialog : public CheckedDialog {
  Q_OBJECT
public:
  SegmentDialog(UserInterface& ui, QWidget* parent);

  // Shows the segment (1-based number) for editing; the new values on OK. The
  // board size bounds the centre and the lengths.
  std::optional<Segment> Edit(int number, const Segment& segment, std::int32_t pcbLx,
                              std::int32_t pcbLy);

protected:
  bool Validate(FieldChecks& checks) override;

private:
  QLineEdit *chX_, *chY_, *xc_, *yc_, *dx_, *dy_;
  std::int32_t pcbLx_ = 0, pcbLy_ = 0;
  Segment result_;
};

}  // namespace lumetra::gui
