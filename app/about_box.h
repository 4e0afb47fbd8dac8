// "About": product, version, what the program does, and this machine's memory and
// operating system.
#pragma once

#include <QDialog>

class QLabel;

namespace lumetra::gui {

class AboutBox : public QDialog {
  Q_OBJECT
public:
  explicit AboutBox(QWidget* parent);
  // The largest system the limit of one direction allows: Jx and Jy unknowns.
  void ShowMaxUnknowns(int perDirection);

private:
  QLabel* maxUnknowns_;
};

// The largest system the program takes at the default limit, shown in the about box.
inline constexpr int MaximumUnknownsShown = 4000;

}  // namespace lumetra::gui
