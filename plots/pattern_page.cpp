#include "plots/pattern_page.h"

#include <QButtonGroup>
#include <QColorDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QToolButton>
#include <QVBoxLayout>

#include "editor/hints.h"
#include "fields/result_files.h"
#include "model/file_io.h"
#include "model/project_files.h"
#include "plots/cut_dialog.h"
#include "plots/db_scale_dialog.h"
#include "plots/frequency_choice.h"
#include "plots/pattern_print.h"
#include "plots/pattern_units.h"

namespace lumetra::gui {

namespace {

constexpr const char* SelectAngleMessage = "You must select an angle to plot!";

QString Q(const std::string& text) { return QString::fromStdString(text); }

}  // namespace

PatternPage::PatternPage(std::function<std::filesystem::path()> projectFile, UserInterface& ui,
                         ShellOptions& options, QWidget* parent)
    : QWidget(parent), projectFile_(std::move(projectFile)), ui_(ui), options_(options) {
  setObjectName("RadiationPattern");
  canvas_ = new PatternCanvas(this);
  canvas_->setContextMenuPolicy(Qt::CustomContextMenu);
  connect(canvas_, &QWidget::customContextMenuRequested, this, &PatternPage::ShowColorMenu);
  cutDialog_ = new CutDialog(this);
  dbDialog_ = new DbScaleDialog(ui_, this);

  auto* labels = new QVBoxLayout;
  frequency_ = Label("PlotFrequency", "Frequency:");
  scale_ = Label("Scale", "Scale: Linear");
  maximum_ = Label("Maximum", "Max:");
  cutSelection_ = Label("CutSelection", "Cut: Not defined");
  selection_ = Label("Selection", "Selection: None");
  for (QLabel* label : {frequency_, scale_, maximum_, cutSelection_, selection_})
    labels->addWidget(label);
  // The field strength at a distance, beside the amplitude in V of the file.
  auto* distanceRow = new QHBoxLayout;
  auto* distanceLabel = new QLabel("Field at distance [m]:", this);
  distance_ = new QLineEdit("3", this);
  distance_->setObjectName("FieldDistance");
  distance_->setMaximumWidth(70);
  SetHint(distance_, "Distance at which the field strength is given in dBuV/m");
  distanceRow->addWidget(distanceLabel);
  distanceRow->addWidget(distance_);
  distanceRow->addStretch();
  labels->addSpacing(8);
  labels->addLayout(distanceRow);
  fieldStrength_ = Label("FieldStrength", "");
  angleNote_ = Label("AngleNote", "");
  angleNote_->setWordWrap(true);
  labels->addWidget(fieldStrength_);
  labels->addWidget(angleNote_);
  labels->addStretch();
  connect(distance_, &QLineEdit::editingFinished, this, &PatternPage::Redraw);

  eTheta_ = Button("ETheta", "ETheta", "Plot the theta component of the far field");
  ePhi_ = Button("EPhi", "Ephi", "Plot the phi component of the far field");
  eTot_ = Button("ETot", "Etot", "Plot the total far field");
  gain_ = Button("Gain", "Gain", "Plot the power gain");
  auto* group = new QButtonGroup(this);
  const std::pair<QToolButton*, PatternQuantity> quantities[] = {
      {eTheta_, PatternQuantity::ETheta},
      {ePhi_, PatternQuantity::EPhi},
      {eTot_, PatternQuantity::ETot},
      {gain_, PatternQuantity::Gain}};
  for (auto [button, quantity] : quantities) {
    button->setCheckable(true);
    group->addButton(button);
    connect(button, &QToolButton::clicked, this, [this, q = quantity] { SelectQuantity(q); });
  }
  eTheta_->setChecked(true);
  connect(Button("Cut", "Cut", "Select the cut through the radiation pattern"),
          &QToolButton::clicked, this, &PatternPage::ChooseCut);
  connect(Button("LinLog", "Lin/Log", "Switch between linear and logarithmic scale"),
          &QToolButton::clicked, this, &PatternPage::ToggleScale);
  connect(Button("SpeedButton18", "dB scale", "Set the dB per division of the logarithmic scale"),
          &QToolButton::clicked, this, &PatternPage::ChooseDbScale);
  // Named like the other pages' print buttons: the desktop may have no icon theme.
  auto* print = Button("SpeedButton14", "Print", "Print radiation pattern on the active printer");
  connect(print, &QToolButton::clicked, this, &PatternPage::Print);

  // The frequency is shared with the other result pages; this asks for another.
  connect(Button("ChooseFrequency", "f...", "Choose the frequency to plot"),
          &QToolButton::clicked, this, [this] {
            Enter(true);
            Redraw();
          });

  auto* bar = new QHBoxLayout;
  for (const char* name : {"ChooseFrequency", "ETheta", "EPhi", "ETot", "Gain", "Cut", "LinLog",
                           "SpeedButton18", "SpeedButton14"})
    bar->addWidget(findChild<QToolButton*>(name));
  bar->addStretch();

  auto* layout = new QGridLayout(this);
  // The texts have a column of their own, so they never lie over the diagram.
  layout->addLayout(labels, 0, 0, Qt::AlignLeft | Qt::AlignTop);
  layout->addWidget(canvas_, 0, 1);
  layout->addLayout(bar, 1, 0, 1, 2);
  layout->setRowStretch(0, 1);
  layout->setColumnStretch(1, 1);
}

QToolButton* PatternPage::Button(const char* name, const QString& caption, const QString& hint) {
  auto* button = new QToolButton(this);
  button->setObjectName(name);
  button->setText(caption);
  SetHint(button, hint);
  return button;
}

QLabel* PatternPage::Label(const char* name, const QString& text) {
  auto* label = new QLabel(text, this);
  label->setObjectName(name);
  label->setStyleSheet("QLabel { color: navy; font-weight: bold; }");
  label->setAttribute(Qt::WA_TransparentForMouseEvents);
  // Wide enough for the longest text, so a new text never waits for a relayout.
  QFont bold = label->font();
  bold.setBold(true);
  label->setMinimumWidth(
      QFontMetrics(bold).horizontalAdvance("Scale: Logarithmic, 0.0123456789 [dB/div]"));
  return label;
}

std::filesystem::path PatternPage::FarFieldFile() const {
  const std::filesystem::path project = projectFile_ ? projectFile_() : std::filesystem::path();
  if (project.empty()) return {};
  return ProjectFileWithExtension(project, ".RAD");
}

void PatternPage::Enter(bool askAgain) {
  hasCurve_ = false;
  canvas_->SetCurve(nullptr);
  quantity_ = PatternQuantity::ETheta;
  eTheta_->setChecked(true);
  gain_->setEnabled(GainAvailable(options_.InputPower));
  logScale_ = false;
  frequency_->setText("Frequency:");
  scale_->setText("Scale: Linear");
  maximum_->setText("Max:");
  cutSelection_->setText("Cut: Not defined");
  selection_->setText(Q(SelectionLabel(quantity_)));
  fieldStrength_->clear();
  angleNote_->clear();
  options_.CutAngle = -1.0;
  const std::filesystem::path file = FarFieldFile();
  if (file.empty() || !std::filesystem::exists(file)) return;
  std::vector<double> frequencies;
  try {
    std::string tail;  // an interrupted run's incomplete last block, set aside
    frequencies = ScanFrequencies(file, FarFieldFileFields, &tail);
    if (!tail.empty()) ui_.ShowWarning(tail);
  } catch (const FileError& error) {
    ui_.ShowMessage(error.what());
    return;
  }
  if (frequencies.empty()) return;
  options_.SelectedFrequency = 0.0;
  askingAgain_ = askAgain;
  const std::optional<double> chosen = ChoosePlotFrequency(frequencies, chooser_, ui_);
  askingAgain_ = false;
  if (chosen) options_.SelectedFrequency = *chosen;
  canvas_->update();
}

void PatternPage::Redraw() {
  hasCurve_ = false;
  if (options_.CutAngle > -1.0) {
    try {
      const std::filesystem::path file = FarFieldFile();
      const std::optional<ResultBlock> block =
          file.empty() || !std::filesystem::exists(file)
              ? std::nullopt
              : FindBlock(file, options_.SelectedFrequency, FarFieldFileFields);
      if (block) {
        frequency_->setText(Q(FrequencyLabel(block->Frequency)));
        curve_.Points = ExtractCut(*block, cutDialog_->Kind(), options_.CutAngle, quantity_,
                                   options_.InputPower);
        curve_.Scaled = ScaleCut(curve_.Points, quantity_, logScale_, options_.DbPerDivision);
        maximum_->setText(Q(curve_.Scaled.MaximumLabel));
        if (curve_.Scaled.ScaleLabel) scale_->setText(Q(*curve_.Scaled.ScaleLabel));
        const std::optional<double> distance = Distance();
        curve_.RingLabels = RingLabels(curve_.Scaled.Maximum, quantity_, logScale_,
                                       options_.DbPerDivision, distance);
        curve_.ZeroMark = AngleZeroMark(cutDialog_->Kind());
        fieldStrength_->setText(
            distance ? Q(FieldStrengthLabel(curve_.Scaled.Maximum, quantity_, *distance))
                     : QString("Distance must be a positive number"));
        angleNote_->setText(Q(AngleNote(cutDialog_->Kind())));
        hasCurve_ = true;
      }
    } catch (const FileError& error) {
      ui_.ShowMessage(error.what());
    }
  }
  canvas_->SetCurve(hasCurve_ ? &curve_ : nullptr);
}

std::optional<double> PatternPage::Distance() const {
  return ParseDistance(distance_->text().trimmed().replace(',', '.').toStdString());
}

void PatternPage::SelectQuantity(PatternQuantity quantity) {
  quantity_ = quantity;
  selection_->setText(Q(SelectionLabel(quantity)));
  Redraw();
}

void PatternPage::ChooseCut() {
  const std::filesystem::path file = FarFieldFile();
  std::vector<double> frequencies;
  try {
    if (!file.empty() && std::filesystem::exists(file))
      frequencies = ScanFrequencies(file, FarFieldFileFields);
  } catch (const FileError& error) {
    ui_.ShowMessage(error.what());
    Redraw();
    return;
  }
  if (frequencies.empty()) {
    ui_.ShowMessage(NoDataToPlotMessage);
    Redraw();
    return;
  }
  // The lists come from the first block, whatever frequency is shown.
  const std::optional<ResultBlock> first =
      FindBlock(file, frequencies.front(), FarFieldFileFields);
  cutDialog_->SetAngles(first ? CutAngles(*first) : CutAngleLists{});
  if (cutDialog_->exec() == QDialog::Accepted) {
    const std::optional<double> angle = cutDialog_->SelectedAngle();
    if (angle) {
      options_.CutAngle = *angle;
      cutSelection_->setText(Q(CutLabel(cutDialog_->Kind(), *angle)));
    } else {
      ui_.ShowMessage(SelectAngleMessage);
    }
  }
  Redraw();
}

void PatternPage::ToggleScale() {
  logScale_ = !logScale_;
  scale_->setText(Q(ScaleLabel(logScale_, options_.DbPerDivision)));
  Redraw();
}

void PatternPage::ChooseDbScale() {
  dbDialog_->Edit(options_.DbPerDivision);
  if (logScale_) scale_->setText(Q(ScaleLabel(true, options_.DbPerDivision)));
  Redraw();
}

void PatternPage::Print() {
  const auto confirmed = [this] {
    return confirmPrint_ ? confirmPrint_(*printer_)
                         : QPrintDialog(printer_, this).exec() == QDialog::Accepted;
  };
  if (options_.CutAngle > -1.0 && printer_ && hasCurve_ && confirmed()) {
    PatternPrintout printout;
    printout.ThetaCut = cutDialog_->Kind() == CutKind::ThetaConstant;
    printout.CutAngle = options_.CutAngle;
    printout.Quantity = quantity_;
    printout.LogScale = logScale_;
    printout.DbPerDivision = options_.DbPerDivision;
    printout.Maximum = curve_.Scaled.Maximum;
    printout.FrequencyMHz = options_.SelectedFrequency;
    printout.ProjectFile = projectFile_ ? projectFile_().string() : std::string();
    QPainter painter(printer_);
    const QRect page = painter.viewport();
    QFont font = painter.font();
    font.setPixelSize(std::max(8, std::min(page.width(), page.height()) / 60));
    painter.setFont(font);
    painter.setPen(Qt::black);
    const int step = QFontMetrics(font).lineSpacing();
    int y = step;
    for (const std::string& line : PatternPrintLines(printout)) {
      painter.drawText(step, y, Q(line));
      y += step;
    }
    // The grid and cut by the screen rules, in the rest of the page below the text.
    painter.translate(0, y);
    PaintPattern(painter, page.width(), page.height() - y, &curve_, canvas_->GridColor,
                 canvas_->CurveColor);
  }
  Redraw();
}

void PatternPage::ShowColorMenu(const QPoint& at) {
  QMenu menu(this);
  QAction* curve = menu.addAction("Color of curve...");
  menu.addAction("Color of grid...");
  QAction* chosen = menu.exec(canvas_->mapToGlobal(at));
  if (!chosen) return;
  QColor& color = chosen == curve ? canvas_->CurveColor : canvas_->GridColor;
  const QColor picked = QColorDialog::getColor(color, this);
  if (picked.isValid()) color = picked;
  Redraw();
}

}  // namespace lumetra::gui
