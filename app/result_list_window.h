// The three result-list windows, "Current list", "Far-field list" and
// "Near-field list": one frequency block of a result file as a table, listed by
// the window's buttons and printed as plain text.
#pragma once

#include <QDialog>
#include <filesystem>
#include <functional>
#include <optional>
#include <vector>

#include "fields/result_lists.h"

class QLabel;
class QPrinter;
class QPushButton;
class QTableWidget;

namespace lumetra::gui {

enum class ListWindowKind { Current, FarField, NearField };

class ResultListWindow : public QDialog {
  Q_OBJECT
public:
  ResultListWindow(ListWindowKind kind, UserInterface& ui,
                   std::function<std::filesystem::path()> projectFile, QWidget* parent);

  // The "Select frequency" dialog, asked only when the file holds several blocks.
  // The frequency choice in a dialog mode; askAgain false lets it take the
  // frequency chosen last without asking.
  using ChooserFactory = std::function<FrequencyChooser(FrequencyDialogMode, bool askAgain)>;
  void SetFrequencyChooser(ChooserFactory chooser) {
    chooser_ = std::move(chooser);
  }
  // The program's printer (with its set-up); without one a printer of the list's own.
  void SetPrinter(QPrinter* printer) { printer_ = printer; }
  // Back to the state of a fresh activation: header row, one empty row, no print.
  void Activate();
  // One list button (the kinds of this window only).
  // The list of that kind at the frequency shared by the result pages and lists;
  // askAgain asks for the frequency first.
  void List(ListKind kind, bool askAgain = false);
  // "Print": the platform's print dialog, then the printout.
  void Print();
  // The printout itself, to any printer (a PDF file in the tests).
  void PrintTo(QPrinter& printer) const;

  QTableWidget* Grid() const { return grid_; }
  QLabel* Title() const { return title_; }
  QPushButton* PrintButton() const { return print_; }
  const std::optional<ResultList>& Listed() const { return listed_; }

private:
  void FitColumnsToText();
  void ShowList(const ResultList& list);

  ListWindowKind kind_;
  UserInterface& ui_;
  std::function<std::filesystem::path()> projectFile_;
  ChooserFactory chooser_;
  std::optional<ListKind> lastKind_;  // what the Frequency button lists again
  std::vector<ListKind> kinds_;
  std::optional<ResultList> listed_;
  QPrinter* printer_ = nullptr;
  QTableWidget* grid_;
  QLabel* title_;
  QPushButton* print_;
};

}  // namespace lumetra::gui
