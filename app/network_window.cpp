#include "app/network_window.h"

#include <QComboBox>
#include <QEvent>
#include <QFileInfo>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>
#include <filesystem>

#include "app/computation_page.h"
#include "app/file_chooser.h"
#include "app/frequency_panel.h"
#include "app/main_window.h"
#include "app/study_window_support.h"
#include "studies/network/network_file.h"
#include "app/qt_user_interface.h"
#include "editor/window_placement.h"
#include "model/file_io.h"
#include "plots/axis_ticks.h"
#include "plots/touchstone_curves.h"

namespace lumetra::gui {

NetworkChartView::NetworkChartView(QWidget* parent) : QWidget(parent) {
  setMinimumSize(420, 300);
  setAttribute(Qt::WA_OpaquePaintEvent);
}

void NetworkChartView::Show(const std::optional<NetworkCurve>& curve) {
  curve_ = curve;
  update();
}

void NetworkChartView::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.fillRect(rect(), Qt::white);
  if (!curve_ || curve_->FrequenciesMHz.empty()) {
    painter.setPen(Qt::gray);
    painter.drawText(rect(), Qt::AlignCenter, "Press Compute to see |Sij| in dB over frequency");
    return;
  }
  const NetworkCurve& c = *curve_;
  const QFontMetrics metrics(font());
  const int line = metrics.height();
  const QRectF plot(QPointF(line * 4.5, line * 2.2), QPointF(width() - line * 1.5, height() - line * 3.2));

  double f0 = c.FrequenciesMHz.front(), f1 = c.FrequenciesMHz.back();
  if (!(f1 > f0)) {  // one frequency: a window around it
    f0 -= std::max(1.0, std::abs(f0) * 0.1);
    f1 += std::max(1.0, std::abs(f1) * 0.1);
  }
  double low = *std::min_element(c.Db.begin(), c.Db.end());
  double high = *std::max_element(c.Db.begin(), c.Db.end());
  // Whole 10 dB steps around the curve, at least 10 dB tall.
  low = std::floor(low / 10.0) * 10.0;
  high = std::ceil(high / 10.0) * 10.0;
  if (high - low < 10.0) high = low + 10.0;
  const auto x = [&](double f) { return plot.left() + (f - f0) / (f1 - f0) * plot.width(); };
  const auto y = [&](double db) { return plot.bottom() - (db - low) / (high - low) * plot.height(); };

  painter.setPen(QColor(225, 225, 225));
  for (const AxisTick& tick : AxisTicks(f0, f1)) painter.drawLine(QPointF(x(tick.Value), plot.top()), QPointF(x(tick.Value), plot.bottom()));
  for (const AxisTick& tick : AxisTicks(low, high, 10)) painter.drawLine(QPointF(plot.left(), y(tick.Value)), QPointF(plot.right(), y(tick.Value)));
  painter.setPen(Qt::black);
  painter.drawRect(plot);
  for (const AxisTick& tick : AxisTicks(f0, f1)) {
    const QRectF box(x(tick.Value) - 50, plot.bottom() + 3, 100, line);
    painter.drawText(box, Qt::AlignHCenter | Qt::AlignTop, Q(tick.Label));
  }
  for (const AxisTick& tick : AxisTicks(low, high, 10)) {
    const QRectF box(0, y(tick.Value) - line / 2.0, plot.left() - 5, line);
    painter.drawText(box, Qt::AlignRight | Qt::AlignVCenter, Q(tick.Label));
  }
  painter.drawText(QRectF(plot.left(), plot.bottom() + line * 1.4, plot.width(), line * 1.5),
                   Qt::AlignHCenter | Qt::AlignTop, "Frequency [MHz]");
  painter.save();
  painter.translate(line * 0.9, plot.center().y());
  painter.rotate(-90);
  painter.drawText(QRectF(-plot.height() / 2, -line, plot.height(), line * 1.5), Qt::AlignCenter,
                   Q("|" + c.Name + "| [dB]"));
  painter.restore();
  QFont bold = font();
  bold.setBold(true);
  painter.setFont(bold);
  painter.drawText(QRectF(plot.left(), 0, plot.width(), line * 2), Qt::AlignCenter,
                   Q("|" + c.Name + "| in dB"));

