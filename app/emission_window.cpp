#include "app/emission_window.h"
#include "app/study_window_support.h"

#include "plots/emission_chart.h"
#include "plots/emission_report.h"
#include "plots/emission_text.h"

#include <QComboBox>
#include <QEvent>
#include <QFileInfo>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QScrollArea>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "app/computation_page.h"
#include "app/file_chooser.h"
#include "app/main_window.h"
#include "app/qt_user_interface.h"
#include "editor/window_placement.h"
#include "model/file_io.h"
#include "plots/picture_file.h"
#include "studies/emission/emission_outputs.h"
#include "studies/emission/named_limits.h"

namespace lumetra::gui {

using namespace lumetra::emission;

EmissionWindow::EmissionWindow(MainWindow& main) : StudyWindow(main) {
  setObjectName("EmissionWindow");
  setWindowTitle("Emission");

  auto* sources = new QGroupBox("Signals of the voltage sources", this);
  sourceScroll_ = new QScrollArea(sources);
  auto* sourceScroll = sourceScroll_;
  auto* sourcePanel = new QWidget(sourceScroll);
  sourceGrid_ = new QGridLayout(sourcePanel);
  sourceGrid_->setContentsMargins(2, 2, 2, 2);
  sourceScroll->setWidget(sourcePanel);
  sourceScroll->setWidgetResizable(true);
  sourceScroll->setFrameShape(QFrame::NoFrame);
  noSources_ = new QLabel("The project has no voltage source: add one on the layout page.", sources);
  auto* sourceBox = new QVBoxLayout(sources);
  sourceBox->addWidget(noSources_);
  sourceBox->addWidget(sourceScroll);

  auto* test = new QGroupBox("Test", this);
  auto* form = new QFormLayout(test);
  site_ = new QComboBox(test);
  site_->setObjectName("Site");
  site_->addItems({"Semi-anechoic chamber (antenna 1-4 m, turntable)", "Free space (maximum over directions)"});
  form->addRow("Site", site_);
  distance_ = new QComboBox(test);
  distance_->setObjectName("Distance");
  distance_->setEditable(true);
  distance_->addItems({"3", "10"});
  form->addRow("Distance (m)", distance_);
  limit_ = new QComboBox(test);
  limit_->setObjectName("Limit");
  for (const std::string& name : LimitClassNames()) limit_->addItem(Q(name), Q(name));
  limit_->addItem("None", "none");
  limit_->addItem("File...", "file");
  limit_->setCurrentIndex(1);
  form->addRow("Limit", limit_);
  auto* limitFileRow = new QHBoxLayout;
  limitFile_ = new QLineEdit(test);
  limitFile_->setObjectName("LimitFile");
  browseLimit_ = new QPushButton("...", test);
  browseLimit_->setObjectName("BrowseLimit");
  browseLimit_->setFixedWidth(32);
  limitFileRow->addWidget(limitFile_);
  limitFileRow->addWidget(browseLimit_);
  form->addRow("Limit file", limitFileRow);
  stop_ = new QLineEdit("1000", test);
  stop_->setObjectName("Stop");
  form->addRow("Stop frequency (MHz)", stop_);

  const RunButtons run = MakeRunButtons(this);
  compute_ = run.Compute;
  abort_ = run.Abort;
  saveChart_ = NamedButton("Save chart...", "SaveChart", this);
  saveReport_ = NamedButton("Save report...", "SaveReport", this);
  saveCsv_ = NamedButton("Save CSV...", "SaveCsv", this);
  for (QPushButton* save : {saveChart_, saveReport_, saveCsv_}) save->setEnabled(false);
  progress_ = new QLabel(this);
  progress_->setObjectName("Progress");
  worst_ = new QLabel(this);
  worst_->setObjectName("WorstMargin");
  worst_->setWordWrap(true);
  QFont bold = worst_->font();
  bold.setBold(true);
  bold.setPointSizeF(bold.pointSizeF() * 1.15);
  worst_->setFont(bold);

  chart_ = new StudyChartView("Press Compute to see the emission lines against the limit", this);
  chart_->setObjectName("Chart");
  lines_ = new QTableWidget(0, 6, this);
  lines_->setObjectName("Lines");
  QStringList header;
  for (const std::string& title : EmissionTableHeader()) header << Q(title);
  lines_->setHorizontalHeaderLabels(header);
  lines_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  lines_->setSelectionBehavior(QAbstractItemView::SelectRows);
  lines_->verticalHeader()->hide();
  lines_->verticalHeader()->setDefaultSectionSize(lines_->fontMetrics().height() + 6);
  lines_->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
  lines_->horizontalHeader()->setStretchLastSection(true);

  auto* buttons = new QHBoxLayout;
  buttons->addWidget(compute_);
  buttons->addWidget(abort_);
  buttons->addStretch();
  auto* exports = new QHBoxLayout;
  exports->addWidget(saveChart_);
  exports->addWidget(saveReport_);
  exports->addWidget(saveCsv_);
  exports->addStretch();
  auto* left = new QVBoxLayout;
  left->addWidget(test);
  left->addLayout(buttons);
  left->addWidget(progress_);
  left->addWidget(worst_);
  left->addWidget(lines_, 1);
  left->addLayout(exports);
  auto* middle = new QHBoxLayout;
  middle->addLayout(left, 4);
  middle->addWidget(chart_, 5);
  auto* all = new QVBoxLayout(this);
  all->addWidget(sources);
  all->addLayout(middle, 1);

  connect(limit_, &QComboBox::currentIndexChanged, this, [this] { UpdateLimitFields(); });
  connect(browseLimit_, &QPushButton::clicked, this, [this] {
    const QString path = ChooseFileToOpen(this, "Limit file", "Limit files (*.csv);;All files (*)");
    if (!path.isEmpty()) limitFile_->setText(path);
  });
  connect(compute_, &QPushButton::clicked, this, [this] { Compute(); });
  connect(abort_, &QPushButton::clicked, this, &EmissionWindow::RequestAbort);
  connect(saveChart_, &QPushButton::clicked, this, &EmissionWindow::SaveChart);
  connect(saveReport_, &QPushButton::clicked, this, &EmissionWindow::SaveReport);
  connect(saveCsv_, &QPushButton::clicked, this, &EmissionWindow::SaveCsv);
  UpdateLimitFields();
  resize(1180, 760);
}

void EmissionWindow::Open() { OpenWindow(nullptr); }

void EmissionWindow::RefreshRows() {
  // Rows stay as typed while the number of sources does.
  if (main_.CurrentProject().VoltageSources.size() != rows_.size()) RebuildSourceRows();
}

void EmissionWindow::ProjectReplaced() {
  result_.reset();
  request_.reset();
  chart_->Show({});
  lines_->setRowCount(0);
  worst_->clear();
  progress_->clear();
  for (QPushButton* save : {saveChart_, saveReport_, saveCsv_}) save->setEnabled(false);
  RebuildSourceRows();
}

void EmissionWindow::RebuildSourceRows() {
  const EmissionForm before = Form();
  while (QLayoutItem* item = sourceGrid_->takeAt(0)) {
    delete item->widget();
    delete item;
  }
  rows_.clear();
  const auto& sources = main_.CurrentProject().VoltageSources;
  noSources_->setVisible(sources.empty());
  sourceScroll_->setVisible(!sources.empty());
  if (sources.empty()) return;
  const char* titles[] = {"Signal", "Amplitude (V)", "Fundamental (MHz)", "Rise (ns)", "Fall (ns)", "Duty", "Spectrum file"};
  for (int column = 0; column < 7; ++column) sourceGrid_->addWidget(new QLabel(titles[column]), 0, column + 1);
  for (std::size_t i = 0; i < sources.size(); ++i) {
    const int row = static_cast<int>(i) + 1;
    const QString n = QString::number(row);
    const VoltageSource& source = sources[i];
    auto* name = new QLabel(QString("Source %1 (%2 %3, %4 V)")
                                .arg(n, source.IsJx ? "Jx" : "Jy", QString::number(source.ElementNo),
                                     QString::number(std::hypot(source.ReV, source.ImV), 'g', 4)));
    SourceRow r;
    r.Kind = new QComboBox;
    r.Kind->addItems({"Constant", "Trapezoid", "Spectrum file"});
    r.Kind->setObjectName("Signal" + n);
    const auto field = [&](const char* objectName, int width) {
      auto* edit = new QLineEdit;
      edit->setObjectName(objectName + n);
      edit->setMaximumWidth(width);
      return edit;
    };
    r.Amplitude = field("Amplitude", 80);
    r.Fundamental = field("Fundamental", 90);
    r.Rise = field("Rise", 70);
    r.Fall = field("Fall", 70);
    r.Fall->setPlaceholderText("= rise");
    r.Duty = field("Duty", 60);
    r.File = field("SpectrumFile", 10000);
    r.Browse = new QPushButton("...");
    r.Browse->setObjectName("BrowseSpectrum" + n);
    r.Browse->setFixedWidth(32);
    sourceGrid_->addWidget(name, row, 0);
    sourceGrid_->addWidget(r.Kind, row, 1);
    sourceGrid_->addWidget(r.Amplitude, row, 2);
    sourceGrid_->addWidget(r.Fundamental, row, 3);
    sourceGrid_->addWidget(r.Rise, row, 4);
    sourceGrid_->addWidget(r.Fall, row, 5);
    sourceGrid_->addWidget(r.Duty, row, 6);
    sourceGrid_->addWidget(r.File, row, 7);
    sourceGrid_->addWidget(r.Browse, row, 8);
    rows_.push_back(r);
    const int index = static_cast<int>(i);
    connect(r.Kind, &QComboBox::currentIndexChanged, this, [this, index] { UpdateRowFields(index); });
    connect(r.Browse, &QPushButton::clicked, this, [this, index] {
      const QString path = ChooseFileToOpen(this, "Spectrum file", "Spectrum files (*.csv *.txt);;All files (*)");
      if (!path.isEmpty()) rows_[static_cast<std::size_t>(index)].File->setText(path);
    });
  }
  sourceGrid_->setColumnStretch(7, 1);
  // As tall as the rows, up to about five of them; more scroll.
  sourceScroll_->setFixedHeight(std::min(sourceGrid_->sizeHint().height() + 4, 190));
  // A new row starts as a clock; rows that were there keep what was typed.
  EmissionForm form = before;
  form.Signals.resize(rows_.size());
  SetForm(form);
}

void EmissionWindow::UpdateRowFields(int index) {
  const SourceRow& r = rows_[static_cast<std::size_t>(index)];
  const int kind = r.Kind->currentIndex();
  for (QLineEdit* edit : {r.Amplitude, r.Fundamental, r.Rise, r.Fall, r.Duty}) edit->setEnabled(kind == 1);
  r.File->setEnabled(kind == 2);
  r.Browse->setEnabled(kind == 2);
}

void EmissionWindow::UpdateLimitFields() {
  const bool file = limit_->currentData().toString() == "file";
  limitFile_->setEnabled(file);
  browseLimit_->setEnabled(file);
}

EmissionForm EmissionWindow::Form() const {
  EmissionForm form;
  for (const SourceRow& r : rows_) {
    SignalForm signal;
    signal.Kind = static_cast<SignalKind>(r.Kind->currentIndex());
    signal.Amplitude = S(r.Amplitude->text());
    signal.Fundamental = S(r.Fundamental->text());
    signal.Rise = S(r.Rise->text());
    signal.Fall = S(r.Fall->text());
    signal.Duty = S(r.Duty->text());
    signal.File = S(r.File->text());
    form.Signals.push_back(signal);
  }
  form.SemiAnechoic = site_->currentIndex() == 0;
  form.Distance = S(distance_->currentText());
  form.Limit = S(limit_->currentData().toString());
  form.LimitFile = S(limitFile_->text());
  form.Stop = S(stop_->text());
  return form;
}

void EmissionWindow::SetForm(const EmissionForm& form) {
  for (std::size_t i = 0; i < rows_.size() && i < form.Signals.size(); ++i) {
    const SignalForm& signal = form.Signals[i];
    const SourceRow& r = rows_[i];
    r.Kind->setCurrentIndex(static_cast<int>(signal.Kind));
    r.Amplitude->setText(Q(signal.Amplitude));
    r.Fundamental->setText(Q(signal.Fundamental));
    r.Rise->setText(Q(signal.Rise));
    r.Fall->setText(Q(signal.Fall));
    r.Duty->setText(Q(signal.Duty));
    r.File->setText(Q(signal.File));
    UpdateRowFields(static_cast<int>(i));
  }
  site_->setCurrentIndex(form.SemiAnechoic ? 0 : 1);
  distance_->setCurrentText(Q(form.Distance));
  const int limitIndex = limit_->findData(Q(form.Limit));
  if (limitIndex >= 0) limit_->setCurrentIndex(limitIndex);
  limitFile_->setText(Q(form.LimitFile));
  stop_->setText(Q(form.Stop));
  UpdateLimitFields();
}

void EmissionWindow::SetInputsEnabled(bool enabled) {
  for (QWidget* widget : findChildren<QWidget*>()) {
    if (qobject_cast<QLineEdit*>(widget) || qobject_cast<QComboBox*>(widget)) widget->setEnabled(enabled);
  }
  for (QPushButton* button : findChildren<QPushButton*>())
    if (button != abort_) button->setEnabled(enabled);
  if (enabled) {
    for (int i = 0; i < static_cast<int>(rows_.size()); ++i) UpdateRowFields(i);
    UpdateLimitFields();
    for (QPushButton* save : {saveChart_, saveReport_, saveCsv_}) save->setEnabled(result_.has_value());
  }
}

bool EmissionWindow::Compute() {
  if (!MayStartRun()) return false;
  SyncWithProject();
  QtUserInterface& ui = main_.Ui();
  const Project& project = main_.CurrentProject();
  EmissionRequest request;
  try {
    request = BuildEmissionRequest(project, Form(), main_.Computation()->Settings());
    ValidateEmissionRequest(project, request);
  } catch (const std::exception& error) {
    ui.ShowMessage(error.what());
    return false;
  }

  std::optional<EmissionResult> result = RunInFrame(
      abort_, progress_, [&](ComputationControl& control) { return RunEmission(project, request, control); });
  const bool computed = result.has_value();
  if (result) {
    progress_->setText(result->Aborted ? QString("Aborted after %1 of the lines").arg(result->Lines.size())
                                       : QString("%1 lines computed").arg(result->Lines.size()));
    request_ = std::move(request);
    result_ = std::move(result);
    ShowResult();
  } else {
    progress_->clear();
  }
  FinishRun();
  return computed;
}

void EmissionWindow::ShowResult() {
  if (!result_ || !request_) return;
  const EmissionResult& result = *result_;
  const LimitLine* limit = request_->Limit ? &*request_->Limit : nullptr;
  const double stopMHz = request_->StopMHz;
  chart_->Show([&result, limit, stopMHz](QPainter& painter, const QRectF& area) {
    DrawEmissionChart(painter, area, result, limit, stopMHz > 0.0 ? std::optional(stopMHz) : std::nullopt);
  });
  worst_->setText(Q(VerdictText(result)));
  worst_->setStyleSheet(result.Passed() ? "color: #147828;" : "color: #d01c1c;");
  QStringList header;
  for (const std::string& title : EmissionTableHeader(result.SiteName)) header << Q(title);
  lines_->setHorizontalHeaderLabels(header);
  lines_->setRowCount(static_cast<int>(result.Lines.size()));
  for (std::size_t i = 0; i < result.Lines.size(); ++i) {
    const EmissionTableRow cells = EmissionTableRowOf(result.Lines[i], result.SiteName);
    const bool failing = result.Lines[i].MarginDb && *result.Lines[i].MarginDb < 0.0;
    for (int column = 0; column < 6; ++column) {
      auto* item = new QTableWidgetItem(Q(cells[static_cast<std::size_t>(column)]));
      item->setTextAlignment((column == 5 ? Qt::AlignLeft : Qt::AlignRight) | Qt::AlignVCenter);
      if (failing && column == 3) item->setForeground(QColor::fromRgb(static_cast<QRgb>(FailingLineRgb)));
      lines_->setItem(static_cast<int>(i), column, item);
    }
  }
  if (result_->WorstLine) lines_->scrollToItem(lines_->item(static_cast<int>(*result_->WorstLine), 0));
  for (QPushButton* save : {saveChart_, saveReport_, saveCsv_}) save->setEnabled(true);
}

void EmissionWindow::SaveChart() {
  if (!result_ || !request_) return;
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
  const LimitLine* limit = request_->Limit ? &*request_->Limit : nullptr;
  try {
    if (extension == "png")
      WriteEmissionChartPng(*path, *result_, limit, request_->StopMHz);
    else
      WriteEmissionChartSvg(*path, *result_, limit, request_->StopMHz);
  } catch (const FileError& error) {
    ui.ShowMessage(error.what());
  }
}

void EmissionWindow::SaveReport() {
  if (!result_ || !request_) return;
  QtUserInterface& ui = main_.Ui();
  const std::optional<std::string> path = ChooseSaveName(this, "Save report", "PDF document (*.pdf)", "pdf");
  if (!path || !MayWrite(ui, *path)) return;
  try {
    WriteEmissionReportPdf(*path, main_.CurrentProject(), *request_, *result_);
  } catch (const FileError& error) {
    ui.ShowMessage(error.what());
  }
}

void EmissionWindow::SaveCsv() {
  if (!result_) return;
  QtUserInterface& ui = main_.Ui();
  const std::optional<std::string> path = ChooseSaveName(this, "Save lines", "CSV file (*.csv)", "csv");
  if (!path || !MayWrite(ui, *path)) return;
  try {
    WriteTextFile(*path, EmissionCsv(*result_));
  } catch (const FileError& error) {
    ui.ShowMessage(error.what());
  }
}

}  // namespace lumetra::gui
