// The "Plot utility" window: opened from the Utility menu, result files plotted
// through the list questions, "Phase" hidden for a pattern and shown again for a
// current file, a second file starting from cleared curves and automatic axes,
// pictures saved as SVG and BMP, the save and selection messages, the keys and the
// crosshair. The computed dipole example is plotted too; with
// LUMETRA_TEST_PICTURES set the window is kept there as PNG files for a look.
#include <QChart>
#include <QClipboard>
#include <QImageReader>
#include <QLineSeries>
#include <QLogValueAxis>
#include <QMimeData>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QSvgRenderer>
#include <QValueAxis>

#include "app/qt_user_interface.h"
#include "fields/result_files.h"
#include "plots/plot_question_dialogs.h"
#include "plots/plot_utility_window.h"
#include "plots/utility_chart.h"
#include "studies/network/touchstone.h"
#include "tests/gui/gui_test_support.h"

namespace {

using Step = std::function<void(QWidget*)>;

// The question texts seen by Pick, in order.
QStringList& Asked() {
  static QStringList asked;
  return asked;
}

// Acts on the modal dialogs shown next, one step each, in turn.
void InTurn(std::vector<Step> steps) {
  if (steps.empty()) return;
  const Step first = steps.front();
  steps.erase(steps.begin());
  OnNextModal([first, steps](QWidget* dialog) {
    first(dialog);
    InTurn(steps);
  });
}

// Chooses the entry of a list question and presses "Ok". A missing entry is
// reported and the first taken, so that the question does not stay open.
Step Pick(const QString& entry) {
  return [entry](QWidget* dialog) {
    Asked() << Child<QLabel>(dialog, "Label1")->text();
    auto* list = Child<QListWidget>(dialog, "ListBox1");
    const auto items = list->findItems(entry, Qt::MatchExactly);
    if (items.isEmpty()) qWarning("no entry %s", qPrintable(entry));
    list->setCurrentRow(items.isEmpty() ? 0 : list->row(items.front()));
    Click(dialog, "OkBtn");
  };
}

Step Cut(const char* radio) {
  return [radio](QWidget* dialog) {
    Asked() << dialog->windowTitle();
    Child<QRadioButton>(dialog, radio)->click();
    Click(dialog, "OkBtn");
  };
}

// Jx elements along y = 5 mm at x = 10, 12, 14 and one at y = 7 mm; at 100 and
// 200 MHz; element n carries (n + 1, -f / 100) A/m.
void WriteJxFile(const QString& path) {
  const std::vector<CurrentCell> jx = {{0.010, 0.005, 0.002, 0.001, 1, 2},
                                       {0.012, 0.005, 0.002, 0.001, 1, 2},
                                       {0.014, 0.005, 0.002, 0.001, 1, 2},
                                       {0.010, 0.007, 0.002, 0.001, 1, 2}};
  bool first = true;
  for (double f : {100.0, 200.0}) {
    std::vector<Complex> currents;
    for (std::size_t n = 0; n < jx.size(); ++n)
      currents.push_back({static_cast<double>(n + 1), -f / 100});
    WriteCurrentFile(path.toStdString(), first, f, jx, currents.data());
    first = false;
  }
}

// theta 0, 30, 60, 90 and phi 0, 90 at 1800 MHz; Etheta = cos(theta), Ephi = 0.5.
void WriteRadFile(const QString& path) {
  std::string block;
  WriteResultHeader(block, 1800, 8);
  for (double theta : {0.0, 30.0, 60.0, 90.0})
    for (double phi : {0.0, 90.0})
      block += FormatR13(theta) + " " + FormatR13(phi) + " " +
               FormatR13(std::cos(theta * M_PI / 180)) + " " + FormatR13(0.5) + "\r\n";
  WriteResultBlock(path.toStdString(), true, block);
}

QList<QPointF> Points(PlotUtilityWindow& w, int series) {
  return w.Chart()->Series(series)->points();
}

QPointF Range(PlotUtilityWindow& w, bool x) {
  const AxisSettings s = w.Chart()->Axis(x);
  return {s.Minimum, s.Maximum};
}

// The mouse moved over the chart to a point of its scene.
void Hover(UtilityChart* chart, QPointF scene) {
  const QPoint at = chart->mapFromScene(scene);
  QMouseEvent move(QEvent::MouseMove, QPointF(at), chart->viewport()->mapToGlobal(QPointF(at)),
                   Qt::NoButton, Qt::NoButton, Qt::NoModifier);
  QApplication::sendEvent(chart->viewport(), &move);
}

QPointF PlotCentre(UtilityChart* chart) {
  return chart->chart()->mapToScene(chart->chart()->plotArea().center());
}

// A shown plot utility over a temporary directory; messages are recorded.
struct Utility {
  Utility() : window(ui, nullptr) {
    window.Activate();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    Asked().clear();
  }
  ~Utility() { CancelPendingModals(); }

