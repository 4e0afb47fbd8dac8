// The two current-plot pages on a computed dipole: the frequency choice on entry,
// the 3D bars and the 2D graph, the vector arrows, stepping and the animation.
// Each page is rendered offscreen and checked at pixels that must be drawn; with
// LUMETRA_TEST_PICTURES set the pictures are saved there as PNG files for a look.
#include <QColorDialog>
#include <QMenu>

#include <fstream>

#include "fields/result_readers.h"
#include "model/project_files.h"
#include "plots/current_plot_page.h"
#include "plots/paint_area.h"
#include "plots/plot_selection_window.h"
#include "plots/vector_plot_page.h"
#include "solver/computation_control.h"
#include "studies/computation_driver.h"
#include "tests/gui/gui_test_support.h"
#include "tests/support/recording_ui.h"

namespace {

// A 100 x 2 mm strip of 20 x 1 cells in the middle of the 200 x 100 mm board, fed
// at its centre, computed at the given frequencies (MHz, "a" or "a:b:step").
void ComputeDipole(Session& s, bool sweep, int rows = 1) {
  Project& p = s.window->CurrentProject();
  p.Segments = {{100, 50, 100, 5.0 * rows, 20, rows}};
  p.VoltageSources = {{100, 50 - 2.5 * (rows - 1), 5, 5, 1.0, 0.0, true, 10}};
  SaveProjectFiles(p, p.ProjectFile);
  ComputationSettings settings;
  settings.Frequency = settings.StartFreq = "300";
  settings.SweepFreq = sweep;
  settings.StopFreq = "400";
  settings.StepFreq = "100";
  settings.ImpFile = settings.CompSound = settings.ShowCompTime = false;
  lumetra::testing::RecordingUi ui;
  ComputationControl control(ui);
  RunEnvironment environment;
  environment.WorkDirectory = s.directory.path().toStdString();
  environment.StartupDirectory = environment.WorkDirectory;
  QVERIFY(RunComputation(p, settings, environment, control).Started);
  p.Saved = true;
}

// The dipole computed at 300 MHz and the result page of that index shown.
template <typename Page>
Page* ComputedDipoleOn(Session& s, int index, Page* (MainWindow::*page)() const, int rows = 1) {
  ComputeDipole(s, false, rows);
  s.window->Pages()->setCurrentIndex(index);
  s.hook.Clear();
  return (s.window.get()->*page)();
}

QImage Grab(QWidget* w, const QString& file) {
  QApplication::processEvents();
  const QImage image = w->grab().toImage();
  if (!file.isEmpty()) image.save(file);
  return image;
}

int CountColour(const QImage& image, QRgb colour, QRect area = {}) {
  if (area.isNull()) area = image.rect();
  int n = 0;
  for (int y = area.top(); y <= area.bottom(); ++y)
    for (int x = area.left(); x <= area.right(); ++x)
      if ((image.pixel(x, y) & 0xffffff) == (colour & 0xffffff)) ++n;
  return n;
}

void Press(QWidget* page, const char* name) {
  auto* b = page->findChild<QToolButton*>(name);
  QVERIFY2(b, name);
  b->click();
}

}  // namespace

class CurrentPlotsTest : public QObject {
  Q_OBJECT
private slots:
  void WithoutResultsThePagesReportMissingData() {
    Session s(200, 100);
    s.hook.Clear();
    s.window->Pages()->setCurrentIndex(2);
    s.window->Pages()->setCurrentIndex(3);
    QCOMPARE(s.hook.messages, (std::vector<std::string>{"There exist no data to plot!",
                                                        "There exist no data to plot!"}));
  }