  const QColor blue(31, 91, 170);
  painter.setClipRect(plot.adjusted(-4, -4, 4, 4));
  QPainterPath path;
  for (std::size_t k = 0; k < c.FrequenciesMHz.size(); ++k) {
    const QPointF p(x(c.FrequenciesMHz[k]), y(c.Db[k]));
    if (k == 0) path.moveTo(p);
    else path.lineTo(p);
  }
  painter.setPen(QPen(blue, 2));
  painter.drawPath(path);
  // The computed frequencies as dots, while they are few enough to tell apart.
  if (c.FrequenciesMHz.size() <= 120) {
    painter.setBrush(blue);
    painter.setPen(Qt::NoPen);
    for (std::size_t k = 0; k < c.FrequenciesMHz.size(); ++k)
      painter.drawEllipse(QPointF(x(c.FrequenciesMHz[k]), y(c.Db[k])), 3, 3);
  }
}

NetworkWindow::NetworkWindow(MainWindow& main) : StudyWindow(main) {
  setObjectName("NetworkWindow");
  setWindowTitle("Network parameters");

  auto* portsBox = new QGroupBox("Ports (the voltage sources)", this);
  ports_ = new QTableWidget(0, 4, portsBox);
  ports_->setObjectName("Ports");
  ports_->setHorizontalHeaderLabels({"Port", "Element", "x [mm]", "y [mm]"});
  ports_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  ports_->setSelectionMode(QAbstractItemView::NoSelection);
  ports_->setFocusPolicy(Qt::NoFocus);
  ports_->verticalHeader()->hide();
  ports_->verticalHeader()->setDefaultSectionSize(ports_->fontMetrics().height() + 6);
  ports_->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
  noPorts_ = new QLabel("The project has no voltage source: add one on the layout page.", portsBox);
  noPorts_->setWordWrap(true);
  auto* portsLayout = new QVBoxLayout(portsBox);
  portsLayout->addWidget(noPorts_);
  portsLayout->addWidget(ports_);

  // The frequencies, as the Computation page has them.
  frequencies_ = new FrequencyPanel(main_.Ui(), this);

  auto* parameters = new QGroupBox("Network parameters", this);
  auto* form = new QFormLayout(parameters);
  reference_ = new QLineEdit("50", parameters);
  reference_->setObjectName("Reference");
  reference_->setToolTip("One value for every port, or one per port separated by commas");
  form->addRow("Reference impedance [ohm]", reference_);
  parameter_ = new QComboBox(parameters);
  parameter_->setObjectName("Parameter");
  parameter_->addItem("S (scattering)", "S");
  parameter_->addItem("Z (impedance)", "Z");
  parameter_->addItem("Y (admittance)", "Y");
  form->addRow("Parameter", parameter_);
  format_ = new QComboBox(parameters);
  format_->setObjectName("Format");
  format_->addItem("MA (magnitude, angle)", "MA");
  format_->addItem("DB (dB, angle)", "DB");
  format_->addItem("RI (real, imaginary)", "RI");
  form->addRow("Format", format_);

  const RunButtons run = MakeRunButtons(this);
  compute_ = run.Compute;
  abort_ = run.Abort;
  save_ = NamedButton("Save as Touchstone...", "SaveTouchstone", this);
  save_->setEnabled(false);
  progress_ = new QLabel(this);
  progress_->setObjectName("Progress");
  progress_->setWordWrap(true);

  row_ = new QComboBox(this);
  row_->setObjectName("ChartRow");
  column_ = new QComboBox(this);
  column_->setObjectName("ChartColumn");
  chart_ = new NetworkChartView(this);
  chart_->setObjectName("Chart");

  auto* buttons = new QHBoxLayout;
  buttons->addWidget(compute_);
  buttons->addWidget(abort_);
  buttons->addStretch();
  buttons->addWidget(save_);
  auto* left = new QVBoxLayout;
  left->addWidget(portsBox);
  left->addWidget(frequencies_);
  left->addWidget(parameters);
  left->addLayout(buttons);
  left->addWidget(progress_);
  left->addStretch(1);
  auto* pick = new QHBoxLayout;
  row_->setToolTip("i: the port that receives");
  column_->setToolTip("j: the port that is driven");
  pick->addWidget(new QLabel("Chart |Sij| in dB:   i =", this));
  pick->addWidget(row_);
  pick->addWidget(new QLabel("  j =", this));
  pick->addWidget(column_);
  pick->addStretch();
  auto* right = new QVBoxLayout;
  right->addLayout(pick);
  right->addWidget(chart_, 1);
  auto* all = new QHBoxLayout(this);
  all->addLayout(left, 2);
  all->addLayout(right, 3);

  connect(compute_, &QPushButton::clicked, this, [this] { Compute(); });
  connect(abort_, &QPushButton::clicked, this, &NetworkWindow::RequestAbort);
  connect(save_, &QPushButton::clicked, this, &NetworkWindow::ChooseAndSaveTouchstone);
  connect(row_, &QComboBox::currentIndexChanged, this, [this] { UpdateChart(); });
  connect(column_, &QComboBox::currentIndexChanged, this, [this] { UpdateChart(); });
  connect(reference_, &QLineEdit::editingFinished, this, [this] { UpdateChart(); });
  frequencies_->Apply(ComputationSettings{});
  resize(1060, 640);
}

