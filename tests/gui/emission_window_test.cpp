// The "Emission" window: opened from the Utility menu with a row per source, bad
// input refused with the core's exact message and nothing run, a small example
// computed into the chart, the worst margin and the table, Abort, and the exports.
#include <complex>

#include "app/emission_window.h"
#include "plots/emission_text.h"
#include "studies/emission/emission_outputs.h"
#include "tests/gui/gui_test_support.h"

namespace {

// The short dipole example open, and the window for it.
EmissionWindow* OpenEmission(Session& s) {
  OpenExample(s, "short-dipole");
  return OpenWindow(*s.window, "Emission", &MainWindow::Emission);
}

// A 100 MHz clock on every source up to 300 MHz: three lines, a quick run. The
// edges and the duty cycle are uneven, so no harmonic falls on a null of the
// spectrum and every typed value shows in the drive.
EmissionForm QuickClock(std::size_t sources) {
  const SignalForm clock{.Kind = SignalKind::Trapezoid, .Amplitude = "1.5", .Fundamental = "100",
                        .Rise = "1", .Fall = "2", .Duty = "0.4", .File = {}};
  return {.Signals = std::vector<SignalForm>(sources, clock), .SemiAnechoic = false, .Distance = "3",
          .Limit = "cispr32-b", .LimitFile = {}, .Stop = "300"};
}

// The message the core gives for a request, or empty when it accepts it.
std::string CoreMessage(const Project& project, const EmissionForm& form) {
  return ErrorOf([&] {
    emission::ValidateEmissionRequest(project, BuildEmissionRequest(project, form, ComputationSettings{}));
  });
}

}  // namespace

class EmissionWindowTest : public QObject {
  Q_OBJECT
private slots:
  void MenuOpensARowPerSource() {
    Session s;
    EmissionWindow* window = OpenEmission(s);
    const std::size_t sources = s.window->CurrentProject().VoltageSources.size();
    QVERIFY(sources >= 1);
    QVERIFY(window->isVisible());
    QCOMPARE(window->windowTitle(), QString("Emission"));
    for (std::size_t n = 1; n <= sources; ++n)
      QVERIFY(Child<QComboBox>(window, "Signal" + QString::number(n)));
    QVERIFY(!Child<QComboBox>(window, "Signal" + QString::number(sources + 1)));
    QCOMPARE(window->Form().Signals.size(), sources);
    // Nothing to save before a run.
    for (const char* save : {"SaveChart", "SaveReport", "SaveCsv"})
      QVERIFY(!Child<QPushButton>(window, save)->isEnabled());
    QVERIFY(!Child<QPushButton>(window, "Abort")->isVisible());
    // The trapezoid fields only while the trapezoid is chosen; the file only for a file.
    auto* kind = Child<QComboBox>(window, "Signal1");
    kind->setCurrentIndex(0);
    QVERIFY(!Child<QLineEdit>(window, "Rise1")->isEnabled());
    QVERIFY(!Child<QLineEdit>(window, "SpectrumFile1")->isEnabled());
    kind->setCurrentIndex(2);
    QVERIFY(Child<QLineEdit>(window, "SpectrumFile1")->isEnabled());
    QVERIFY(!Child<QLineEdit>(window, "Amplitude1")->isEnabled());
    kind->setCurrentIndex(1);
    QVERIFY(Child<QLineEdit>(window, "Rise1")->isEnabled());
  }