  void OneFrequencyDrawsTheBarsAtOnceWithTheCentreHighest() {
    Session s(200, 100);
    ComputeDipole(s, false);
    s.hook.Clear();
    QStringList asked;
    AnswerFrequencyDialog(-1, &asked);
    s.window->Pages()->setCurrentIndex(2);
    CancelPendingModals();
    QVERIFY(asked.isEmpty() && s.hook.messages.empty());
    CurrentPlotPage* page = s.window->CurrentPlot();
    QCOMPARE(s.window->Options().SelectedFrequency, 300.0);
    const QStringList labels = Texts(page, {"CurrFreq", "JxCurrMax", "JyCurrMax"});
    QCOMPARE(labels[0] + " | " + labels[2], QString("Frequency: 300 MHz | Jymax: 0.000E+0 A/m"));
    QVERIFY(labels[1].startsWith("Jxmax: ") && page->Selection()->IsChecked(1));
    QCOMPARE(page->Samples().Jx.size(), std::size_t(19));

    // The tallest bar: its top edge lies 100 pixels above its foot, at the centre.
    const View3D& view = page->View();
    const CurrentSample& centre = page->Samples().Jx[9];
    const auto bar = SampleBar(view, centre, page->AmplitudeScale(), 200, 100);
    QCOMPARE(bar[8].From.Y - bar[8].To.Y, 100);
    const QImage image = Grab(page->Canvas(), PicturePath("current3d"));
    const QRgb red = qRgb(255, 0, 0);
    const ScreenPoint top = bar[4].From, top2 = bar[4].To;
    QCOMPARE(image.pixel((top.X + top2.X) / 2, (top.Y + top2.Y) / 2) & 0xffffff, red & 0xffffff);
    // Nothing red stands higher than the centre bar's top.
    int barTop = image.height();
    for (int i = 4; i < 8; ++i) barTop = std::min(barTop, bar[i].From.Y);
    QCOMPARE(CountColour(image, red, QRect(0, 0, image.width(), barTop)), 0);

    // The pop-up menu sets the Jx colour through the colour chooser.
    QMenu* menu = page->BuildContextMenu();
    OnNextDialog<QColorDialog>([](QColorDialog* d) {
      d->setCurrentColor(QColor(0, 0, 200));
      d->accept();
    });
    menu->actions()[0]->trigger();
    menu->close();
    QCOMPARE(page->Colours().Jx, QColor(0, 0, 200));
    QVERIFY(CountColour(Grab(page->Canvas(), PicturePath("blue_bars")),
                        qRgb(0, 0, 200)) > 100);
    page->Colours().Jx = Qt::red;

    // Z+ then Z- leaves 0.99 of the height; the selection window hides the bars.
    const double scale = page->AmplitudeScale();
    Press(page, "ZScalePlus");
    Press(page, "ZScaleMinus");
    QVERIFY(std::abs(page->AmplitudeScale() - 0.99 * scale) < 1e-9 * scale);
    page->Selection()->SetAll(false);
    QCOMPARE(CountColour(Grab(page->Canvas(), PicturePath("none")), red), 0);
    page->Selection()->SetAll(true);
    Press(page, "ShowJx3D");
    QCOMPARE(CountColour(Grab(page->Canvas(), PicturePath("none")), red), 0);
    Press(page, "ShowJx3D");
    // A turn moves the picture.
    const View3D before = page->View();
    Press(page, "RotZpos");
    QVERIFY(page->View().RotZ > before.RotZ);
    // Printed after the print question: the bars and the identification line.
    const QString printed = PrintDecliningFirst(page, [&] { Press(page, "SpeedPrint3D"); },
                                                s.PathOf("current3d.pdf"));
    QVERIFY2(printed.contains("Frequency: 300 MHz ; Source file: " +
                              QString::fromStdString(s.window->CurrentProject().ProjectFile)),
             qPrintable(printed));

    // "Sel" shows the selection window; a page change hides it.
    Press(page, "SegSelSpeed");
    QVERIFY(page->Selection()->isVisible());
    s.window->Pages()->setCurrentIndex(1);
    QVERIFY(!page->Selection()->isVisible());
    s.window->Pages()->setCurrentIndex(2);
    DragOn(page->Canvas(), QPoint(300, 200), QPoint(310, 230));
    QCOMPARE(page->View().PanY, before.PanY + 30);
  }

