#include "plots/plot_utility_window.h"

#include <QApplication>
#include <QBuffer>
#include <QChart>
#include <QCheckBox>
#include <QClipboard>
#include <QCloseEvent>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLegend>
#include <QLineSeries>
#include <QMenuBar>
#include <QMimeData>
#include <QPdfWriter>
#include <QPainter>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QSvgGenerator>
#include <QVBoxLayout>

#include "editor/window_placement.h"
#include "fields/plot_cuts.h"
#include "model/file_io.h"
#include "model/number_format.h"
#include "plots/chart_edit_dialogs.h"
#include "plots/picture_file.h"
#include "plots/touchstone_curves.h"
#include "plots/plot_question_dialogs.h"
#include "plots/utility_chart.h"

namespace lumetra::gui {

namespace {

const char* const Caption = "Plot utility";

QAction* Entry(QMenu* menu, const char* name, const QString& caption) {
  QAction* action = menu->addAction(caption);
  action->setObjectName(name);
  return action;
}

QAction* Toggle(QMenu* menu, const char* name, const QString& caption, bool checked) {
  QAction* action = Entry(menu, name, caption);
  action->setCheckable(true);
  action->setChecked(checked);
  return action;
}

// The chart as SVG; the first form carries the chart title as its title.
void WriteSvg(UtilityChart& chart, QIODevice& device, bool described) {
  QSvgGenerator svg;
  svg.setOutputDevice(&device);
  svg.setSize(chart.size());
  svg.setViewBox(QRect(QPoint(), chart.size()));
  if (described) {
    svg.setTitle(chart.chart()->title());
    svg.setDescription(Caption);
  }
  QPainter painter(&svg);
  chart.Render(painter, QRectF(QPointF(), chart.size()));
}

// The chart as one PDF page of the chart's own size at the screen's resolution:
// drawn one to one, so the texts keep the widths the chart laid them out with.
void WritePdf(UtilityChart& chart, QIODevice& device) {
  QPdfWriter pdf(&device);
  pdf.setTitle(chart.chart()->title());
  pdf.setCreator(Caption);
  const int dpi = std::max(1, chart.logicalDpiX());
  pdf.setResolution(dpi);
  pdf.setPageMargins(QMarginsF());
  pdf.setPageSize(QPageSize(QSizeF(chart.size()) * 72.0 / dpi, QPageSize::Point));
  QPainter painter(&pdf);
  chart.Render(painter, QRectF(QPointF(), QSizeF(chart.size())));
}

QImage Picture(UtilityChart& chart) {
  QImage image(chart.size(), QImage::Format_RGB32);
  image.fill(Qt::white);
  QPainter painter(&image);
  chart.Render(painter, QRectF(image.rect()));
  return image;
}

}  // namespace

PlotUtilityWindow::PlotUtilityWindow(UserInterface& ui, QWidget* parent)
    : QMainWindow(parent, Qt::Window), ui_(ui) {
  setObjectName("PlotUtility");
  setWindowTitle(Caption);
  auto* central = new QWidget(this);
  auto* layout = new QVBoxLayout(central);
  chart_ = new UtilityChart(central);
  layout->addWidget(chart_, 1);
  auto* row = new QHBoxLayout;
  const char* captions[] = {"Real-part", "Imaginary-part", "Amplitude", "Phase"};
  for (int i = 0; i < 4; ++i) {
    auto* box = new QCheckBox(captions[i], central);
    box->setObjectName(QString("CheckBox%1").arg(i + 1));
    box->setChecked(i == 0);
    box->installEventFilter(this);
    connect(box, &QCheckBox::toggled, this, [this, i](bool on) { chart_->SetSeriesActive(i, on); });
    boxes_[static_cast<std::size_t>(i)] = box;
    row->addWidget(box);
  }
  row->addStretch();
  xl_ = new QLabel(central);
  xl_->setObjectName("xl");
  yl_ = new QLabel(central);
  yl_->setObjectName("yl");
  for (QLabel* label : {xl_, yl_}) {
    label->setMinimumWidth(120);
    label->hide();
    row->addWidget(label);
  }
  layout->addLayout(row);
  setCentralWidget(central);
  chart_->installEventFilter(this);
  connect(chart_, &UtilityChart::CrosshairMoved, this, [this](double x, double y) {
    xl_->setText(QString::fromStdString("X=" + FormatGeneral(x, 5)));
    yl_->setText(QString::fromStdString("Y=" + FormatGeneral(y, 5)));
  });
  connect(chart_, &UtilityChart::SeriesClicked, this, &PlotUtilityWindow::EditStyle);

  question_ = new ListQuestionDialog(ui_, this);
  cutKind_ = new CutKindDialog(this);
  grid_ = new AxisGridDialog(ui_, this);
  scale_ = new AxisScaleDialog(ui_, this);
  text_ = new ChartTextDialog(ui_, this);
  style_ = new SeriesStyleDialog(ui_, this);
  BuildMenus();
  resize(800, 560);
}

PlotUtilityWindow::~PlotUtilityWindow() = default;

QStringList PlotUtilityWindow::OpenFilters() {
  return {"Jx - Currents (*.XXX)",
          "Jy - Currents (*.YYY)",
          "Current as fcn of frequency (*.DAT)",
          "Radiation pattern (*.RAD)",
          "Electric near field (*.NFE)",
          "Magnetic near field (*.NFH)",
          "Network parameters, Touchstone (*.s?p *.s??p)"};
}

QStringList PlotUtilityWindow::SaveFilters() {
  // Vector pictures are SVG here: two entries, in the place of the metafile and the
  // enhanced metafile, the first with the chart title as the picture's title.
  return {"Scalable Vector Graphics (*.SVG)", "Scalable Vector Graphics, plain (*.SVG)",
          "Bitmap (*.BMP)", "PNG image (*.PNG)", "PDF document (*.PDF)"};
}

void PlotUtilityWindow::BuildMenus() {
  QMenu* file = menuBar()->addMenu("&File");
  connect(Entry(file, "Open", "&Open..."), &QAction::triggered, this, [this] {
    const ChosenFile chosen = Choose(false, OpenFilters());
    if (!chosen.Path.isEmpty()) OpenFile(chosen.Path);
  });
  connect(Entry(file, "Save", "&Save..."), &QAction::triggered, this, [this] {
    const ChosenFile chosen = Choose(true, SaveFilters());
    if (!chosen.Path.isEmpty()) SavePicture(chosen.Path, chosen.Filter);
  });
  connect(Entry(file, "PrintPreview", "P&rint Preview..."), &QAction::triggered, this,
          [this] { Print(true); });
  connect(Entry(file, "Print", "&Print..."), &QAction::triggered, this, [this] { Print(false); });
  file->addSeparator();
  connect(Entry(file, "Exit", "E&xit"), &QAction::triggered, this, &QWidget::close);

  QMenu* edit = menuBar()->addMenu("&Edit");
  for (bool x : {true, false}) {
    QMenu* axis = edit->addMenu(x ? "X-axis" : "Y-axis");
    const QString prefix = x ? "X" : "Y";
    connect(Entry(axis, qPrintable(prefix + "Grid"), "Grid..."), &QAction::triggered, this,
            [this, x] { EditAxis(x, false); });
    connect(Entry(axis, qPrintable(prefix + "Scale"), "Scale..."), &QAction::triggered, this,
            [this, x] { EditAxis(x, true); });
    QAction* log = Toggle(axis, qPrintable(prefix + "Log"), "Logarithmic", false);
    connect(log, &QAction::toggled, this, [this, x](bool on) {
      AxisSettings s = chart_->Axis(x);
      s.Logarithmic = on;
      chart_->SetAxis(x, s);
    });
    (x ? xLog_ : yLog_) = log;
  }
  connect(Entry(edit, "Title", "Title"), &QAction::triggered, this, &PlotUtilityWindow::EditTitle);
  connect(Entry(edit, "XTitle", "X-axis title"), &QAction::triggered, this,
          [this] { EditAxisTitle(true); });
  connect(Entry(edit, "YTitle", "Y-axis title"), &QAction::triggered, this,
          [this] { EditAxisTitle(false); });
  legend_ = Toggle(edit, "Legend", "Legend", true);
  connect(legend_, &QAction::toggled, this,
          [this](bool on) { chart_->chart()->legend()->setVisible(on); });
  QAction* copy = Entry(edit, "Copy", "&Copy");
  copy->setShortcut(QKeySequence("Ctrl+C"));
  connect(copy, &QAction::triggered, this, &PlotUtilityWindow::CopyToClipboard);

  QMenu* options = menuBar()->addMenu("&Options");
  crosshair_ = Toggle(options, "Crosshair", "&Crosshair", false);
  connect(crosshair_, &QAction::toggled, this, [this](bool on) {
    chart_->SetCrosshair(on);
    xl_->setVisible(on);
    yl_->setVisible(on);
  });
}

void PlotUtilityWindow::Activate() {
  if (!isVisible()) Reset();
  // A window of the main window: it opens centred on it and stays above it.
  ShowCentredOnOwner(this);
  chart_->setFocus();
}

void PlotUtilityWindow::Reset() {
  chart_->ClearSeries();
  xLog_->setChecked(false);
  yLog_->setChecked(false);
  for (bool x : {false, true}) {
    AxisSettings s = chart_->Axis(x);
    s.Automatic = true;
    s.Logarithmic = false;
    chart_->SetAxis(x, s);
  }
  crosshair_->setChecked(false);
  xl_->hide();
  yl_->hide();
  chart_->SetCrosshair(false);
}

void PlotUtilityWindow::closeEvent(QCloseEvent* event) {
  chart_->ClearSeries();
  QMainWindow::closeEvent(event);
}

bool PlotUtilityWindow::eventFilter(QObject* watched, QEvent* event) {
  // The window sees the keys before the chart and the check boxes do.
  if (event->type() == QEvent::KeyPress) {
    const auto* key = static_cast<QKeyEvent*>(event);
    if (chart_->HandleKey(key->key(), key->modifiers())) return true;
  }
  return QMainWindow::eventFilter(watched, event);
}

void PlotUtilityWindow::OpenFile(const QString& path) {
  // The readout belonged to the former curves.
  xl_->clear();
  yl_->clear();
  chart_->UndoZoom();
  chart_->ClearSeries();
  for (bool x : {false, true}) {
    AxisSettings s = chart_->Axis(x);
    s.Automatic = true;
    chart_->SetAxis(x, s);
  }
  const std::filesystem::path file = QFile::encodeName(path).toStdString();
  const bool network = network::PortCountFromName(file).has_value();
  const bool pattern = PlotFileKindOf(file) == PlotFileKind::FarField;
  const int kind = network ? 2 : pattern ? 1 : 0;
  const char* captions[3][3] = {{"Real-part", "Imaginary-part", "Amplitude"},
                                {"ETheta", "EPhi", "Etot"},
                                {"Magnitude in dB", "Real-part", "Magnitude"}};
  const char* titles[3][3] = {{"Real", "Imag", "Amp"}, {"ETheta", "EPhi", "Etot"}, {"dB", "Real", "Mag"}};
  for (int i = 0; i < 3; ++i) {
    boxes_[static_cast<std::size_t>(i)]->setText(captions[kind][i]);
    chart_->Series(i)->setName(titles[kind][i]);
  }
  // A pattern has no phase: "Phase" is unchecked and hidden until another file.
  if (pattern) boxes_[3]->setChecked(false);
  boxes_[3]->setVisible(!pattern);
  setWindowTitle(QString(Caption) + " - " + QFileInfo(path).fileName());
  if (network) {
    OpenTouchstone(file);
    return;
  }

  PlotQuestions ask;
  ask.Choose = [this](const std::string& question, const std::vector<std::string>& entries) {
    return question_->Ask(question, entries);
  };
  ask.ChooseCut = [this] { return cutKind_->Ask(); };
  try {
    if (const std::optional<PlotCurves> curves = PlotResultFile(file, ask, ui_))
      chart_->SetCurves(*curves);
  } catch (const FileError& error) {
    ui_.ShowMessage(error.what());
  }
}

void PlotUtilityWindow::OpenTouchstone(const std::filesystem::path& file) {
  try {
    const network::TouchstoneData data = network::ReadTouchstone(file);
    const std::vector<TouchstoneEntry> entries = TouchstoneEntries(data);
    if (data.FrequenciesMHz.empty() || entries.empty()) {
      ui_.ShowMessage(PlotUtilityNoDataMessage);
      return;
    }
    // One port has a single entry, nothing to choose.
    std::size_t chosen = 0;
    if (entries.size() > 1) {
      std::vector<std::string> names;
      for (const TouchstoneEntry& entry : entries) names.push_back(entry.Name);
      const std::optional<std::size_t> answer = question_->Ask("Parameter:", names);
      if (!answer || *answer >= entries.size()) return;
      chosen = *answer;
    }
    chart_->SetCurves(TouchstoneCurves(data, entries[chosen], file.filename().string()));
  } catch (const FileError& error) {
    ui_.ShowMessage(error.what());
  }
}

bool PlotUtilityWindow::SavePicture(const QString& path, int filter) {
  const PictureTarget target = ResolvePictureTarget(QFile::encodeName(path).toStdString(), filter);
  if (target.UnknownExtension) ui_.ShowMessage(UnknownFileFormatMessage);
  if (!target.Format) return false;
  QFile file(QFile::decodeName(target.Path.c_str()));
  bool saved = file.open(QIODevice::WriteOnly | QIODevice::Truncate);
  if (saved) {
    if (*target.Format == PictureFormat::Bitmap)
      saved = Picture(*chart_).save(&file, "BMP");
    else if (*target.Format == PictureFormat::Png)
      saved = Picture(*chart_).save(&file, "PNG");
    else if (*target.Format == PictureFormat::Pdf)
      WritePdf(*chart_, file);
    else
      WriteSvg(*chart_, file, *target.Format == PictureFormat::Svg);
    file.close();
    saved = saved && file.error() == QFileDevice::NoError;
  }
  if (!saved)
    ui_.ShowMessage(
        ("Cannot write file \"" + file.fileName() + "\". " + file.errorString()).toStdString());
  return saved;
}

PlotUtilityWindow::ChosenFile PlotUtilityWindow::Choose(bool save, const QStringList& filters) {
  if (chooser_) return chooser_(save, filters);
  static QString lastDirectory = QDir::currentPath();
  QFileDialog dialog(this, save ? "Save As" : "Open", lastDirectory);
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  dialog.setNameFilters(filters);
  dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
  dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
  ChosenFile chosen{dialog.selectedFiles().first(),
                    static_cast<int>(filters.indexOf(dialog.selectedNameFilter()))};
  lastDirectory = QFileInfo(chosen.Path).absolutePath();
  return chosen;
}

void PlotUtilityWindow::Print(bool preview) {
  QPrinter own;
  QPrinter* printer = printer_ ? printer_ : &own;
  const auto paint = [this](QPrinter* target) {
    QPainter painter(target);
    chart_->Render(painter, QRectF(painter.viewport()));
  };
  if (preview) {
    QPrintPreviewDialog dialog(printer, this);
    connect(&dialog, &QPrintPreviewDialog::paintRequested, this, paint);
    dialog.exec();
  } else if (QPrintDialog dialog(printer, this); dialog.exec() == QDialog::Accepted) {
    paint(printer);
  }
}

void PlotUtilityWindow::CopyToClipboard() {
  QBuffer svg;
  svg.open(QIODevice::WriteOnly);
  WriteSvg(*chart_, svg, false);
  auto* data = new QMimeData;
  data->setData("image/svg+xml", svg.data());
  data->setImageData(Picture(*chart_));
  QApplication::clipboard()->setMimeData(data);
}

void PlotUtilityWindow::EditAxis(bool x, bool scale) {
  const AxisSettings now = chart_->Axis(x);
  const std::optional<AxisSettings> edited = scale ? scale_->Edit(now) : grid_->Edit(now);
  if (edited) chart_->SetAxis(x, *edited);
}

void PlotUtilityWindow::EditAxisTitle(bool x) {
  AxisSettings s = chart_->Axis(x);
  if (text_->Edit(s.Title, s.TitleFont)) chart_->SetAxis(x, s);
}

void PlotUtilityWindow::EditTitle() {
  QChart* chart = chart_->chart();
  QString title = chart->title();
  QFont font = chart->titleFont();
  if (!text_->Edit(title, font)) return;
  chart->setTitle(title);
  chart->setTitleFont(font);
}

void PlotUtilityWindow::EditStyle(int index) {
  if (const std::optional<SeriesStyle> style = style_->Edit(chart_->Style(index)))
    chart_->SetStyle(index, *style);
}

}  // namespace lumetra::gui