  QString Path(const QString& name) const { return directory.filePath(name); }
  // File, "Open..." with the file dialog answered by path.
  void Open(const QString& path, std::vector<Step> answers) {
    window.SetFileChooser([path](bool save, const QStringList&) {
      return PlotUtilityWindow::ChosenFile{save ? QString() : path, 0};
    });
    InTurn(std::move(answers));
    window.findChild<QAction*>("Open")->trigger();
    CancelPendingModals();
  }
  // The chart's title, the bottom axis's title and the first curve's name.
  QStringList Titles() {
    return {window.Chart()->chart()->title(), window.Chart()->Axis(true).Title, window.SeriesBox(0)->text()};
  }
  void OpenJx() {
    WriteJxFile(Path("board.XXX"));
    Open(Path("board.XXX"), {Pick("200"), Pick("5")});
  }

  QTemporaryDir directory;
  RecordingHook hook;
  QtUserInterface ui;
  PlotUtilityWindow window;
};

// The same with the current file plotted along y = 5 mm at 200 MHz.
struct JxUtility : Utility {
  JxUtility() { OpenJx(); }
};

// A two-port at 100, 200 and 500 MHz in MA form: S21 = 0.1, 0.05 and 0.02 at
// -90, 135 and -45 degrees; S11 = S22 = 0.5, S12 = S21.
network::TouchstoneData KnownTwoPort() {
  network::TouchstoneData data;
  data.Ports = 2;
  data.FrequenciesMHz = {100, 200, 500};
  const double magnitudes[] = {0.1, 0.05, 0.02}, degrees[] = {-90, 135, -45};
  for (int k = 0; k < 3; ++k) {
    network::PortMatrix m(2);
    m(0, 0) = m(1, 1) = 0.5;
    m(1, 0) = m(0, 1) = std::polar(magnitudes[k], degrees[k] * M_PI / 180);
    data.Matrices.push_back(m);
  }
  return data;
}

}  // namespace

class PlotUtilityTest : public QObject {
  Q_OBJECT
private slots:
  // Placed as every secondary window (ShowCentredOnOwner, the shell test's).
  void UtilityMenuShowsOneWindow() {
    Session s(100, 20);
    QAction* open = s.window->Action("OpenPlotWindow");
    open->trigger();
    PlotUtilityWindow* w = s.window->PlotUtility();
    QVERIFY(w && w->isVisible());
    QCOMPARE(w->windowTitle(), QString("Plot utility"));
    open->trigger();
    QCOMPARE(s.window->findChildren<PlotUtilityWindow*>().size(), 1);
    w->close();
  }

  void CurrentFileIsPlottedAlongTheChosenRow() {
    JxUtility u;
    QCOMPARE(Asked(), QStringList({"Frequency [MHz]:", "Constant coordinate:"}));
    QCOMPARE(u.window.windowTitle(), QString("Plot utility - board.XXX"));
    QCOMPARE(Points(u.window, 0), QList<QPointF>({{10, 1}, {12, 2}, {14, 3}}));
    QCOMPARE(u.Titles(), QStringList({"Jx current density [A/m] @ 200 MHz", "Coordinate [mm]", "Real-part"}));
    // Only Series1 is active; the automatic axes hold its points.
    QVERIFY(u.window.Chart()->Series(0)->isVisible() && !u.window.Chart()->Series(1)->isVisible());
    u.window.SeriesBox(1)->click();
    QVERIFY(u.window.Chart()->Series(1)->isVisible());
    QVERIFY(Range(u.window, false).x() <= -2);
    QVERIFY(u.hook.messages.empty());
  }