  void SeveralFrequenciesAskAndCancelIsReported() {
    Session s(200, 100);
    ComputeDipole(s, true);
    s.hook.Clear();
    QStringList offered;
    AnswerFrequencyDialog(-1, &offered);
    s.window->Pages()->setCurrentIndex(2);
    QCOMPARE(offered, (QStringList{"300", "400"}));
    QCOMPARE(s.hook.messages, std::vector<std::string>{"You must select a frequency to plot!"});
    QVERIFY(s.window->CurrentPlot()->Samples().Jx.empty());

    s.hook.Clear();
    AnswerFrequencyDialog(1);
    s.window->Pages()->setCurrentIndex(3);
    QVERIFY(s.hook.messages.empty());
    QCOMPARE(s.window->Options().SelectedFrequency, 400.0);
    QCOMPARE(Texts(s.window->VectorPlot(), {"VecPlotFreq"}), QStringList{"Frequency:400 MHz"});

    // The choice is shared: the other pages show 400 MHz without asking again.
    s.hook.Clear();
    QStringList askedAgain;
    AnswerFrequencyDialog(-1, &askedAgain);
    s.window->Pages()->setCurrentIndex(0);
    s.window->Pages()->setCurrentIndex(2);
    QCOMPARE(Texts(s.window->CurrentPlot(), {"CurrFreq"}), QStringList{"Frequency: 400 MHz"});
    s.window->Pages()->setCurrentIndex(3);
    QVERIFY(askedAgain.isEmpty());
    CancelPendingModals();
    QVERIFY(s.hook.messages.empty());

    // Its frequency button asks again, opening on the frequency chosen last.
    int preselected = -1;
    AnswerFrequencyDialog(-1, nullptr, &preselected);
    QTest::mouseClick(s.window->VectorPlot()->findChild<QToolButton*>("ChooseFrequency"), Qt::LeftButton);
    QCOMPARE(preselected, 1);
    QCOMPARE(s.hook.messages, std::vector<std::string>{"You must select a frequency to plot!"});
    for (const char* off : {"Step", "Animate"})
      QVERIFY2(!Child<QToolButton>(s.window->VectorPlot(), off)->isEnabled(), off);

    // The current list shares it too; its Frequency button chooses another.
    s.window->Action("ListCurrents")->trigger();
    QWidget* list = s.window->findChild<QWidget*>("CurrentListBox");
    AnswerFrequencyDialog(-1, &askedAgain);
    QTest::mouseClick(list->findChild<QPushButton*>("ListJx"), Qt::LeftButton);
    QVERIFY(askedAgain.isEmpty());
    CancelPendingModals();
    QVERIFY(list->findChild<QLabel*>("Title")->text().endsWith("400 MHz"));
    AnswerFrequencyDialog(0, nullptr, &preselected);
    QTest::mouseClick(list->findChild<QPushButton*>("FrequencyBtn"), Qt::LeftButton);
    QCOMPARE(preselected, 1);
    QVERIFY(list->findChild<QLabel*>("Title")->text().endsWith("300 MHz"));
    QCOMPARE(s.window->Options().RememberedFrequency, 300.0);
  }

  void TheGraphShowsTheRowWithItsScalesAndTitle() {
    Session s(200, 100);
    CurrentPlotPage* page = ComputedDipoleOn(s, 2, &MainWindow::CurrentPlot);
    // Out of range first: the dialog stays open with the range message.
    OnNextModal([&](QWidget* d) {
      SetText(d, "SegSelection", "2");
      Click(d, "OKBtn");
      SetText(d, "SegSelection", "1");
      Click(d, "OKBtn");
    });
    Press(page, "Plot2D");
    QCOMPARE(s.hook.messages,
             std::vector<std::string>{"Error: Out of range! Segment number must be smaller than 2"});
    QVERIFY(page->Graph() && page->Choice().Jx);
    QCOMPARE(page->Graph()->Points.size(), std::size_t(19));
    QVERIFY(Child<QToolButton>(page, "Amp2D")->isChecked() && !Child<QToolButton>(page, "RotXpos")->isVisible());
    const QImage image = Grab(page->Canvas(), PicturePath("current2d"));
    // The curve's highest point is the centre element at the frame's top.
    const GraphFrame frame = FrameOf(*page->Graph(), page->Canvas()->width(), page->Canvas()->height());
    const GraphPixelPoint peak = GraphPixel(frame, *page->Graph(), page->Graph()->Points[9]);
    QCOMPARE(peak.Y, frame.Top);
    QVERIFY(CountColour(image, qRgb(255, 0, 0), QRect(peak.X - 4, peak.Y - 4, 9, 9)) > 10);
    QCOMPARE(CountColour(image, qRgb(255, 0, 0), QRect(0, 0, image.width(), frame.Top - 3)), 0);
    // The blue frame.
    QCOMPARE(image.pixel(frame.Left, (frame.Top + frame.Bottom) / 2) & 0xffffff,
             qRgb(0, 0, 255) & 0xffffff);
    QCOMPARE(TitleOf(page->Choice(), GraphQuantity::Amplitude).Text,
             std::string("Jx-current [A/m] in segment 1"));
    // The amplitude axis starts at zero: the foot of the frame is 0 A/m, and tick
    // marks stand out to the left of the frame and below it.
    QCOMPARE(page->Graph()->YMin, 0.0);
    QVERIFY(CountColour(image, qRgb(0, 0, 255), QRect(frame.Left - 5, frame.Top, 4, frame.Bottom - frame.Top)) > 3);
    QVERIFY(CountColour(image, qRgb(0, 0, 255), QRect(frame.Left, frame.Bottom + 3, frame.Right - frame.Left, 4)) > 3);
    // The readout inside the plot area.
    QTest::mouseMove(page->Canvas(), QPoint(peak.X, (frame.Top + frame.Bottom) / 2));
    const QString readout = s.window->Status()->Text(StatusPanel::Progress);
    QVERIFY2(readout.startsWith("X=") && readout.contains("   Y=") && readout.endsWith("      "),
             qPrintable(readout));
    QTest::mouseMove(page->Canvas(), QPoint(5, 5));
    QCOMPARE(s.window->Status()->Text(StatusPanel::Progress), QString());
    Press(page, "Re2D");
    const QString printed = PrintDecliningFirst(page, [&] { Press(page, "SpeedPrint2D"); },
                                                s.PathOf("current2d.pdf"));
    for (const char* line : {"Jx-current [A/m] in segment 1 (Real-part)", "Frequency: 300 MHz ; Source file:"})
      QVERIFY2(printed.contains(line), qPrintable(printed));
    Press(page, "Phase2D");
    QCOMPARE(page->Graph()->Points.size(), std::size_t(19));
    QVERIFY(page->Graph()->YMax <= 180.0);
    Press(page, "Plot3D");
    QVERIFY(page->findChild<QToolButton*>("RotXpos")->isVisible());
  }

