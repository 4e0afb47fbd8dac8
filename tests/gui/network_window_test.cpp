// The "Network parameters" window: opened from the Utility menu with the ports
// listed, refusals shown with the core's exact messages and nothing run, a
// two-port copy of the crosstalk example computed, its Touchstone files equal to
// lumetra-cli's byte for byte for the same options, the chart's |S21| in dB equal
// to the file's, and Abort.

#include <complex>

#include "app/network_window.h"
#include "studies/network/network_file.h"
#include "studies/narrow_strip_warning.h"
#include "studies/network/network_run.h"
#include "studies/network/touchstone.h"
#include "tests/gui/gui_test_support.h"

namespace {

// The crosstalk example reduced to the near ends of its two traces: a two-port
// (the driven trace's and the quiet trace's drivers) of 302 unknowns, a quick run.
// sources: the lines of the example's .GEN file kept, two lines per source.
QString OpenPair(Session& s, const std::vector<int>& sources = {1, 3}) {
  const QDir from(QStringLiteral(LUMETRA_EXAMPLES) + "/crosstalk");
  QDir(s.directory.path()).mkdir("pair");
  for (const char* extension : {"GPC", "IMP", "PRO", "SEG"})
    QFile::copy(from.filePath(QString("crosstalk.") + extension), s.PathOf(QString("pair/pair.") + extension));
  QFile gen(from.filePath("crosstalk.GEN"));
  gen.open(QIODevice::ReadOnly);
  const QList<QByteArray> lines = gen.readAll().split('\n');
  QByteArray kept;
  for (int source : sources)
    for (int k = 0; k < 2; ++k) kept += lines[(source - 1) * 2 + k] + '\n';
  WriteFile(s.PathOf("pair/pair.GEN"), kept);
  const QString path = s.PathOf("pair/pair.PRO");
  if (!s.window->OpenProjectFile(path)) qWarning("pair did not open");
  return path;
}

NetworkWindow* OpenNetwork(Session& s) {
  return OpenWindow(*s.window, "NetworkParameters", &MainWindow::Network);
}

void Sweep(NetworkWindow* window, const QString& start, const QString& stop, const QString& step) {
  Fill(window, {{"SweepFreq", Clicked}, {"StartFreq", start}, {"StopFreq", stop}, {"StepFreq", step}});
}

void Choose(NetworkWindow* window, const char* combo, const QString& data) {
  auto* box = Child<QComboBox>(window, combo);
  box->setCurrentIndex(box->findData(data));
}

// lumetra-cli network on the project with the given options; the file's bytes.
QByteArray CliFile(const QString& project, const QString& out, const QStringList& options) {
  RunCli(QStringList{"network", project} + options + QStringList{"--touchstone", out});
  return FileBytes(out);
}

}  // namespace

class NetworkWindowTest : public QObject {
  Q_OBJECT
private slots:
  void MenuOpensWithThePortsListed() {
    Session s;
    OpenPair(s);
    NetworkWindow* window = OpenNetwork(s);
    QVERIFY(window->isVisible());
    QCOMPARE(window->windowTitle(), QString("Network parameters"));
    auto* ports = Child<QTableWidget>(window, "Ports");
    QCOMPARE(ports->rowCount(), 2);
    QCOMPARE(ports->item(1, 1)->text() + " " + ports->item(1, 3)->text(), QString("Jx 150 31.5"));
    // Nothing to save before a run; Abort only while one runs.
    QVERIFY(!Child<QPushButton>(window, "SaveTouchstone")->isEnabled());
    QVERIFY(!Child<QPushButton>(window, "Abort")->isVisible());
    // The sweep fields only for a sweep, as on the Computation page.
    Child<QRadioButton>(window, "SingFreq")->setChecked(true);
    QVERIFY(!Child<QLineEdit>(window, "StartFreq")->isEnabled());
    Sweep(window, "100", "300", "100");
    QVERIFY(!Child<QLineEdit>(window, "Frequency")->isEnabled());
    const ComputationSettings settings = window->Settings();
    QVERIFY(settings.SweepFreq);
    QCOMPARE(settings.StartFreq + " " + settings.StopFreq, std::string("100 300"));
  }

