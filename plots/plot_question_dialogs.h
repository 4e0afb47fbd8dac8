// The plot utility's questions: "Plot selection" (TPlotSel), a list from which an
// entry must be chosen, and "Select radiation pattern cut" (TCutSel). Neither has
// a close box or a Cancel: a question is answered before the plot goes on.
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
  // chosen with "Ok" or a double click.
  std::optional<std::size_t> Ask(const std::string& question,
                                 const std::vector<std::string>& entries);

  // "Ok": closes only when an entry is selected, else "You must select an item".
  void accept() override;
  // Escape does not close a question.
  void reject() override {}

private:
  UserInterface& ui_;
  QLabel* label_;
  QListWidget* list_;
};

class CutKindDialog : public QDialog {
  Q_OBJECT
public:
  explicit CutKindDialog(QWidget* parent);

  // Asks with the choice of the last time (at first "Theta angle is constant").
  PatternCutKind Ask();
  void reject() override {}

private:
  QRadioButton* theta_;
};

}  // namespace lumetra::gui