  void FormRoundTripAndLimitTables() {
    Session s;
    EmissionWindow* window = OpenEmission(s);
    // The site's fields as typed (the signal's show in the drive of a run).
    EmissionForm form = QuickClock(window->Form().Signals.size());
    form = {.Signals = form.Signals, .SemiAnechoic = true, .Distance = "7.5", .Limit = "file",
            .LimitFile = "/tmp/my-limit.csv", .Stop = form.Stop};
    window->SetForm(form);
    const EmissionForm back = window->Form();
    QVERIFY(back.SemiAnechoic);
    QCOMPARE(back.Distance + " " + back.Limit + " " + back.LimitFile + " " + back.Stop,
             std::string("7.5 file /tmp/my-limit.csv 300"));
    QVERIFY(Child<QLineEdit>(window, "LimitFile")->isEnabled());

    // A class name stands for its tables as lumetra-cli joins them (the joining is
    // the core's, studies tests): at 7.5 m the 10 m table moved by 20 log10(10/7.5).
    const Project& project = s.window->CurrentProject();
    form.Limit = "cispr32-b";
    emission::EmissionRequest request = BuildEmissionRequest(project, form, ComputationSettings{});
    QCOMPARE(request.Limit->Name, std::string("cispr32-b"));
    QCOMPARE(request.Site.DistanceM, 7.5);
    QVERIFY(request.Site.Kind == emission::SiteKind::SemiAnechoic);
    QVERIFY(std::abs(*emission::LimitAt(*request.Limit, 100.0) - (30.0 + 20.0 * std::log10(10.0 / 7.5))) < 1e-9);
    form.Limit = "none";
    QVERIFY(!BuildEmissionRequest(project, form, ComputationSettings{}).Limit);

    // A limit file of the user's own, given at 3 m, read at 3 m as it stands.
    form.Limit = "file";
    form.LimitFile = WriteFile(s.PathOf("own-limit.csv"),
                               "# a company limit\r\ndistance_m, 3\r\ndetector, peak\r\n30, 1000, 35\r\n")
                         .toStdString();
    form.Distance = "3";
    request = BuildEmissionRequest(project, form, ComputationSettings{});
    QCOMPARE(*emission::LimitAt(*request.Limit, 500.0), 35.0);
    QCOMPARE(request.Limit->Name, std::string("own-limit"));
  }

  void BadInputShowsTheExactMessageAndRunsNothing() {
    Session s;
    EmissionWindow* window = OpenEmission(s);
    const Project& project = s.window->CurrentProject();
    const EmissionForm good = QuickClock(window->Form().Signals.size());

    const auto refused = [&](const EmissionForm& form, const std::string& expected) {
      window->SetForm(form);
      s.hook.Clear();
      QTest::mouseClick(Child<QPushButton>(window, "Compute"), Qt::LeftButton);
      QCOMPARE(s.hook.messages, std::vector<std::string>{expected});
      QVERIFY(!window->Result());
      QCOMPARE(Child<QTableWidget>(window, "Lines")->rowCount(), 0);
      QVERIFY(Child<QPushButton>(window, "Compute")->isEnabled() && !window->Running());
    };

    // A limit of the user's that ends at 1 GHz, and a damaged spectrum file.
    const QString toOneGHz = WriteFile(s.PathOf("to-1-GHz.csv"), "distance_m, 3\r\ndetector, peak\r\n30, 1000, 35\r\n");
    const QString bad = WriteFile(s.PathOf("bad.csv"), "frequency_MHz, amplitude_V\r\n25, 1\r\n75, lots\r\n");
    // The window's own words for a field it cannot read; for everything else the
    // core's refusal (empty here), word for word: edges longer than the 4 ns pulse,
    // a stop beyond 6000 MHz, a limit that ends below the stop frequency, a limit
    // file that is not there, a spectrum file named with its bad line.
    const struct {
      std::function<void(EmissionForm&)> change;
      std::string message, mentions;
    } cases[] = {
        {[](EmissionForm& f) { f.Signals[0].Rise = "abc"; },
         "Error: \"abc\" is not a number (source 1, rise time in ns)", ""},
        {[](EmissionForm& f) { f.Stop = ""; }, "Error: \"\" is not a number (stop frequency in MHz)", ""},
        {[](EmissionForm& f) { f.Limit = "file"; }, "Error: No limit file is chosen", ""},
        {[](EmissionForm& f) { f.Signals[0].Kind = SignalKind::SpectrumFile; },
         "Error: No spectrum file is chosen for source 1", ""},
        {[](EmissionForm& f) { f.Signals[0].Rise = "8"; }, "", "Error: "},
        {[](EmissionForm& f) { f.Stop = "7000"; }, "", "Error: "},
        {[&](EmissionForm& f) { f.Limit = "file"; f.LimitFile = toOneGHz.toStdString(); f.Stop = "3000"; },
         "", "to-1-GHz"},
        {[&](EmissionForm& f) { f.Limit = "file"; f.LimitFile = s.PathOf("none.csv").toStdString(); },
         "", "none.csv"},
        {[&](EmissionForm& f) {
           f.Signals[0].Kind = SignalKind::SpectrumFile;
           f.Signals[0].File = bad.toStdString();
         },
         "", "bad.csv, line 3"},
    };
    for (const auto& c : cases) {
      EmissionForm form = good;
      c.change(form);
      const std::string message = c.message.empty() ? CoreMessage(project, form) : c.message;
      QVERIFY2(message.find(c.mentions) != std::string::npos, message.c_str());
      refused(form, message);
    }
  }