  void PatternHidesPhaseAndCurrentFileShowsItUnchecked() {
    Utility u;
    u.window.SeriesBox(3)->click();
    QVERIFY(u.window.SeriesBox(3)->isChecked());
    WriteRadFile(u.Path("board.RAD"));
    u.Open(u.Path("board.RAD"), {Pick("1800"), Cut("RadioButton1"), Pick("0")});
    QCOMPARE(Asked(), QStringList({"Frequency [MHz]:", "Select radiation pattern cut",
                                   "Constant Phi angle:"}));
    QVERIFY(u.window.SeriesBox(3)->isHidden() && !u.window.SeriesBox(3)->isChecked());
    QVERIFY(!u.window.Chart()->Series(3)->isVisible());
    QCOMPARE(u.Titles(), QStringList({"Normalised radiation pattern [V], Phi=0 @ 1800 MHz", "Theta [deg.]",
                                      "ETheta"}));
    QCOMPARE(Points(u.window, 0).size(), 4);
    QCOMPARE(Points(u.window, 0).front(), QPointF(0, 1));

    u.OpenJx();
    QVERIFY(!u.window.SeriesBox(3)->isHidden() && !u.window.SeriesBox(3)->isChecked());
    QCOMPARE(u.window.SeriesBox(0)->text(), QString("Real-part"));
  }

  void SecondFileClearsCurvesAndAxesReturnToAutomatic() {
    JxUtility u;
    // The left axis set by hand to -100..100 and the bottom one zoomed.
    FillNextDialog({{"Autoscale", Clicked}, {"min", "-100"}, {"max", "100"}});
    u.window.findChild<QAction*>("YScale")->trigger();
    QVERIFY(!u.window.Chart()->Axis(false).Automatic);
    QCOMPARE(Range(u.window, false), QPointF(-100, 100));
    u.window.Chart()->chart()->zoom(2.0);

    // Another row of the same file: only its points, on automatic axes.
    u.Open(u.Path("board.XXX"), {Pick("100"), Pick("7")});
    QCOMPARE(Points(u.window, 0), QList<QPointF>({{10, 4}}));
    QCOMPARE(u.window.Chart()->chart()->title(), QString("Jx current density [A/m] @ 100 MHz"));
    QVERIFY(u.window.Chart()->Axis(false).Automatic);
    QVERIFY(Range(u.window, false).x() <= 4 && Range(u.window, false).y() >= 4);
    QVERIFY(Range(u.window, false).y() - Range(u.window, false).x() < 10);

    // A file without data: the curves are gone and nothing is asked.
    WriteFile(u.Path("empty.XXX"), {});
    u.Open(u.Path("empty.XXX"), {});
    for (int i = 0; i < 4; ++i) QVERIFY(Points(u.window, i).isEmpty());
    QCOMPARE(u.hook.messages, std::vector<std::string>({"There exist no data to plot!"}));
  }

  void QuestionWithoutSelectionStaysOpen() {
    Utility u;
    WriteJxFile(u.Path("board.XXX"));
    bool stillOpen = false;
    const Step okWithoutSelection = [&stillOpen](QWidget* dialog) {
      Click(dialog, "OkBtn");
      stillOpen = dialog->isVisible();
    };
    u.Open(u.Path("board.XXX"), {okWithoutSelection, Pick("100"), Pick("5")});
    QVERIFY(stillOpen);
    QCOMPARE(u.hook.messages, std::vector<std::string>({"You must select an item"}));
    QCOMPARE(Points(u.window, 0).size(), 3);
    QCOMPARE(u.window.Question()->windowTitle(), QString("Plot selection"));
  }

