// The "Radiation pattern" page: one cut through the far field of the selected
// frequency as a polar diagram, with the buttons for the quantity, the cut, the
// scale and printing, and the labels of what is shown.
#pragma once

#include <QWidget>
#include <filesystem>
#include <functional>

#include "editor/shell_options.h"
#include "fields/result_lists.h"
#include "plots/pattern_canvas.h"

class QLabel;
class QLineEdit;
class QPrinter;
class QToolButton;

namespace lumetra::gui {

class CutDialog;
class DbScaleDialog;

class PatternPage : public QWidget {
  Q_OBJECT
public:
  // projectFile gives the current project's .PRO (empty while none is open).
  PatternPage(std::function<std::filesystem::path()> projectFile, UserInterface& ui,
              ShellOptions& options, QWidget* parent);

  // The "Select frequency" dialog used when the far-field file has several blocks.
  void SetFrequencyChooser(FrequencyChooser chooser) { chooser_ = std::move(chooser); }
  // The printer of the main window, for the print button.
  void SetPrinter(QPrinter* printer) { printer_ = printer; }
  // The question before printing: the platform's print dialog unless replaced.
  void SetPrintConfirmation(std::function<bool(QPrinter&)> confirm) {
    confirmPrint_ = std::move(confirm);
  }

  // Entering the page: everything back to its start and the frequency chosen.
  // Takes the shared frequency choice; askAgain opens the dialog even when a
  // frequency was chosen before (the chooser reads AskingAgain()).
  void Enter(bool askAgain = false);
  bool AskingAgain() const { return askingAgain_; }
  // Grid and, when a cut is chosen, the cut read anew from the far-field file.
  void Redraw();
  // The commands of the buttons.
  void SelectQuantity(PatternQuantity quantity);
  void ChooseCut();
  void ToggleScale();
  void ChooseDbScale();
  void Print();

  PatternCanvas* Canvas() const { return canvas_; }
  CutDialog* Cuts() const { return cutDialog_; }
  DbScaleDialog* DbDialog() const { return dbDialog_; }
  const PatternCurve& Curve() const { return curve_; }
  // The distance of the field strength in dBuV/m, when its text is a positive number.
  std::optional<double> Distance() const;

private:
  QToolButton* Button(const char* name, const QString& caption, const QString& hint);
  QLabel* Label(const char* name, const QString& text);
  std::filesystem::path FarFieldFile() const;
  void ShowColorMenu(const QPoint& at);

  std::function<std::filesystem::path()> projectFile_;
  UserInterface& ui_;
  ShellOptions& options_;
  FrequencyChooser chooser_;
  bool askingAgain_ = false;
  QPrinter* printer_ = nullptr;
  std::function<bool(QPrinter&)> confirmPrint_;

  PatternQuantity quantity_ = PatternQuantity::ETheta;
  bool logScale_ = false;
  PatternCurve curve_;
  bool hasCurve_ = false;

  PatternCanvas* canvas_;
  CutDialog* cutDialog_;
  DbScaleDialog* dbDialog_;
  QToolButton *eTheta_, *ePhi_, *eTot_, *gain_;
  QLabel *frequency_, *scale_, *maximum_, *cutSelection_, *selection_;
  QLabel *fieldStrength_, *angleNote_;
  QLineEdit* distance_;
};

}  // namespace lumetra::gui