  void ComputesTheExampleIntoChartMarginAndTable() {
    Session s;
    EmissionWindow* window = OpenEmission(s);
    window->SetForm(QuickClock(window->Form().Signals.size()));
    s.hook.Clear();
    QVERIFY(window->Compute());
    QVERIFY2(s.hook.messages.empty(), s.hook.messages.empty() ? "" : s.hook.messages[0].c_str());
    QVERIFY(window->Result());
    const emission::EmissionResult& result = *window->Result();
    QCOMPARE(result.Lines.size(), std::size_t(3));
    QCOMPARE(std::pair(result.Lines[0].FrequencyMHz, result.Lines[2].FrequencyMHz), std::pair(100.0, 300.0));
    auto* table = Child<QTableWidget>(window, "Lines");
    QCOMPARE(table->rowCount(), 3);
    for (int row = 0; row < 3; ++row) {
      const emission::EmissionTableRow cells = emission::EmissionTableRowOf(result.Lines[static_cast<std::size_t>(row)], result.SiteName);
      for (int column = 0; column < 6; ++column)
        QCOMPARE(table->item(row, column)->text().toStdString(), cells[static_cast<std::size_t>(column)]);
    }
    QCOMPARE(Child<QLabel>(window, "WorstMargin")->text().toStdString(), emission::VerdictText(result));
    QVERIFY(result.WorstMarginDb);
    // Each line was driven by the typed clock's harmonic: 2 c_n of 1.5 V, 100 MHz,
    // rise 1 ns, fall 2 ns, duty 0.4, on every source.
    const emission::TrapezoidWaveform typed{
        .AmplitudeV = 1.5, .FundamentalMHz = 100.0, .RiseNs = 1.0, .FallNs = 2.0, .Duty = 0.4};
    for (int n = 1; n <= 3; ++n) {
      const emission::EmissionLine& line = result.Lines[static_cast<std::size_t>(n - 1)];
      QCOMPARE(line.Sources.size(), s.window->CurrentProject().VoltageSources.size());
      const std::complex<double> expected = emission::TrapezoidHarmonicPhasor(typed, n);
      QVERIFY(std::abs(line.Sources[0].AmplitudeV - expected) < 1e-12 * std::abs(expected));
    }
    QVERIFY(Child<QPushButton>(window, "SaveChart")->isEnabled());
    QVERIFY(!Child<QPushButton>(window, "Abort")->isVisible());
    QVERIFY(s.window->Computation()->isEnabled());

    // The chart widget shows the run: some pixel of a line's colour.
    const QImage shot = Child<QWidget>(window, "Chart")->grab().toImage();
    KeepPicture(shot, "emission-chart-view.png");
    bool coloured = false;
    for (int y = 0; y < shot.height() && !coloured; y += 2)
      for (int x = 0; x < shot.width() && !coloured; ++x) {
        const QColor c = shot.pixelColor(x, y);
        coloured = (c.blue() > 150 && c.red() < 80) || (c.red() > 180 && c.green() < 80);
      }
    QVERIFY(coloured);
  }