  void CancelAndTheCloseBoxAbandonTheQuestions() {
    Utility u;
    WriteJxFile(u.Path("board.XXX"));
    WriteRadFile(u.Path("board.RAD"));
    // Cancel, the close box (the window manager's close event) and Escape on any
    // question, the cut question of a pattern too: nothing plotted, nothing said.
    const Step cancel = [](QWidget* dialog) { Click(dialog, "CancelBtn"); };
    const Step closeBox = [](QWidget* dialog) { dialog->close(); };
    const Step escape = [](QWidget* dialog) { QTest::keyClick(dialog, Qt::Key_Escape); };
    const std::pair<const char*, std::vector<Step>> abandoned[] = {
        {"board.XXX", {cancel}}, {"board.XXX", {Pick("100"), closeBox}},
        {"board.XXX", {escape}}, {"board.RAD", {Pick("1800"), cancel}}};
    for (const auto& [file, steps] : abandoned) {
      u.Open(u.Path(file), steps);
      QVERIFY(Points(u.window, 0).isEmpty());
      QVERIFY(!u.window.Question()->isVisible());
    }
    QVERIFY(u.window.Question()->windowFlags() & Qt::WindowCloseButtonHint);
    QVERIFY(u.hook.messages.empty());
    // Answered in full, the plot comes.
    u.Open(u.Path("board.XXX"), {Pick("100"), Pick("5")});
    QCOMPARE(Points(u.window, 0).size(), 3);
  }

  void PhaseHasItsOwnAxisAndTheReadoutStartsAfresh() {
    JxUtility u;
    UtilityChart* chart = u.window.Chart();
    QVERIFY(!chart->PhaseAxis()->isVisible());
    u.window.SeriesBox(3)->click();  // "Phase"
    QVERIFY(chart->PhaseAxis()->isVisible());
    QCOMPARE(chart->PhaseAxis()->max(), 180.0);
    QVERIFY(chart->Series(3)->attachedAxes().contains(chart->PhaseAxis()));
    // The left axis keeps the real part's scale (1..3 A/m), not the phase's degrees.
    const QPointF left = Range(u.window, false);
    QVERIFY2(left.y() <= 10, qPrintable(QString::number(left.y())));
    // The crosshair readout of one file is gone when the next opens.
    u.window.findChild<QAction*>("Crosshair")->trigger();
    auto* xl = u.window.findChild<QLabel*>("xl");
    Hover(chart, PlotCentre(chart));
    QVERIFY(xl->text().startsWith("X="));
    u.OpenJx();
    QCOMPARE(xl->text(), QString());
    KeepPicture(u.window.grab().toImage(), "plot-utility-phase-axis");
  }

  void DamagedFileIsReported() {
    Utility u;
    WriteFile(u.Path("element.DAT"), "Current in element 25\r\n1300 1 2 3 4\r\n1400 1 2 three 4\r\n");
    u.Open(u.Path("element.DAT"), {});
    QCOMPARE(u.hook.messages.size(), 1u);
    QVERIFY(QString::fromStdString(u.hook.messages[0]).contains("element.DAT\", line 3"));
    QVERIFY(Points(u.window, 0).isEmpty());

    // The good lines of a .DAT: against frequency, without any question.
    WriteFile(u.Path("element.DAT"), "Current in element 25\r\n1300 1 2 3 4\r\n1400 5 6 7 8\r\n");
    u.hook.Clear();
    u.Open(u.Path("element.DAT"), {});
    QVERIFY(u.hook.messages.empty());
    QCOMPARE(Points(u.window, 0), QList<QPointF>({{1300, 1}, {1400, 5}}));
  }

  void PicturesAreSavedAsSvgAndBmp() {
    JxUtility u;
    const auto save = [&](const QString& name, int filter) {
      u.window.SetFileChooser([&, name, filter](bool, const QStringList&) {
        return PlotUtilityWindow::ChosenFile{u.Path(name), filter};
      });
      u.window.findChild<QAction*>("Save")->trigger();
    };
    // Each entry (two SVG kinds, BMP, PNG), or the first with the extension typed:
    // the picture in that format (told by its content) at the chart's size.
    const struct {
      const char *name, *file, *format;
      int filter;
    } saved[] = {{"plot", "plot.svg", "svg", 0},       {"plain", "plain.svg", "svg", 1},
                 {"plot", "plot.bmp", "bmp", 2},       {"upper.BMP", "upper.BMP", "bmp", 0},
                 {"plot", "plot.png", "png", 3},       {"other.png", "other.png", "png", 0}};
    for (const auto& c : saved) {
      save(c.name, c.filter);
      QImageReader reader(u.Path(c.file));
      reader.setDecideFormatFromContent(true);
      QCOMPARE(reader.format(), QByteArray(c.format));
      if (reader.format() != "svg") QCOMPARE(reader.size(), u.window.Chart()->size());
      else QVERIFY(QSvgRenderer(u.Path(c.file)).isValid());
    }
    QVERIFY(u.hook.messages.empty());

    // An .SVG name with the bitmap entry saves nothing and says nothing.
    save("vector.svg", 2);
    QVERIFY(!QFile::exists(u.Path("vector.svg")) && u.hook.messages.empty());
    save("picture.gif", 2);
    QVERIFY(!QFile::exists(u.Path("picture.gif")));
    QCOMPARE(u.hook.messages, std::vector<std::string>({"Error: Unknown fileformat"}));

    // PDF with the chart's texts.
    QTest::qWait(50);  // the chart lays out its new title and labels
    save("plot", 4);
    QVERIFY(FileBytes(u.Path("plot.pdf")).startsWith("%PDF-"));
    const QString pdfText = PdfText(u.Path("plot.pdf"));
    QVERIFY2(pdfText.contains("Jx current density"), qPrintable(pdfText));
  }

