// "Plot utility": a window of its own that plots cuts through result
// files on a chart, with the four series switches under it, the crosshair
// readout, and menus for opening, saving, printing, copying and editing the chart.
// The data come from the core (fields/plot_cuts.h); this window asks the
// questions and shows the curves.
#pragma once

#include <QMainWindow>
#include <QStringList>
#include <array>
#include <filesystem>
#include <functional>

#include "model/user_interface.h"

class QAction;
class QCheckBox;
class QLabel;
class QPrinter;

namespace lumetra::gui {

class AxisGridDialog;
class AxisScaleDialog;
class ChartTextDialog;
class CutKindDialog;
class ListQuestionDialog;
class SeriesStyleDialog;
class UtilityChart;

class PlotUtilityWindow : public QMainWindow {
  Q_OBJECT
public:
  PlotUtilityWindow(UserInterface& ui, QWidget* parent);
  ~PlotUtilityWindow() override;

  // A file dialog: given whether a file is saved and the filters, the chosen path
  // (empty: cancelled) and the index of the chosen filter.
  struct ChosenFile {
    QString Path;
    int Filter = 0;
  };
  using FileChooser = std::function<ChosenFile(bool save, const QStringList& filters)>;
  // Tests put their answer in place of the dialogs; an empty function restores them.
  void SetFileChooser(FileChooser chooser) { chooser_ = std::move(chooser); }
  // The printer of File, "Print..." and "Print Preview..." (the main window's).
  void SetPrinter(QPrinter* printer) { printer_ = printer; }

  static QStringList OpenFilters();
  static QStringList SaveFilters();

  // Shows the window, starting afresh when it was closed, and brings it forward.
  void Activate();
  // File, "Open..." after the file dialog: the questions and the curves.
  void OpenFile(const QString& path);
  // File, "Save..." after the file dialog; false when nothing was saved.
  bool SavePicture(const QString& path, int filter);

  UtilityChart* Chart() const { return chart_; }
  QCheckBox* SeriesBox(int index) const { return boxes_[static_cast<std::size_t>(index)]; }
  ListQuestionDialog* Question() const { return question_; }

protected:
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

private:
  void BuildMenus();
  // A Touchstone file: which entry Xij, then its curves over frequency.
  void OpenTouchstone(const std::filesystem::path& file);
  void Reset();
  ChosenFile Choose(bool save, const QStringList& filters);
  void Print(bool preview);
  void CopyToClipboard();
  void EditAxis(bool x, bool scale);
  void EditAxisTitle(bool x);
  void EditTitle();
  void EditStyle(int index);

  UserInterface& ui_;
  UtilityChart* chart_;
  std::array<QCheckBox*, 4> boxes_{};
  QLabel *xl_, *yl_;
  QAction *xLog_, *yLog_, *legend_, *crosshair_;
  ListQuestionDialog* question_;
  CutKindDialog* cutKind_;
  AxisGridDialog* grid_;
  AxisScaleDialog* scale_;
  ChartTextDialog* text_;
  SeriesStyleDialog* style_;
  FileChooser chooser_;
  QPrinter* printer_ = nullptr;
};

}  // namespace lumetra::gui
