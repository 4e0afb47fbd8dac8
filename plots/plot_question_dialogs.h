// The plot utility's questions: "Plot selection" (TPlotSel), a list from which an
// entry must be chosen, and "Select radiation pattern cut" (TCutSel). Both can be
// left with Cancel, Escape or the close box, which abandons the plot.
#pragma once

#include <QDialog>
#include <optional>
#include <string>
#include <vector>

#include "fields/plot_cuts.h"
#include "model/user_interface.h"

class QLabel;
class QListWidget;
class QRadioButton;

namespace lumetra::gui {

inline constexpr const char* SelectItemMessage = "You must select an item";

class ListQuestionDialog : public QDialog {
  Q_OBJECT
public:
  ListQuestionDialog(UserInterface& ui, QWidget* parent);

  // Shows the question with the entries, none selected; the index of the entry
  // chosen with "Ok" or a double click, none after Cancel or the close box.
  std::optional<std::size_t> Ask(const std::string& question,
                                 const std::vector<std::string>& entries);

  // "Ok": closes only when an entry is selected, else "You must select an item".
  void accept() override;

private:
  UserInterface& ui_;
  QLabel* label_;
  QListWidget* list_;
};

class CutKindDialog : public QDialog {
  Q_OBJECT
public:
  explicit CutKindDialog(QWidget* parent);

  // Asks with the choice of the last time (at first "Theta angle is constant");
  // none after Cancel or the close box.
  std::optional<PatternCutKind> Ask();

private:
  QRadioButton* theta_;
};

}  // namespace lumetra::gui