  void PrintsAndCopiesTheChart() {
    JxUtility u;
    const QString pdf = u.Path("chart.pdf");
    const std::unique_ptr<QPrinter> printer = PdfPrinter(pdf);
    u.window.SetPrinter(printer.get());
    bool printDialog = false, previewDialog = false;
    OnNextModal([&](QWidget* d) {
      printDialog = qobject_cast<QPrintDialog*>(d) != nullptr;
      qobject_cast<QDialog*>(d)->accept();
    });
    u.window.findChild<QAction*>("Print")->trigger();
    QVERIFY(printDialog);
    QVERIFY(QFileInfo(pdf).size() > 1000);
    OnNextModal([&](QWidget* d) {
      previewDialog = qobject_cast<QPrintPreviewDialog*>(d) != nullptr;
      qobject_cast<QDialog*>(d)->reject();
    });
    u.window.findChild<QAction*>("PrintPreview")->trigger();
    QVERIFY(previewDialog);

    QApplication::clipboard()->clear();
    u.window.findChild<QAction*>("Copy")->trigger();
    const QMimeData* data = QApplication::clipboard()->mimeData();
    QVERIFY(data && data->hasImage() && QSvgRenderer(data->data("image/svg+xml")).isValid());
    QCOMPARE(qvariant_cast<QImage>(data->imageData()).size(), u.window.Chart()->size());
  }

  void KeysScrollZoomAndUndo() {
    JxUtility u;
    UtilityChart* chart = u.window.Chart();
    chart->setFocus();
    const QPointF x0 = Range(u.window, true), y0 = Range(u.window, false);
    const double w = x0.y() - x0.x(), h = y0.y() - y0.x();
    const auto near = [](QPointF a, QPointF b, double span) {
      return std::abs(a.x() - b.x()) < 1e-6 * span && std::abs(a.y() - b.y()) < 1e-6 * span;
    };
    // Each key from the automatic ranges, undone by Space: the arrows shift by 1 %
    // of the span, the page keys by 10 %, Shift with an arrow zooms by 1.1.
    const struct {
      Qt::Key key;
      Qt::KeyboardModifiers modifiers;
      bool x;
      double shift, zoom;
    } keys[] = {{Qt::Key_Left, {}, true, 0.01, 1},      {Qt::Key_Right, {}, true, -0.01, 1},
                {Qt::Key_Up, {}, false, -0.01, 1},      {Qt::Key_PageDown, {}, false, 0.1, 1},
                {Qt::Key_Left, Qt::ShiftModifier, true, 0, 1.1}};
    for (const auto& k : keys) {
      const QPointF before = k.x ? x0 : y0;
      const double span = before.y() - before.x();
      QTest::keyClick(chart, k.key, k.modifiers);
      const QPointF after = Range(u.window, k.x);
      QVERIFY(std::abs((after.y() - after.x()) - span / k.zoom) < 1e-6 * span);
      if (k.zoom == 1) QVERIFY(std::abs(after.x() - before.x() - k.shift * span) < 1e-6 * span);
      QTest::keyClick(chart, Qt::Key_Space);
      QVERIFY(near(Range(u.window, true), x0, w) && near(Range(u.window, false), y0, h));
    }
    // Dragging a rectangle over the middle of the plot zooms into it.
    QApplication::processEvents();
    const QRectF area = chart->chart()->plotArea();
    const auto pixel = [chart](QPointF p) {
      return chart->mapFromScene(chart->chart()->mapToScene(p));
    };
    const QPoint from = pixel(area.center() - QPointF(area.width() / 4, area.height() / 4));
    const QPoint to = pixel(area.center() + QPointF(area.width() / 4, area.height() / 4));
    QTest::mousePress(chart->viewport(), Qt::LeftButton, Qt::NoModifier, from);
    QTest::mouseMove(chart->viewport(), to);
    QTest::mouseRelease(chart->viewport(), Qt::LeftButton, Qt::NoModifier, to);
    const QPointF zoomed = Range(u.window, true);
    QVERIFY2(std::abs((zoomed.y() - zoomed.x()) - w / 2) < 0.02 * w,
             qPrintable(QString("%1 %2").arg(zoomed.x()).arg(zoomed.y())));
    QTest::keyClick(chart, Qt::Key_Space);
    QVERIFY(near(Range(u.window, true), x0, w));
    // The window sees the keys first: Space on a check box undoes the zoom too.
    QTest::keyClick(chart, Qt::Key_PageUp);
    u.window.SeriesBox(2)->setFocus();
    QTest::keyClick(u.window.SeriesBox(2), Qt::Key_Space);
    QVERIFY(!u.window.SeriesBox(2)->isChecked());
    QVERIFY(near(Range(u.window, false), y0, h));
  }

