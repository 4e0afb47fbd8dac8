#include "app/kicad_import_dialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QFontDatabase>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>
#include <set>

#include "app/file_chooser.h"
#include "editor/checked_dialog.h"
#include "editor/hints.h"
#include "import/imported_project_file.h"
#include "import/kicad_import_report.h"
#include "import/kicad_net_list.h"
#include "import/stackup_environment.h"
#include "model/file_io.h"

namespace lumetra::gui {

namespace {

enum NetColumn { NetName, NetTracks, NetLength, NetPads, NetColumns };

// A table cell that shows a number and sorts by its value, not its text.
class NumberItem : public QTableWidgetItem {
public:
  NumberItem(double value, int decimals)
      : QTableWidgetItem(QString::number(value, 'f', decimals)), value_(value) {
    setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
  }
  bool operator<(const QTableWidgetItem& other) const override {
    if (const auto* number = dynamic_cast<const NumberItem*>(&other)) return value_ < number->value_;
    return QTableWidgetItem::operator<(other);
  }

private:
  double value_;
};

// A number the user typed in a field of the form.
double FieldNumber(const QLineEdit* field, const QString& what) {
  bool ok = false;
  const double value = field->text().trimmed().toDouble(&ok);
  if (!ok || !std::isfinite(value))
    throw KicadImportError(what.toStdString() + " \"" + field->text().toStdString() +
                           "\" is not a number");
  return value;
}

QString Short(double value) { return QString::number(value, 'g', 4); }

}  // namespace

// ---------------------------------------------------------------------------

LayoutPreview::LayoutPreview(QWidget* parent) : QWidget(parent) {
  setObjectName("Preview");
  setMinimumSize(240, 180);
  setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

void LayoutPreview::Show(const Project& project) {
  segments_ = project.Segments;
  boardLx_ = project.PcbLx;
  boardLy_ = project.PcbLy;
  text_.clear();
  update();
}

void LayoutPreview::Clear(const QString& text) {
  segments_.clear();
  text_ = text;
  update();
}

void LayoutPreview::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  const QRectF area = QRectF(rect()).adjusted(6, 6, -6, -6);
  painter.fillRect(rect(), QColor(250, 250, 246));
  painter.setPen(QColor(160, 160, 160));
  painter.drawRect(rect().adjusted(0, 0, -1, -1));
  if (segments_.empty()) {
    painter.setPen(Qt::darkGray);
    painter.drawText(area, Qt::AlignCenter | Qt::TextWordWrap, text_);
    return;
  }
  // The copper's extent with a margin of a tenth of it, so that a short net fills
  // the view instead of vanishing on a large board.
  double xMin = INFINITY, yMin = INFINITY, xMax = -INFINITY, yMax = -INFINITY;
  for (const Segment& s : segments_) {
    xMin = std::min(xMin, s.Xc - s.Lx / 2);
    xMax = std::max(xMax, s.Xc + s.Lx / 2);
    yMin = std::min(yMin, s.Yc - s.Ly / 2);
    yMax = std::max(yMax, s.Yc + s.Ly / 2);
  }
  const double margin = 0.1 * std::max({xMax - xMin, yMax - yMin, 1.0});
  xMin -= margin;
  xMax += margin;
  yMin -= margin;
  yMax += margin;
  const double scale = std::min(area.width() / (xMax - xMin), area.height() / (yMax - yMin));
  // Centred in the widget; y grows upwards on the board, downwards on the screen.
  const double left = area.center().x() - scale * (xMin + xMax) / 2;
  const double top = area.center().y() + scale * (yMin + yMax) / 2;
  auto toScreen = [&](double x, double y) { return QPointF(left + scale * x, top - scale * y); };

  painter.setRenderHint(QPainter::Antialiasing, false);
  painter.setClipRect(area);
  // The board's edge, where it falls into the view.
  painter.fillRect(area, QColor(236, 236, 230));
  painter.setPen(QPen(QColor(20, 60, 35), 1));
  painter.setBrush(QColor(0, 94, 56));
  painter.drawRect(QRectF(toScreen(0, boardLy_), toScreen(boardLx_, 0)));
  // Segments at least a pixel wide, so that a thin track on a large net stays visible.
  painter.setPen(Qt::NoPen);
  painter.setBrush(QColor(214, 164, 64));
  for (const Segment& s : segments_) {
    QRectF box(toScreen(s.Xc - s.Lx / 2, s.Yc + s.Ly / 2), toScreen(s.Xc + s.Lx / 2, s.Yc - s.Ly / 2));
    if (box.width() < 1.0) box.adjust(-(1.0 - box.width()) / 2, 0, (1.0 - box.width()) / 2, 0);
    if (box.height() < 1.0) box.adjust(0, -(1.0 - box.height()) / 2, 0, (1.0 - box.height()) / 2);
    painter.drawRect(box);
  }
  // A scale bar of a round length, about a fifth of the view.
  const double wanted = (xMax - xMin) / 5;
  const double power = std::pow(10.0, std::floor(std::log10(wanted)));
  const double bar = wanted / power >= 5 ? 5 * power : wanted / power >= 2 ? 2 * power : power;
  const QPointF end(area.right() - 8, area.bottom() - 8);
  const QPointF start(end.x() - bar * scale, end.y());
  painter.fillRect(QRectF(start.x() - 44, end.y() - 22, bar * scale + 88, 27),
                   QColor(255, 255, 255, 210));
  painter.setPen(QPen(Qt::black, 1));
  painter.drawLine(start, end);
  painter.drawLine(start, start - QPointF(0, 4));
  painter.drawLine(end, end - QPointF(0, 4));
  painter.drawText(QRectF(start.x() - 40, end.y() - 20, bar * scale + 80, 14), Qt::AlignCenter,
                   QString::number(bar, 'g', 3) + " mm");
}

// ---------------------------------------------------------------------------

KicadImportDialog::KicadImportDialog(UserInterface& ui, QWidget* parent)
    : QDialog(parent), ui_(ui) {
  setObjectName("KicadImportDialog");
  setWindowTitle("Import KiCad board");
  auto* body = new QVBoxLayout(this);

  auto* fileRow = new QHBoxLayout;
  fileRow->addWidget(new QLabel("Board file:"));
  file_ = new QLineEdit;
  file_->setObjectName("BoardFile");
  file_->setReadOnly(true);
  file_->setPlaceholderText("a KiCad board, .kicad_pcb");
  fileRow->addWidget(file_, 1);
  auto* browse = new QPushButton("&Browse...");
  browse->setObjectName("Browse");
  SetHint(browse, "Choose the KiCad board file to import nets from");
  connect(browse, &QPushButton::clicked, this, &KicadImportDialog::Browse);
  fileRow->addWidget(browse);
  body->addLayout(fileRow);

  auto* columns = new QHBoxLayout;
  body->addLayout(columns, 1);

  // Left: the nets of the layer.
  auto* left = new QVBoxLayout;
  columns->addLayout(left, 3);
  auto* layerRow = new QHBoxLayout;
  auto* layerLabel = new QLabel("Copper &layer:");
  layerRow->addWidget(layerLabel);
  layer_ = new QComboBox;
  layer_->setObjectName("Layer");
  layerLabel->setBuddy(layer_);
  SetHint(layer_, "The copper layer whose tracks and pads are imported");
  layerRow->addWidget(layer_, 1);
  left->addLayout(layerRow);
  nets_ = new QTableWidget(0, NetColumns);
  nets_->setObjectName("Nets");
  nets_->setHorizontalHeaderLabels({"Net", "Tracks", "Length [mm]", "Pads"});
  nets_->setSelectionBehavior(QAbstractItemView::SelectRows);
  nets_->setSelectionMode(QAbstractItemView::ExtendedSelection);
  nets_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  nets_->verticalHeader()->hide();
  nets_->verticalHeader()->setDefaultSectionSize(nets_->fontMetrics().height() + 6);
  nets_->horizontalHeader()->setSectionResizeMode(NetName, QHeaderView::Stretch);
  for (int column : {NetTracks, NetLength, NetPads})
    nets_->horizontalHeader()->setSectionResizeMode(column, QHeaderView::ResizeToContents);
  nets_->setSortingEnabled(true);
  nets_->sortByColumn(NetName, Qt::AscendingOrder);
  nets_->setMinimumWidth(330);
  SetHint(nets_, "The nets to import: Ctrl or Shift and a click select several; a click on a "
                 "heading sorts the table");
  left->addWidget(nets_, 1);

  // Right: the settings and the preview.
  auto* right = new QVBoxLayout;
  columns->addLayout(right, 4);
  auto* form = new QFormLayout;
  right->addLayout(form);
  auto field = [&](const char* name, const QString& label, const QString& unit,
                   const QString& hint) {
    auto* edit = new QLineEdit;
    edit->setObjectName(name);
    edit->setMaximumWidth(110);
    SetHint(edit, hint);
    connect(edit, &QLineEdit::textEdited, this, &KicadImportDialog::Recompute);
    auto* row = new QHBoxLayout;
    row->addWidget(edit);
    row->addWidget(new QLabel(unit), 1);
    auto* caption = new QLabel(label);
    caption->setBuddy(edit);
    form->addRow(caption, row);
    return edit;
  };
  frequency_ = field("MaxFrequency", "Highest &frequency:", "MHz",
                     "The highest frequency to compute: it sets how long a charge cell may be");
  frequency_->setText("1000");
  grid_ = field("Grid", "Snap &grid:", "mm",
                "The import's grid for these nets; a value typed here is used as given");
  cell_ = field("LongestCell", "Longest &charge cell:", "mm",
                "At most 1/20 of the wavelength in the substrate at the highest frequency; a "
                "value typed here is used as given");
  cellsAcross_ = new QSpinBox;
  cellsAcross_->setObjectName("CellsAcross");
  cellsAcross_->setRange(1, 50);
  cellsAcross_->setValue(1);
  SetHint(cellsAcross_, "Charge cells across a track's width");
  connect(cellsAcross_, &QSpinBox::valueChanged, this, &KicadImportDialog::Recompute);
  auto* acrossRow = new QHBoxLayout;
  acrossRow->addWidget(cellsAcross_);
  auto* acrossHint = new QLabel("impedance work wants 3: one cell across overestimates the "
                                "characteristic impedance");
  acrossHint->setWordWrap(true);
  acrossRow->addWidget(acrossHint, 1);
  auto* acrossLabel = new QLabel("Cells &across a track:");
  acrossLabel->setBuddy(cellsAcross_);
  form->addRow(acrossLabel, acrossRow);
  plane_ = field("GroundPlane", "Ground-plane &height:", "mm",
                 "The dielectric between this layer and the nearest plane in the stackup");
  plane_->setPlaceholderText("none");
  permittivity_ = field("Permittivity", "&Permittivity:", "",
                        "Relative permittivity of that dielectric, from the stackup");
  auto* proposals = new QPushButton("P&roposals");
  proposals->setObjectName("Proposals");
  SetHint(proposals, "Put back the values the import chooses from the board");
  connect(proposals, &QPushButton::clicked, this, &KicadImportDialog::ResetProposals);
  auto* proposalsRow = new QHBoxLayout;
  proposalsRow->addWidget(proposals);
  proposalsRow->addStretch(1);
  form->addRow("", proposalsRow);

  previewWidget_ = new LayoutPreview;
  previewWidget_->Clear("Choose a board file");
  right->addWidget(previewWidget_, 1);
  // Counts and warnings; a few lines high, so that a long list of warnings
  // scrolls rather than squeezing the preview.
  summary_ = new QPlainTextEdit;
  summary_->setObjectName("Summary");
  summary_->setReadOnly(true);
  summary_->setFrameShape(QFrame::NoFrame);
  summary_->viewport()->setAutoFillBackground(false);
  summary_->setFixedHeight(summary_->fontMetrics().lineSpacing() * 5 + 8);
  right->addWidget(summary_);

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
  buttons->button(QDialogButtonBox::Ok)->setObjectName("OK");
  buttons->button(QDialogButtonBox::Cancel)->setObjectName("Cancel");
  connect(buttons, &QDialogButtonBox::accepted, this, &KicadImportDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &KicadImportDialog::reject);
  body->addWidget(buttons);

  connect(layer_, &QComboBox::currentTextChanged, this, [this] {
    if (updating_) return;
    FillNets();
    Recompute();
  });
  connect(nets_, &QTableWidget::itemSelectionChanged, this, [this] {
    if (!updating_) Recompute();
  });
  resize(1000, 680);
}

std::optional<KicadImportResult> KicadImportDialog::Ask() {
  result_.reset();
  exec();
  return result_;
}

void KicadImportDialog::Browse() {
  const QString path = ChooseFileToOpen(this, "Import KiCad Board", "KiCad Boards (*.kicad_pcb)");
  if (!path.isEmpty()) LoadBoard(path);
}

bool KicadImportDialog::LoadBoard(const QString& path) {
  try {
    board_ = ReadKicadBoard(path.toStdString());
  } catch (const FileError& error) {
    ui_.ShowMessage(error.what());
    return false;
  }
  boardPath_ = path;
  file_->setText(QFileInfo(path).absoluteFilePath());
  preview_.reset();
  FillLayers();
  FillNets();
  ResetProposals();
  return true;
}

void KicadImportDialog::FillLayers() {
  updating_ = true;
  layer_->clear();
  for (const std::string& name : KicadCopperLayers(*board_))
    layer_->addItem(QString::fromStdString(name));
  updating_ = false;
}

void KicadImportDialog::FillNets() {
  const std::vector<std::string> chosen = SelectedNets();
  updating_ = true;
  nets_->setSortingEnabled(false);
  nets_->clearContents();
  nets_->setRowCount(0);
  if (board_ && !layer_->currentText().isEmpty()) {
    const std::vector<KicadNetSummary> nets =
        SummariseNets(*board_, layer_->currentText().toStdString());
    nets_->setRowCount(static_cast<int>(nets.size()));
    for (int row = 0; row < static_cast<int>(nets.size()); ++row) {
      const KicadNetSummary& net = nets[static_cast<std::size_t>(row)];
      const KicadNetOnLayer& use = net.layers.front();
      nets_->setItem(row, NetName, new QTableWidgetItem(QString::fromStdString(net.name)));
      nets_->setItem(row, NetTracks, new NumberItem(use.tracks, 0));
      nets_->setItem(row, NetLength, new NumberItem(use.lengthMm, 2));
      nets_->setItem(row, NetPads, new NumberItem(net.pads, 0));
    }
  }
  nets_->setSortingEnabled(true);
  // The nets chosen before stay chosen where the new layer has them.
  for (int row = 0; row < nets_->rowCount(); ++row)
    if (std::find(chosen.begin(), chosen.end(), nets_->item(row, NetName)->text().toStdString()) !=
        chosen.end())
      nets_->selectRow(row);
  updating_ = false;
}

std::vector<std::string> KicadImportDialog::SelectedNets() const {
  std::vector<std::string> names;
  for (int row = 0; row < nets_->rowCount(); ++row)
    if (QTableWidgetItem* item = nets_->item(row, NetName); item && item->isSelected())
      names.push_back(item->text().toStdString());
  return names;
}

KicadImportOptions KicadImportDialog::Options() const {
  KicadImportOptions options;
  options.nets = SelectedNets();
  options.layer = layer_->currentText().toStdString();
  options.cellsAcross = cellsAcross_->value();
  options.maxUnknownsPerDirection = maxUnknowns_;
  options.maxFrequencyMHz = FieldNumber(frequency_, "the highest frequency");
  // A field counts as given once the user has typed in it (and not emptied it).
  auto given = [](const QLineEdit* field) {
    return field->isModified() && !field->text().trimmed().isEmpty();
  };
  if (given(grid_)) options.gridMm = FieldNumber(grid_, "the grid");
  if (given(plane_)) options.groundPlaneMm = FieldNumber(plane_, "the ground-plane height");
  if (given(permittivity_)) options.dielectric = FieldNumber(permittivity_, "the permittivity");
  if (given(cell_) && board_) {
    const double cell = FieldNumber(cell_, "the longest charge cell");
    if (!(cell > 0.0)) throw KicadImportError("the longest charge cell must be positive");
    // The import sizes cells as a fraction of the wavelength; a length typed here
    // is that fraction for the frequency and substrate given.
    if (options.maxFrequencyMHz > 0.0)
      options.cellsPerWavelength = CellWavelengthMm(*board_, options) / cell;
  }
  return options;
}

void KicadImportDialog::ResetProposals() {
  for (QLineEdit* field : {grid_, cell_, plane_, permittivity_}) {
    field->clear();
    field->setModified(false);
  }
  Recompute();
}

void KicadImportDialog::Recompute() {
  if (updating_) return;
  preview_.reset();
  if (!board_) {
    previewWidget_->Clear("Choose a board file");
    summary_->clear();
    return;
  }
  auto propose = [](QLineEdit* field, const QString& text) {
    if (!field->isModified()) field->setText(text);
  };
  KicadImportOptions options;
  try {
    options = Options();
  } catch (const KicadImportError& error) {
    previewWidget_->Clear("");
    summary_->setPlainText(QString::fromStdString(error.what()));
    return;
  }
  // The environment comes from the stackup whether or not nets are chosen.
  const std::optional<PlaneBelow> plane = GroundPlaneFromStackup(*board_, options.layer);
  propose(plane_, plane ? NumberText(plane->heightMm) : QString());
  plane_->setToolTip(plane ? QString::fromStdString(plane->how)
                           : "No other copper layer: the traces are in free space");
  propose(permittivity_, NumberText(ImportPermittivity(*board_, options)));
  if (options.maxFrequencyMHz > 0.0)
    propose(cell_, Short(CellWavelengthMm(*board_, options) / options.cellsPerWavelength));
  if (options.nets.empty()) {
    propose(grid_, QString());
    previewWidget_->Clear("Select one or more nets in the table");
    summary_->setPlainText("Select the nets to import; Ctrl or Shift and a click select several.");
    return;
  }
  try {
    preview_ = ImportKicadNets(*board_, options, boardPath_.toStdString());
  } catch (const std::exception& error) {
    previewWidget_->Clear("");
    summary_->setPlainText(QString::fromStdString(error.what()));
    return;
  }
  const KicadImportReport& report = preview_->report;
  propose(grid_, NumberText(report.gridMm));
  grid_->setToolTip(QString::fromStdString(report.gridRule));
  propose(cell_, Short(report.maxCellMm));
  previewWidget_->Show(preview_->project);
  QString text = QString("%1 segments, %2 unknowns (%3 Jx, %4 Jy); board %5 x %6 mm")
                     .arg(report.segments)
                     .arg(report.unknowns)
                     .arg(report.jx)
                     .arg(report.jy)
                     .arg(preview_->project.PcbLx)
                     .arg(preview_->project.PcbLy);
  for (const std::string& warning : report.warnings)
    text += "\nWarning: " + QString::fromStdString(warning);
  summary_->setPlainText(text);
}

void KicadImportDialog::accept() {
  if (!board_) {
    ui_.ShowMessage("Choose the KiCad board file to import");
    return;
  }
  KicadImportOptions options;
  KicadImport imported;
  try {
    options = Options();
    imported = ImportKicadNets(*board_, options, boardPath_.toStdString());
  } catch (const std::exception& error) {
    // A refusal of the import: its own words, and the form stays for a correction.
    ui_.ShowMessage(error.what());
    return;
  }
  const QString file = ChooseFileToSave(this, "Save Imported Project", "Project Files (*.PRO)");
  if (file.isEmpty()) return;
  if (!SaveImportedProject(imported.project, file.toStdString(), ui_)) return;
  const std::string report =
      FormatImportReport(imported.report, options.maxFrequencyMHz, options.cellsPerWavelength) +
      "Saved " + imported.project.ProjectFile + "\n";
  result_ = KicadImportResult{QString::fromStdString(imported.project.ProjectFile),
                              QString::fromStdString(report)};
  QDialog::accept();
}

// ---------------------------------------------------------------------------

void ShowImportReport(QWidget* parent, const QString& report) {
  auto* window = parent->findChild<QDialog*>("KicadImportReport");
  if (!window) {
    window = new QDialog(parent);
    window->setObjectName("KicadImportReport");
    window->setWindowTitle("KiCad import");
    auto* layout = new QVBoxLayout(window);
    auto* text = new QPlainTextEdit;
    text->setObjectName("ReportText");
    text->setReadOnly(true);
    // Wide enough for the table of nets; longer lines (warnings) wrap.
    text->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    text->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    layout->addWidget(text);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close);
    QObject::connect(buttons, &QDialogButtonBox::rejected, window, &QDialog::hide);
    layout->addWidget(buttons);
    window->resize(960, 340);
  }
  window->findChild<QPlainTextEdit*>("ReportText")->setPlainText(report);
  window->show();
  window->raise();
}

}  // namespace lumetra::gui