  void AbortStopsTheRunAndKeepsTheLinesComputed() {
    Session s;
    EmissionWindow* window = OpenEmission(s);
    EmissionForm form = QuickClock(window->Form().Signals.size());
    form.Signals[0].Fundamental = "10";
    form.Stop = "1000";  // a hundred lines
    window->SetForm(form);
    // The Abort button, pressed as soon as the run lets events through.
    bool wasVisible = false;
    AbortOnceRunning(window, wasVisible);
    window->Compute();
    QVERIFY(wasVisible);
    QVERIFY(window->Result() && window->Result()->Aborted && window->Result()->Lines.size() < 100);
    QVERIFY(!window->Running() && !Child<QPushButton>(window, "Abort")->isVisible());
    QVERIFY(Child<QPushButton>(window, "Compute")->isEnabled());
    // The next run is not aborted by the last press.
    window->SetForm(QuickClock(window->Form().Signals.size()));
    QVERIFY(window->Compute());
    QVERIFY(!window->Result()->Aborted);
    QCOMPARE(window->Result()->Lines.size(), std::size_t(3));
  }

  void ExportsChartAndReport() {
    Session s;
    EmissionWindow* window = OpenEmission(s);
    window->SetForm(QuickClock(window->Form().Signals.size()));
    QVERIFY(window->Compute());

    const auto saveAs = [&](const QString& path, const char* button) {
      AnswerFileDialogs(path);
      QTest::mouseClick(Child<QPushButton>(window, button), Qt::LeftButton);
    };
    s.hook.Clear();
    saveAs(s.PathOf("chart"), "SaveChart");  // no extension: SVG
    QVERIFY(QFile::exists(s.PathOf("chart.svg")));
    saveAs(s.PathOf("chart.png"), "SaveChart");
    QCOMPARE(QImage(s.PathOf("chart.png")).size(), QSize(1200, 700));
    saveAs(s.PathOf("chart.gif"), "SaveChart");
    QCOMPARE(s.hook.messages, std::vector<std::string>{"Error: Unknown fileformat"});
    QVERIFY(!QFile::exists(s.PathOf("chart.gif")));

    // The CSV file is the core's, byte for byte.
    saveAs(s.PathOf("lines"), "SaveCsv");
    QCOMPARE(FileBytes(s.PathOf("lines.csv")).toStdString(), emission::EmissionCsv(*window->Result()));
    saveAs(s.PathOf("report"), "SaveReport");
    QVERIFY(FileBytes(s.PathOf("report.pdf")).startsWith("%PDF-"));
    const QString text = PdfText(s.PathOf("report.pdf"));
    QVERIFY2(text.contains(QString::fromStdString(emission::VerdictText(*window->Result()))), qPrintable(text));

    // An existing file is asked about; No leaves it alone.
    const qint64 before = QFileInfo(s.PathOf("report.pdf")).size();
    s.hook.Clear();
    s.hook.answers = {Answer::No};
    QFile::resize(s.PathOf("report.pdf"), 10);
    saveAs(s.PathOf("report.pdf"), "SaveReport");
    QCOMPARE(s.hook.questions, std::vector<std::string>{"File \"report.pdf\" already exist.  Overwrite?"});
    QCOMPARE(QFileInfo(s.PathOf("report.pdf")).size(), qint64(10));
    QVERIFY(before > 10);

    // A folder that does not exist: the write error in a box.
    s.hook.Clear();
    saveAs(s.PathOf("missing/chart.svg"), "SaveChart");
    QVERIFY(s.hook.messages.size() == 1 && s.hook.messages[0].find("missing/chart.svg") != std::string::npos);
  }
};

QTEST_MAIN(EmissionWindowTest)
#include "emission_window_test.moc"