  void CrosshairReadsTheValues() {
    JxUtility u;
    auto* xl = u.window.findChild<QLabel*>("xl");
    auto* yl = u.window.findChild<QLabel*>("yl");
    QAction* crosshair = u.window.findChild<QAction*>("Crosshair");
    crosshair->trigger();
    QVERIFY(xl->isVisible() && yl->isVisible());
    QApplication::processEvents();  // the chart laid out for the readout
    const QPointF centre = PlotCentre(u.window.Chart());
    Hover(u.window.Chart(), centre);
    const QImage picture = u.window.grab().toImage();
    const QPointF x = Range(u.window, true), y = Range(u.window, false);
    QVERIFY(xl->text().startsWith("X="));
    QVERIFY(std::abs(xl->text().mid(2).toDouble() - (x.x() + x.y()) / 2) < 0.01 * (x.y() - x.x()));
    QVERIFY(std::abs(yl->text().mid(2).toDouble() - (y.x() + y.y()) / 2) < 0.01 * (y.y() - y.x()));
    // Five significant digits at most.
    QVERIFY(xl->text().mid(2).remove('.').remove('-').size() <= 5);
    // The red crosshair is drawn over the chart, through the mouse's point.
    const QPoint below =
        u.window.Chart()->mapTo(&u.window, u.window.Chart()->mapFromScene(centre) + QPoint(0, 40));
    QVERIFY(picture.pixelColor(below).red() > 200 && picture.pixelColor(below).green() < 100);
    crosshair->trigger();
    QVERIFY(!xl->isVisible());
    // Closed and shown again: the curves are gone and the options are back.
    crosshair->trigger();
    u.window.findChild<QAction*>("XLog")->trigger();
    u.window.close();
    u.window.Activate();
    QVERIFY(Points(u.window, 0).isEmpty());
    QVERIFY(!crosshair->isChecked() && !xl->isVisible());
    QVERIFY(!u.window.findChild<QAction*>("XLog")->isChecked());
    QVERIFY(!u.window.Chart()->Axis(true).Logarithmic);
  }