  void TheGraphReportsTooFewPointsAndAsksForARow() {
    Session s(200, 100);
    CurrentPlotPage* page = ComputedDipoleOn(s, 2, &MainWindow::CurrentPlot, 2);
    OnNextModal([&](QWidget* d) {
      SetText(d, "SegSelection", "1");
      OnNextModal([&](QWidget* t) {
        // Jy of a two-row strip: one element per column, too few.
        t->findChild<QRadioButton*>("YSelected")->setChecked(true);
        QCOMPARE(t->findChild<QLabel*>("Label1")->text(), QString("Col"));
        Click(t, "OKBtn");  // nothing chosen: the dialog stays
        t->findChild<QListWidget*>("ListBox1")->setCurrentRow(4);
        Click(t, "OKBtn");
      });
      Click(d, "OKBtn");
    });
    Press(page, "Plot2D");
    QCOMPARE(s.hook.messages, (std::vector<std::string>{"You must select a column to plot!",
                                                        "To few points to plot!"}));
    QVERIFY(!page->Graph());
    s.hook.Clear();
    OnNextModal([&](QWidget* d) {
      SetText(d, "SegSelection", "1");
      OnNextModal([&](QWidget* t) {
        Child<QListWidget>(t, "ListBox1")->setCurrentRow(1);
        Click(t, "OKBtn");
      });
      Click(d, "OKBtn");
    });
    Press(page, "Plot2DSelect");
    QVERIFY(s.hook.messages.empty() && page->Graph());
    QCOMPARE(page->Choice().Row, 2);
    QCOMPARE(TitleOf(page->Choice(), GraphQuantity::Amplitude).Text,
             std::string("Jx-current [A/m] in segment 1, Row 2"));
    Grab(page->Canvas(), PicturePath("current2d_row"));
  }