void NetworkWindow::Open() { OpenWindow(frequencies_); }

void NetworkWindow::ProjectReplaced() {
  result_.reset();
  progress_->clear();
  save_->setEnabled(false);
  UpdateChart();
}

void NetworkWindow::RefreshRows() {
  const auto& sources = main_.CurrentProject().VoltageSources;
  noPorts_->setVisible(sources.empty());
  ports_->setVisible(!sources.empty());
  ports_->setRowCount(static_cast<int>(sources.size()));
  for (std::size_t k = 0; k < sources.size(); ++k) {
    const VoltageSource& s = sources[k];
    const QString cells[4] = {QString::number(k + 1),
                              QString("%1 %2").arg(s.IsJx ? "Jx" : "Jy").arg(s.ElementNo),
                              QString::number(s.X, 'g', 6), QString::number(s.Y, 'g', 6)};
    for (int c = 0; c < 4; ++c) {
      auto* item = new QTableWidgetItem(cells[c]);
      item->setTextAlignment(Qt::AlignCenter);
      ports_->setItem(static_cast<int>(k), c, item);
    }
  }
  // As tall as the rows, up to eight of them; more scroll.
  const int rows = std::clamp(static_cast<int>(sources.size()), 1, 8);
  ports_->setFixedHeight(ports_->horizontalHeader()->height() + rows * ports_->verticalHeader()->defaultSectionSize() +
                         2 * ports_->frameWidth());
}

ComputationSettings NetworkWindow::Settings() const {
  ComputationSettings s = main_.Computation() ? main_.Computation()->Settings() : ComputationSettings{};
  frequencies_->WriteInto(s);
  // The loads stay in place when the project has any; a board without them is a
  // network of its sources alone rather than a refused run.
  s.ImpFile = s.ImpFile && !main_.CurrentProject().Impedances.empty();
  return s;
}

void NetworkWindow::SetInputsEnabled(bool enabled) {
  for (QWidget* w : std::initializer_list<QWidget*>{reference_, parameter_, format_, compute_, row_, column_})
    w->setEnabled(enabled);
  save_->setEnabled(enabled && result_ && !result_->Points.empty());
  frequencies_->SetLocked(!enabled);
}

bool NetworkWindow::Compute() {
  if (!MayStartRun()) return false;
  SyncWithProject();
  QtUserInterface& ui = main_.Ui();
  const Project& project = main_.CurrentProject();
  // The refusals come before anything runs: no port, two ports on one element,
  // a reference impedance that is not one positive value or one per port.
  const std::optional<std::vector<network::NetworkPort>> ports = network::ProjectPorts(project, ui);
  if (!ports) return false;
  try {
    network::ParseReferenceText(S(reference_->text()), ports->size());
  } catch (const std::invalid_argument& error) {
    ui.ShowMessage(error.what());
    return false;
  }

  std::optional<network::NetworkResult> result = RunInFrame(
      abort_, progress_, [&](ComputationControl& control) { return network::RunNetwork(project, Settings(), control); });
  const bool computed = result && result->Started && !result->Points.empty();
  if (computed) {
    progress_->setText(SweepSummary(result->Aborted, result->Ports.size(), result->Points.size(), result->Unknowns));
    result_ = std::move(result);
    resultProject_ = project.ProjectFile;
    // The entries of the chart: S21 first where there is a port 2, else S11.
    const QSignalBlocker rowBlock(row_), columnBlock(column_);
    row_->clear();
    column_->clear();
    for (std::size_t k = 1; k <= result_->Ports.size(); ++k) {
      row_->addItem(QString::number(k));
      column_->addItem(QString::number(k));
    }
    row_->setCurrentIndex(result_->Ports.size() > 1 ? 1 : 0);
    column_->setCurrentIndex(0);
  } else {
    // A run that started replaces the last result even when it stopped before its
    // first frequency; one that was refused leaves it.
    if (result && result->Started) result_.reset();
    progress_->setText(result && result->Aborted ? "Aborted before the first frequency" : QString());
  }
  UpdateChart();
  FinishRun();
  return computed;
}