  void RefusalsShowTheCoreMessageAndRunNothing() {
    {
      // A board without sources has no port.
      Session s;
      QCOMPARE(Refusal(OpenNetwork(s), s.hook), std::vector<std::string>{network::NoPortsMessage});
    }
    {
      // Two sources on one element would short each other.
      Session s;
      OpenPair(s, {1, 1});
      QCOMPARE(Refusal(OpenNetwork(s), s.hook), std::vector<std::string>{network::SharedElementMessage(1, 2)});
    }
    Session s;
    OpenPair(s);
    NetworkWindow* window = OpenNetwork(s);
    Fill(window, {{"SingFreq", Clicked}, {"Frequency", "200"}});
    const struct {
      const char* typed;
      std::string message;
    } references[] = {
        {"fifty", "Error: Reference impedance: \"fifty\" is not a number of ohms"},
        {"50,", "Error: Reference impedance: \"\" is not a number of ohms"},
        {"50, 75, 100", "Error: Reference impedance: give one reference impedance, or one per port (2)"},
        {"-50", "Error: Reference impedance: a reference impedance must be a positive number of ohms"},
        {"0", "Error: Reference impedance: a reference impedance must be a positive number of ohms"},
    };
    for (const auto& bad : references) {
      Child<QLineEdit>(window, "Reference")->setText(bad.typed);
      QCOMPARE(Refusal(window, s.hook), std::vector<std::string>{bad.message});
    }
    // The frequencies are the core's to refuse, with its message.
    Fill(window, {{"Reference", "50"}, {"Frequency", "abc"}});
    QCOMPARE(Refusal(window, s.hook).size(), std::size_t(1));

    // A file name for another port count is refused before anything is written.
    Child<QLineEdit>(window, "Frequency")->setText("200");
    QVERIFY(window->Compute());
    s.hook.Clear();
    QVERIFY(!window->SaveTouchstone(s.PathOf("pair.s3p")) && !QFile::exists(s.PathOf("pair.s3p")));
    QCOMPARE(s.hook.messages, std::vector<std::string>{network::TouchstoneNameMessage(2)});
    // A name without extension gets the right one.
    s.hook.Clear();
    QVERIFY(window->SaveTouchstone(s.PathOf("bare")) && QFile::exists(s.PathOf("bare.s2p")));
    QVERIFY(s.hook.messages.empty());
    // A folder that does not exist: the writer's message.
    s.hook.Clear();
    QVERIFY(!window->SaveTouchstone(s.PathOf("missing/pair.s2p")));
    QCOMPARE(s.hook.messages.size(), std::size_t(1));
  }