  void VectorArrowsFlowAlongTheTraceAndStepThroughThePeriod() {
    Session s(200, 100);
    VectorPlotPage* page = ComputedDipoleOn(s, 3, &MainWindow::VectorPlot);
    QCOMPARE(page->Cells().size(), std::size_t(20));
    QCOMPARE(Texts(page, {"ShowTime"}), QStringList{"t/T=0.00"});
    Press(page, "Step");  // the sequence of steps is the plot data's (plots tests)
    QCOMPARE(Texts(page, {"ShowTime"}), QStringList{"t/T=0.05"});
    for (int i = 1; i < 20; ++i) Press(page, "Step");

    // Step on to the instant of the period at which the centre current is largest.
    const CurrentSample& c = page->Samples().Jx[9];
    int best = 0;
    for (int k = 0; k < 20; ++k) {
      const double wt = 2 * 3.14159265358979 * 0.05 * k;
      const double bestWt = 2 * 3.14159265358979 * 0.05 * best;
      if (std::abs(std::cos(wt) * c.Re - std::sin(wt) * c.Im) >
          std::abs(std::cos(bestWt) * c.Re - std::sin(bestWt) * c.Im))
        best = k;
    }
    for (int k = 0; k < best; ++k) Press(page, "Step");
    const QImage image = Grab(page->Canvas(), PicturePath("vector"));
    // The board outline and, along the strip's centre line, arrow pixels (where the
    // arrows go is the plot data's, plots tests).
    QCOMPARE(image.pixel(0, image.height() / 2) & 0xffffff, 0u);
    const double scale = (image.width() - 1) / 200.0;
    const int cy = static_cast<int>(std::nearbyint(50 * scale));  // halves to even, as the page
    int dark = 0;
    for (int x = 0; x < image.width(); ++x)
      if (qGray(image.pixel(x, cy)) < 128) ++dark;
    QVERIFY2(dark > 40, qPrintable(QString::number(dark)));
    // Nothing is drawn far above the strip: the arrows run along it, not across.
    int across = 0;
    for (int x = image.width() / 4; x < 3 * image.width() / 4; ++x)
      if (qGray(image.pixel(x, cy - 20)) < 128) ++across;
    QCOMPARE(across, 0);
  }

  void TheAnimationRunsOnTheTimerAndStopsOnAPageChange() {
    Session s(200, 100);
    VectorPlotPage* page = ComputedDipoleOn(s, 3, &MainWindow::VectorPlot);
    Press(page, "Animate");
    QVERIFY(page->Animating());
    for (const char* off : {"Step", "SpeedButton7"}) QVERIFY2(!Child<QToolButton>(page, off)->isEnabled(), off);
    QVERIFY(!page->findChild<QToolButton*>("StopVectorPlot")->isHidden());
    // The event loop stays free: ticks arrive while this test waits.
    QTRY_VERIFY_WITH_TIMEOUT(page->PhaseTime() > 0.05, 3000);
    Press(page, "StopVectorPlot");
    QVERIFY(!page->Animating() && page->findChild<QToolButton*>("StopVectorPlot")->isHidden());
    QVERIFY(page->findChild<QToolButton*>("Step")->isEnabled());
    Press(page, "Animate");
    QVERIFY(page->Animating());
    s.window->Pages()->setCurrentIndex(0);
    QVERIFY(!page->Animating() && page->Samples().Jx.empty());
  }

  void ZeroCurrentsDrawFlatBarsAndNoArrows() {
    Session s(200, 100);
    ComputeDipole(s, false);
    // The same elements with no current at all.
    const auto xxx = ProjectFileWithExtension(s.window->CurrentProject().ProjectFile, ".XXX");
    const std::optional<ResultBlock> block = FindBlock(xxx, 300.0, 6);
    QVERIFY(block);
    std::ofstream out(xxx, std::ios::binary | std::ios::trunc);
    out << " 3.0000000000000000E+0002 " << block->Rows() << "\r\n";
    for (std::size_t r = 0; r < block->Rows(); ++r) {
      const double* v = block->Row(r);
      out << ' ' << v[0] << ' ' << v[1] << ' ' << v[2] << ' ' << v[3] << " 0 0\r\n";
    }
    out.close();
    s.hook.Clear();
    s.window->Pages()->setCurrentIndex(2);
    QVERIFY(s.hook.messages.empty());
    CurrentPlotPage* plot = s.window->CurrentPlot();
    QCOMPARE(plot->AmplitudeScale(), 0.0);
    QCOMPARE(Texts(plot, {"JxCurrMax"}), QStringList{"Jxmax: 0.000E+0 A/m"});
    s.window->Pages()->setCurrentIndex(3);
    QVERIFY(s.hook.messages.empty());
    VectorPlotPage* vector = s.window->VectorPlot();
    Press(vector, "Step");
    const QImage image = Grab(vector->Canvas(), PicturePath("zero_vector"));
    // Only the dotted cell outlines: along the centre line no solid arrow run.
    const double scale = (image.width() - 1) / 200.0;
    const int cy = static_cast<int>(std::nearbyint(50 * scale));
    const int cx = static_cast<int>(std::nearbyint(102.5 * scale));
    for (int x = cx - 3; x <= cx + 3; ++x)
      if (x != cx) QVERIFY(qGray(image.pixel(x, cy)) >= 128);
  }
};

QTEST_MAIN(CurrentPlotsTest)
#include "current_plots_test.moc"