  void ChartDialogsChangeAxesAndStyle() {
    JxUtility u;
    UtilityChart* chart = u.window.Chart();
    u.window.findChild<QAction*>("XLog")->trigger();
    QVERIFY(chart->Axis(true).Logarithmic);
    QVERIFY(qobject_cast<QLogValueAxis*>(chart->chart()->axes(Qt::Horizontal).front()));
    u.window.findChild<QAction*>("XLog")->trigger();
    QVERIFY(qobject_cast<QValueAxis*>(chart->chart()->axes(Qt::Horizontal).front()));

    FillNextDialog({{"ShowGrid", Clicked}, {"Inc", "1"}});
    u.window.findChild<QAction*>("XGrid")->trigger();
    QVERIFY(!chart->Axis(true).Grid);
    QCOMPARE(chart->Axis(true).Increment, 1.0);

    // A maximum below the minimum is refused with the range message.
    OnNextDialog<QDialog>([&u](QDialog* d) {
      Fill(d, {{"Autoscale", Clicked}, {"min", "5"}, {"max", "1"}, {"OKBtn", Clicked}});
      u.hook.messages.push_back(d->isVisible() ? "open" : "closed");
      Click(d, "CancelBtn");
    });
    u.window.findChild<QAction*>("XScale")->trigger();
    QCOMPARE(u.hook.messages,
             std::vector<std::string>({"Error: Out of range! Max must be greater than 5", "open"}));
    QVERIFY(chart->Axis(true).Automatic);

    OnNextDialog<QDialog>([](QDialog* d) {
      QCOMPARE(qobject_cast<QComboBox*>(Child<QWidget>(d, "ComboBox1"))->currentText(),
               QString("Dash"));
      qobject_cast<QComboBox*>(Child<QWidget>(d, "ComboBox1"))->setCurrentIndex(2);
      Fill(d, {{"Edit1", "3"}, {"CheckBox1", Clicked}, {"OKBtn", Clicked}});
    });
    // A click on the "Imag" curve, between its first two points.
    u.window.SeriesBox(1)->click();
    QApplication::processEvents();
    const QPointF onCurve = chart->chart()->mapToPosition(QPointF(11, -2), chart->Series(1));
    QTest::mouseClick(chart->viewport(), Qt::LeftButton, Qt::NoModifier,
                      chart->mapFromScene(chart->chart()->mapToScene(onCurve)));
    const auto& style = chart->Style(1);
    QCOMPARE(std::tuple(style.Pen, style.Width, style.Marks), std::tuple(Qt::DotLine, 3, true));
    QCOMPARE(chart->Series(1)->pen().style(), Qt::DotLine);
    QVERIFY(!chart->Series(1)->lightMarker().isNull());

    // A logarithmic left axis over negative values: the positive ones set its range.
    u.window.findChild<QAction*>("YLog")->trigger();
    QApplication::processEvents();
    QVERIFY(Range(u.window, false).x() > 0 && Range(u.window, false).y() >= 3);
    u.window.findChild<QAction*>("YLog")->trigger();

    u.window.findChild<QAction*>("Legend")->trigger();
    QVERIFY(!chart->chart()->legend()->isVisible());
  }

  void ComputedDipoleCurrentsAndPattern() {
    Utility u;
    // The bundled dipole computed by lumetra-cli: a sweep for the currents and one
    // frequency with the far field in the x-z plane and across it.
    const QString pro = u.Path("dipole.PRO");
    for (const char* ext : {"PRO", "SEG", "GEN", "IMP", "GPC"})
      QVERIFY(QFile::copy(QString(LUMETRA_EXAMPLES "/dipole/dipole.") + ext,
                          u.Path(QString("dipole.") + ext)));
    QCOMPARE(RunCli({"compute", pro, "--sweep", "1300", "1500", "100"}), 0);
    QVERIFY(QFile::copy(u.Path("dipole.XXX"), u.Path("sweep.XXX")));
    QCOMPARE(RunCli({"compute", pro, "--freq", "1420", "--far-field", "--theta", "-90:90:2",
                     "--phi", "0:90:90"}),
             0);

    u.window.resize(900, 600);
    QApplication::processEvents();
    u.window.SeriesBox(1)->setChecked(true);
    u.window.SeriesBox(2)->setChecked(true);
    u.Open(u.Path("sweep.XXX"), {Pick("1400"), Pick("20")});
    const QList<QPointF> re = Points(u.window, 0);
    QCOMPARE(re.size(), 49);  // the Jx elements of the strip's centre row
    // The current peaks at the feed in the middle and falls towards the ends.
    const QList<QPointF> amplitude = Points(u.window, 2);
    QVERIFY(amplitude[24].y() > 5 * amplitude[0].y());
    QVERIFY(u.hook.messages.empty());
    QApplication::processEvents();
    KeepPicture(u.window.grab().toImage(), "plot_utility_currents");

    u.Open(u.Path("dipole.RAD"), {Pick("1420"), Cut("RadioButton1"), Pick("0")});
    const QList<QPointF> etheta = Points(u.window, 0);
    QCOMPARE(etheta.size(), 91);
    // No field along the dipole's axis (theta = +-90 in the x-z plane), the most broadside.
    QVERIFY(etheta.front().y() < 0.05 * etheta[45].y());
    QVERIFY(etheta.back().y() < 0.05 * etheta[45].y());
    QApplication::processEvents();
    KeepPicture(u.window.grab().toImage(), "plot_utility_pattern");
  }