  void SavedFilesEqualTheCommandLinesByteForByte() {
    Session s;
    const QString project = OpenPair(s);
    NetworkWindow* window = OpenNetwork(s);
    Sweep(window, "100", "400", "100");
    s.hook.Clear();
    QVERIFY2(window->Compute(), Joined(s.hook.messages));
    // The example's traces are one cell wide over the plane: that warning only.
    QCOMPARE(s.hook.messages, std::vector<std::string>{lumetra::NarrowStripWarning});
    QCOMPARE(std::pair(window->Result()->Points.size(), window->Result()->Unknowns), std::pair(std::size_t(4), 302));
    QVERIFY(Child<QPushButton>(window, "SaveTouchstone")->isEnabled());

    const struct {
      const char *parameter, *format, *reference;
      QStringList cli;
    } cases[] = {
        {"S", "MA", "50", {}},
        {"S", "DB", "75", {"--format", "db", "--z0", "75"}},
        {"Z", "RI", "50, 100", {"--param", "z", "--format", "ri", "--z0", "50,100"}},
        {"Y", "MA", "50", {"--param", "y"}},
    };
    int n = 0;
    for (const auto& c : cases) {
      Choose(window, "Parameter", c.parameter);
      Choose(window, "Format", c.format);
      Child<QLineEdit>(window, "Reference")->setText(c.reference);
      const QString gui = s.PathOf(QString("gui%1.s2p").arg(n));
      // Through the button, the file dialog answered.
      AnswerFileDialogs(gui);
      QTest::mouseClick(Child<QPushButton>(window, "SaveTouchstone"), Qt::LeftButton);
      const QByteArray written = FileBytes(gui);
      QVERIFY2(!written.isEmpty(), c.parameter);
      const QByteArray cli =
          CliFile(project, s.PathOf(QString("cli%1.s2p").arg(n)),
                  QStringList{"--sweep", "100", "400", "100"} + c.cli);
      QCOMPARE(written, cli);
      QVERIFY(written.contains("\r\n"));
      ++n;
    }

    // The chart's |S21| in dB is the file's, at the file's frequencies, for the
    // reference typed; and it follows a change of the reference.
    for (const char* reference : {"50", "100"}) {
      Child<QLineEdit>(window, "Reference")->setText(reference);
      window->ShowEntry(2, 1);
      Choose(window, "Parameter", "S");
      Choose(window, "Format", "RI");
      const QString file = s.PathOf(QString("chart-%1.s2p").arg(reference));
      QVERIFY(window->SaveTouchstone(file));
      const network::TouchstoneData data = network::ReadTouchstone(file.toStdString());
      const auto* chart = Child<NetworkChartView>(window, "Chart");
      QVERIFY(chart->Curve());
      const NetworkCurve& curve = *chart->Curve();
      QCOMPARE(curve.Name, std::string("S21"));
      QCOMPARE(curve.FrequenciesMHz, data.FrequenciesMHz);
      for (std::size_t k = 0; k < data.FrequenciesMHz.size(); ++k) {
        const double expected = 20 * std::log10(std::abs(data.Matrices[k](1, 0)));
        QVERIFY2(std::abs(curve.Db[k] - expected) < 1e-9, qPrintable(QString::number(k)));
        // Coupling between two traces 3 mm apart: well below 0 dB, well above noise.
        QVERIFY(curve.Db[k] < -3 && curve.Db[k] > -60);
      }
    }
    // S11 of the driven trace: a nearly shorted line at its near end, close to 0 dB
    // but not above it (a passive network).
    window->ShowEntry(1, 1);
    const NetworkCurve& s11 = *Child<NetworkChartView>(window, "Chart")->Curve();
    QCOMPARE(s11.Name, std::string("S11"));
    for (double db : s11.Db) QVERIFY(db <= 1e-9 && db > -6);
  }

  void AbortStopsTheSweep() {
    Session s;
    OpenPair(s);
    NetworkWindow* window = OpenNetwork(s);
    Sweep(window, "10", "1000", "10");  // a hundred frequencies
    bool wasVisible = false;
    AbortOnceRunning(window, wasVisible);
    window->Compute();
    QVERIFY(wasVisible);
    QVERIFY(!window->Running());
    QVERIFY(!Child<QPushButton>(window, "Abort")->isVisible());
    QVERIFY(Child<QPushButton>(window, "Compute")->isEnabled());
    if (window->Result()) {
      QVERIFY(window->Result()->Aborted && window->Result()->Points.size() < 100);
    }
    QVERIFY(Child<QLabel>(window, "Progress")->text().startsWith("Aborted"));
    // The next run is not aborted by the last press.
    Sweep(window, "100", "200", "100");
    QVERIFY(window->Compute() && !window->Result()->Aborted);
    QCOMPARE(window->Result()->Points.size(), std::size_t(2));
  }

  void ClosingTheMainWindowStopsTheSweepFirst() {
    Session s;
    OpenPair(s);
    NetworkWindow* window = OpenNetwork(s);
    Sweep(window, "10", "1000", "10");
    bool closed = true;
    QTimer::singleShot(0, window, [&] { closed = s.window->close(); });
    window->Compute();
    QVERIFY(!closed);
    QVERIFY(s.window->isVisible());
    QVERIFY(!window->Result() || window->Result()->Aborted);
    QVERIFY(s.window->close());  // nothing running any more
  }
};

QTEST_MAIN(NetworkWindowTest)
#include "network_window_test.moc"
