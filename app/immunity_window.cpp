#include "app/immunity_window.h"

#include <QEvent>
#include <QFileInfo>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "app/computation_page.h"
#include "app/frequency_panel.h"
#include "app/main_window.h"
#include "app/qt_user_interface.h"
#include "app/study_window_support.h"
#include "editor/window_placement.h"
#include "model/file_io.h"
#include "plots/immunity_chart.h"
#include "plots/picture_file.h"
#include "studies/immunity/immunity_outputs.h"

namespace lumetra::gui {

using namespace lumetra::immunity;

namespace {

// The load's reactive part as typed on the layout page: LC is an inductance in
// henry, or minus a capacitance in farad.
QString ReactivePart(double lc) {
  if (lc > 0.0) return QString("L %1 nH").arg(lc * 1e9, 0, 'g', 4);
  if (lc < 0.0) return QString("C %1 pF").arg(-lc * 1e12, 0, 'g', 4);
  return {};
}

}  // namespace

ImmunityWindow::ImmunityWindow(MainWindow& main) : StudyWindow(main) {
  setObjectName("ImmunityWindow");
  setWindowTitle("Immunity");

  auto* loadsBox = new QGroupBox("Loads (the receivers)", this);
  everyPort_ = new QRadioButton("Every load, and the voltage sources as shorted ports", loadsBox);
  everyPort_->setObjectName("EveryPort");
  chosenLoads_ = new QRadioButton("The loads ticked below", loadsBox);
  chosenLoads_->setObjectName("ChosenLoads");
  everyPort_->setChecked(true);
  loads_ = new QTableWidget(0, 4, loadsBox);
  loads_->setObjectName("Loads");
  loads_->setHorizontalHeaderLabels({"Load", "Element", "R [ohm]", "L or C"});
  loads_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  loads_->setSelectionMode(QAbstractItemView::NoSelection);
  loads_->setFocusPolicy(Qt::NoFocus);
  loads_->verticalHeader()->hide();
  loads_->verticalHeader()->setDefaultSectionSize(loads_->fontMetrics().height() + 6);
  loads_->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
  noLoads_ = new QLabel("The project has no load: add one on the layout page.", loadsBox);
  noLoads_->setWordWrap(true);
  auto* loadsLayout = new QVBoxLayout(loadsBox);
  loadsLayout->addWidget(everyPort_);
  loadsLayout->addWidget(chosenLoads_);
  loadsLayout->addWidget(noLoads_);
  loadsLayout->addWidget(loads_);

  frequencies_ = new FrequencyPanel(main_.Ui(), this);

  auto* test = new QGroupBox("Test field", this);
  auto* form = new QFormLayout(test);
  field_ = new QLineEdit("10", test);
  field_->setObjectName("Field");
  field_->setMaximumWidth(90);
  form->addRow("Field level [V/m]", field_);
  threshold_ = new QLineEdit(test);
  threshold_->setObjectName("Threshold");
  threshold_->setMaximumWidth(90);
  threshold_->setPlaceholderText("none");
  threshold_->setToolTip("The largest voltage a load may see, e.g. the receiver's noise margin; blank for none");
  form->addRow("Threshold [V]", threshold_);

  const RunButtons run = MakeRunButtons(this);
  compute_ = run.Compute;
  abort_ = run.Abort;
  saveChart_ = NamedButton("Save chart...", "SaveChart", this);
  saveCsv_ = NamedButton("Save CSV...", "SaveCsv", this);
  saveJson_ = NamedButton("Save JSON...", "SaveJson", this);
  for (QPushButton* save : {saveChart_, saveCsv_, saveJson_}) save->setEnabled(false);
  progress_ = new QLabel(this);
  progress_->setObjectName("Progress");
  progress_->setWordWrap(true);
  verdict_ = new QLabel(this);
  verdict_->setObjectName("Verdict");
  verdict_->setWordWrap(true);
  QFont bold = verdict_->font();
  bold.setBold(true);
  bold.setPointSizeF(bold.pointSizeF() * 1.15);
  verdict_->setFont(bold);

  chart_ = new StudyChartView("Press Compute to see the worst voltage of each load over frequency", this);
  chart_->setObjectName("Chart");
  table_ = new QTableWidget(0, 0, this);
  table_->setObjectName("Table");
  table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  table_->setSelectionBehavior(QAbstractItemView::SelectRows);
  table_->verticalHeader()->hide();
  table_->verticalHeader()->setDefaultSectionSize(table_->fontMetrics().height() + 6);
  table_->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
  table_->horizontalHeader()->setStretchLastSection(true);
  ShowTableHeader(false);

  auto* buttons = new QHBoxLayout;
  buttons->addWidget(compute_);
  buttons->addWidget(abort_);
  buttons->addStretch();
  auto* exports = new QHBoxLayout;
  exports->addWidget(saveChart_);
  exports->addWidget(saveCsv_);
  exports->addWidget(saveJson_);
  exports->addStretch();
  auto* left = new QVBoxLayout;
  left->addWidget(loadsBox);
  left->addWidget(frequencies_);
  left->addWidget(test);
  left->addLayout(buttons);
  left->addWidget(progress_);
  left->addWidget(verdict_);
  left->addLayout(exports);
  left->addStretch(1);
  auto* right = new QVBoxLayout;
  right->addWidget(chart_, 3);
  right->addWidget(table_, 2);
  auto* all = new QHBoxLayout(this);
  all->addLayout(left, 2);
  all->addLayout(right, 3);

  connect(everyPort_, &QRadioButton::toggled, this, [this] { UpdateLoadChoice(); });
  connect(compute_, &QPushButton::clicked, this, [this] { Compute(); });
  connect(abort_, &QPushButton::clicked, this, &ImmunityWindow::RequestAbort);
  connect(saveChart_, &QPushButton::clicked, this, &ImmunityWindow::SaveChart);
  connect(saveCsv_, &QPushButton::clicked, this, &ImmunityWindow::SaveCsv);
  connect(saveJson_, &QPushButton::clicked, this, &ImmunityWindow::SaveJson);
  frequencies_->Apply(ComputationSettings{});
  resize(1180, 760);
}

void ImmunityWindow::Open() { OpenWindow(frequencies_); }

void ImmunityWindow::ProjectReplaced() {
  ClearResult();
  loads_->setRowCount(0);
}

void ImmunityWindow::RefreshRows() {
  const auto& loads = main_.CurrentProject().Impedances;
  // Rows that were there keep their tick; new ones come ticked.
  std::vector<bool> ticked;
  for (int row = 0; row < loads_->rowCount(); ++row)
    ticked.push_back(loads_->item(row, 0) && loads_->item(row, 0)->checkState() == Qt::Checked);
  noLoads_->setVisible(loads.empty());
  loads_->setVisible(!loads.empty());
  loads_->setRowCount(static_cast<int>(loads.size()));
  for (std::size_t k = 0; k < loads.size(); ++k) {
    const ImpedanceElement& load = loads[k];
    const QString cells[4] = {QString::number(k + 1), QString("%1 %2").arg(load.IsJx ? "Jx" : "Jy").arg(load.ElementNo),
                              QString::number(load.R, 'g', 6), ReactivePart(load.LC)};
    for (int c = 0; c < 4; ++c) {
      auto* item = new QTableWidgetItem(cells[c]);
      item->setTextAlignment(Qt::AlignCenter);
      if (c == 0) item->setCheckState(k >= ticked.size() || ticked[k] ? Qt::Checked : Qt::Unchecked);
      loads_->setItem(static_cast<int>(k), c, item);
    }
  }
  // As tall as the rows, up to six of them; more scroll.
  const int rows = std::clamp(static_cast<int>(loads.size()), 1, 6);
  loads_->setFixedHeight(loads_->horizontalHeader()->height() + rows * loads_->verticalHeader()->defaultSectionSize() +
                         2 * loads_->frameWidth());
  UpdateLoadChoice();
}

void ImmunityWindow::UpdateLoadChoice() {
  // The ticks count (and look it) only for a choice of loads.
  const bool choosing = chosenLoads_->isChecked() && !Running();
  const Qt::ItemFlags tickable = Qt::ItemIsUserCheckable | Qt::ItemIsEnabled;
  for (int row = 0; row < loads_->rowCount(); ++row)
    if (QTableWidgetItem* item = loads_->item(row, 0))
      item->setFlags(choosing ? item->flags() | tickable : item->flags() & ~tickable);
}

ImmunityForm ImmunityWindow::Form() const {
  ImmunityForm form;
  form.EveryPort = everyPort_->isChecked();
  for (int row = 0; row < loads_->rowCount(); ++row)
    if (loads_->item(row, 0) && loads_->item(row, 0)->checkState() == Qt::Checked) form.ChosenLoads.push_back(row + 1);
  form.Field = S(field_->text());
  form.Threshold = S(threshold_->text());
  return form;
}

void ImmunityWindow::SetForm(const ImmunityForm& form) {
  (form.EveryPort ? everyPort_ : chosenLoads_)->setChecked(true);
  for (int row = 0; row < loads_->rowCount(); ++row) {
    const bool chosen = std::find(form.ChosenLoads.begin(), form.ChosenLoads.end(), row + 1) != form.ChosenLoads.end();
    if (loads_->item(row, 0)) loads_->item(row, 0)->setCheckState(chosen ? Qt::Checked : Qt::Unchecked);
  }
  field_->setText(Q(form.Field));
  threshold_->setText(Q(form.Threshold));
  UpdateLoadChoice();
}

ComputationSettings ImmunityWindow::Settings() const {
  ComputationSettings s = main_.Computation() ? main_.Computation()->Settings() : ComputationSettings{};
  frequencies_->WriteInto(s);
  return s;
}

void ImmunityWindow::SetInputsEnabled(bool enabled) {
  for (QWidget* w : std::initializer_list<QWidget*>{everyPort_, chosenLoads_, field_, threshold_, compute_})
    w->setEnabled(enabled);
  for (QPushButton* save : {saveChart_, saveCsv_, saveJson_}) save->setEnabled(enabled && result_.has_value());
  frequencies_->SetLocked(!enabled);
  UpdateLoadChoice();
}

bool ImmunityWindow::Compute() {
  if (!MayStartRun()) return false;
  SyncWithProject();
  QtUserInterface& ui = main_.Ui();
  const Project& project = main_.CurrentProject();
  // The refusals come before anything runs: a board without loads, a field level
  // or threshold that is no positive number, no load ticked.
  ImmunityRequest request;
  try {
    if (project.Impedances.empty()) throw std::invalid_argument(NoLoadMessage);
    request = BuildImmunityRequest(Form());
  } catch (const std::invalid_argument& error) {
    ui.ShowMessage(error.what());
    return false;
  }
  if (!ImmunityPorts(project, request.Options.Loads, ui)) return false;

  std::optional<ImmunityResult> result = RunInFrame(abort_, progress_, [&](ComputationControl& control) {
    return RunImmunity(project, Settings(), request.Options, control);
  });
  const bool computed = result && result->Started && !result->Points.empty();
  if (computed) {
    progress_->setText(SweepSummary(result->Aborted, result->Ports.size(), result->Points.size(), result->Unknowns));
    result_ = std::move(result);
    request_ = request;
    ShowResult();
  } else {
    // A run that started replaces the last result even when it stopped before its
    // first frequency; one that was refused leaves it.
    if (result && result->Started) ClearResult();
    progress_->setText(result && result->Aborted ? "Aborted before the first frequency" : QString());
  }
  FinishRun();
  return computed;
}

void ImmunityWindow::ClearResult() {
  result_.reset();
  chart_->Show({});
  table_->setRowCount(0);
  ShowTableHeader(false);
  verdict_->clear();
  progress_->clear();
  for (QPushButton* save : {saveChart_, saveCsv_, saveJson_}) save->setEnabled(false);
}

void ImmunityWindow::ShowTableHeader(bool withThreshold) {
  QStringList titles;
  for (const std::string& title : ImmunityTableHeader(withThreshold)) titles << Q(title);
  table_->setColumnCount(static_cast<int>(titles.size()));
  table_->setHorizontalHeaderLabels(titles);
}

void ImmunityWindow::ShowResult() {
  if (!result_) return;
  const ImmunityResult& result = *result_;
  const ImmunityReport report{result, request_.Options.FieldVPerM, request_.ThresholdV};
  const double field = request_.Options.FieldVPerM;
  const std::optional<double> threshold = request_.ThresholdV;
  chart_->Show([&result, field, threshold](QPainter& painter, const QRectF& area) {
    DrawImmunityChart(painter, area, result, field, threshold);
  });
  // An aborted sweep speaks only for the frequencies it reached.
  verdict_->setText(Q(ImmunityVerdict(report)) + (result.Aborted ? " (frequencies before Abort only)" : ""));
  verdict_->setStyleSheet(!threshold ? "" : ThresholdExceeded(report) ? "color: #d01c1c;" : "color: #147828;");

  ShowTableHeader(threshold.has_value());
  int rows = 0;
  for (const ImmunityPoint& point : result.Points) rows += static_cast<int>(point.Ports.size());
  table_->setRowCount(rows);
  int row = 0;
  for (const ImmunityPoint& point : result.Points)
    for (const PortWorst& worst : point.Ports) {
      const std::vector<std::string> cells = ImmunityTableCells(point, worst, threshold);
      const bool over = threshold && worst.VoltageV > *threshold;
      for (std::size_t column = 0; column < cells.size(); ++column) {
        auto* item = new QTableWidgetItem(Q(cells[column]));
        item->setTextAlignment((column == 1 || column == 6 ? Qt::AlignLeft : Qt::AlignRight) | Qt::AlignVCenter);
        if (over && (column == 2 || column + 1 == cells.size()))
          item->setForeground(QColor::fromRgb(static_cast<QRgb>(ThresholdLineRgb)));
        table_->setItem(row, static_cast<int>(column), item);
      }
      ++row;
    }
  for (QPushButton* save : {saveChart_, saveCsv_, saveJson_}) save->setEnabled(true);
}

void ImmunityWindow::SaveChart() {
  if (!result_) return;
  QtUserInterface& ui = main_.Ui();
  const std::optional<std::string> path =
      ChooseSaveName(this, "Save chart", "SVG picture (*.svg);;PNG picture (*.png)", "svg");
  if (!path) return;
  const std::string extension = S(QFileInfo(Q(*path)).suffix().toLower());
  if (extension != "svg" && extension != "png") {
    ui.ShowMessage(UnknownFileFormatMessage);
    return;
  }
  if (!MayWrite(ui, *path)) return;
  try {
    if (extension == "png")
      WriteImmunityChartPng(*path, *result_, request_.Options.FieldVPerM, request_.ThresholdV);
    else
      WriteImmunityChartSvg(*path, *result_, request_.Options.FieldVPerM, request_.ThresholdV);
  } catch (const FileError& error) {
    ui.ShowMessage(error.what());
  }
}

void ImmunityWindow::SaveText(const char* title, const char* filters, const char* extension, const std::string& text) {
  QtUserInterface& ui = main_.Ui();
  const std::optional<std::string> path = ChooseSaveName(this, title, filters, extension);
  if (!path || !MayWrite(ui, *path)) return;
  try {
    WriteTextFile(*path, text);
  } catch (const FileError& error) {
    ui.ShowMessage(error.what());
  }
}

void ImmunityWindow::SaveCsv() {
  if (!result_) return;
  SaveText("Save CSV", "CSV file (*.csv)", "csv",
           ImmunityCsv({*result_, request_.Options.FieldVPerM, request_.ThresholdV}));
}

void ImmunityWindow::SaveJson() {
  if (!result_) return;
  SaveText("Save JSON", "JSON file (*.json)", "json",
           ImmunityJson({*result_, request_.Options.FieldVPerM, request_.ThresholdV}));
}

}  // namespace lumetra::gui