  void TouchstoneFileIsPlottedInDbOverFrequency() {
    Utility u;
    network::WriteTouchstone(u.Path("net.s2p").toStdString(), KnownTwoPort());
    u.window.SeriesBox(3)->setChecked(true);
    QStringList entries;
    u.Open(u.Path("net.s2p"), {[&entries](QWidget* dialog) {
                                 auto* list = Child<QListWidget>(dialog, "ListBox1");
                                 for (int i = 0; i < list->count(); ++i) entries << list->item(i)->text();
                                 Pick("S21")(dialog);
                               }});
    QCOMPARE(entries, QStringList({"S11", "S21", "S12", "S22"}));
    QCOMPARE(Asked(), QStringList({"Parameter:"}));
    QCOMPARE(u.Titles(), QStringList({"|S21| of net.s2p", "Frequency [MHz]", "Magnitude in dB"}));
    // 20 log10 of 0.1, 0.05, 0.02 at the file's frequencies, to the file's precision.
    const double db[] = {-20.0, -26.020599913, -33.979400087};
    const double magnitudes[] = {0.1, 0.05, 0.02}, degrees[] = {-90, 135, -45};
    const double f[] = {100, 200, 500};
    const QList<QPointF> level = Points(u.window, 0), real = Points(u.window, 1),
                         magnitude = Points(u.window, 2), phase = Points(u.window, 3);
    QCOMPARE(level.size(), 3);
    for (int k = 0; k < 3; ++k) {
      QCOMPARE(level[k].x(), f[k]);
      QVERIFY2(std::abs(level[k].y() - db[k]) < 1e-8, qPrintable(QString::number(level[k].y(), 'g', 12)));
      QVERIFY(std::abs(real[k].y() - magnitudes[k] * std::cos(degrees[k] * M_PI / 180)) < 1e-9);
      QCOMPARE(real[k].x(), f[k]);
      QVERIFY(std::abs(magnitude[k].y() - magnitudes[k]) < 1e-10);
      QVERIFY(std::abs(phase[k].y() - degrees[k]) < 1e-8);
    }
    // Another entry of the same file: S11, 0.5 is -6.02 dB at every frequency.
    u.Open(u.Path("net.s2p"), {Pick("S11")});
    for (const QPointF& p : Points(u.window, 0)) QVERIFY(std::abs(p.y() + 6.0205999133) < 1e-8);
    QCOMPARE(u.window.Chart()->chart()->title(), QString("|S11| of net.s2p"));

    // A one-port has nothing to choose.
    WriteFile(u.Path("match.S1P"), "# MHZ S MA R 50\r\n300 0.25 90\r\n");
    Asked().clear();
    u.Open(u.Path("match.S1P"), {});
    QVERIFY(Asked().isEmpty());
    QCOMPARE(Points(u.window, 0).size(), 1);
    QVERIFY(std::abs(Points(u.window, 0)[0].y() - 20 * std::log10(0.25)) < 1e-9);
    QVERIFY(std::abs(Points(u.window, 3)[0].y() - 90) < 1e-9);
  }

  void DamagedTouchstoneFileGivesTheReadersMessage() {
    Utility u;
    const QString path = WriteFile(u.Path("broken.s2p"), "# MHZ S MA R 50\r\n100 0.5 0 0.1 -90 0.1 -90 0.5 0\r\n"
                                                         "200 0.5 0 O.1 -90 0.1 -90 0.5 0\r\n");
    const std::string expected = ErrorOf([&] { network::ReadTouchstone(path.toStdString()); });
    QVERIFY(expected.find("line 3") != std::string::npos && expected.find("broken.s2p") != std::string::npos);
    u.hook.Clear();
    u.Open(path, {});
    QCOMPARE(u.hook.messages, std::vector<std::string>{expected});
    QCOMPARE(Points(u.window, 0).size(), 0);
  }
};

QTEST_MAIN(PlotUtilityTest)
#include "plot_utility_test.moc"