void NetworkWindow::ShowEntry(int i, int j) {
  row_->setCurrentIndex(i - 1);
  column_->setCurrentIndex(j - 1);
  UpdateChart();
}

void NetworkWindow::UpdateChart() {
  if (!result_ || result_->Points.empty() || row_->currentIndex() < 0 || column_->currentIndex() < 0) {
    chart_->Show(std::nullopt);
    return;
  }
  std::vector<double> references;
  try {
    references = network::ReferencesFor(result_->Ports.size(),
                                        network::ParseReferenceText(S(reference_->text()), result_->Ports.size()));
  } catch (const std::invalid_argument&) {
    return;  // the chart keeps the last valid reference until Compute or Save says why
  }
  const auto i = static_cast<std::size_t>(row_->currentIndex());
  const auto j = static_cast<std::size_t>(column_->currentIndex());
  NetworkCurve curve;
  curve.Name = "S" + std::to_string(i + 1) + (result_->Ports.size() > 9 ? "," : "") + std::to_string(j + 1);
  for (const network::NetworkPoint& point : result_->Points) {
    const std::optional<network::PortMatrix> s = network::ScatteringFromAdmittance(point.Y, references);
    if (!s) continue;
    curve.FrequenciesMHz.push_back(point.FrequencyMHz);
    curve.Db.push_back(MagnitudeDb(std::abs((*s)(i, j))));
  }
  chart_->Show(curve);
}

void NetworkWindow::ChooseAndSaveTouchstone() {
  if (!result_ || result_->Points.empty()) return;
  const std::size_t n = result_->Ports.size();
  const QString extension = QString("s%1p").arg(n);
  const QString chosen = ChooseFileToSave(this, "Save as Touchstone",
                                          QString("Touchstone file (*.%1);;All files (*)").arg(extension));
  if (!chosen.isEmpty()) SaveTouchstone(chosen);
}

bool NetworkWindow::SaveTouchstone(const QString& chosen) {
  if (!result_ || result_->Points.empty()) return false;
  QtUserInterface& ui = main_.Ui();
  const std::size_t n = result_->Ports.size();
  std::string path = S(chosen);
  if (QFileInfo(chosen).suffix().isEmpty()) path += ".s" + std::to_string(n) + "p";
  const std::optional<std::size_t> named = network::PortCountFromName(path);
  if (!named || *named != n) {
    ui.ShowMessage(network::TouchstoneNameMessage(n));
    return false;
  }
  network::TouchstoneData data;
  try {
    const std::vector<double> references = network::ParseReferenceText(S(reference_->text()), n);
    const auto parameter = S(parameter_->currentData().toString());
    const auto format = S(format_->currentData().toString());
    data = network::NetworkTouchstone(*result_, resultProject_,
                             parameter == "Z"   ? network::NetworkParameter::Z
                             : parameter == "Y" ? network::NetworkParameter::Y
                                                : network::NetworkParameter::S,
                             format == "DB"   ? network::PairFormat::DB
                             : format == "RI" ? network::PairFormat::RI
                                              : network::PairFormat::MA,
                             references);
  } catch (const std::exception& error) {
    ui.ShowMessage(error.what());
    return false;
  }
  if (!MayWrite(ui, path)) return false;
  try {
    network::WriteTouchstone(path, data);
  } catch (const std::exception& error) {
    ui.ShowMessage(error.what());
    return false;
  }
  progress_->setText(Q("Saved " + std::filesystem::path(path).filename().string()));
  return true;
}

}  // namespace lumetra::gui
