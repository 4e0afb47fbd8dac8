// The "Immunity" window: opened from the Utility menu with the loads of the
// bundled receiver listed, refusals shown with the core's exact messages and
// nothing run, short sweeps computed into the chart (with its threshold line),
// the verdict and the table, CSV and JSON files equal to lumetra-cli's byte for
// byte for the same options, the chart files, and Abort.

#include "app/immunity_window.h"
#include "app/network_window.h"
#include "plots/immunity_chart.h"
#include "studies/immunity/immunity_outputs.h"
#include "tests/gui/gui_test_support.h"

namespace {

QString OpenReceiver(Session& s) { return OpenExample(s, "immunity-receiver", "receiver"); }

ImmunityWindow* OpenImmunity(Session& s) {
  return OpenWindow(*s.window, "Immunity", &MainWindow::Immunity);
}

void Sweep(ImmunityWindow* window, const QString& start, const QString& stop, const QString& step, bool log = false) {
  Fill(window, {{"SweepFreq", Clicked}, {"StartFreq", start}, {"StopFreq", stop}, {"StepFreq", step}});
  Child<QCheckBox>(window, "LogSweep")->setChecked(log);
}

void SaveThrough(ImmunityWindow* window, const char* button, const QString& path) {
  AnswerFileDialogs(path);
  QTest::mouseClick(Child<QPushButton>(window, button), Qt::LeftButton);
}

// Whether some pixel of the picture is near the colour.
bool HasColour(const QImage& image, QRgb rgb) {
  const QColor want = QColor::fromRgb(rgb);
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) {
      const QColor c = image.pixelColor(x, y);
      if (std::abs(c.red() - want.red()) + std::abs(c.green() - want.green()) + std::abs(c.blue() - want.blue()) < 40)
        return true;
    }
  return false;
}

}  // namespace

class ImmunityWindowTest : public QObject {
  Q_OBJECT
private slots:
  void MenuListsTheLoads() {
    Session s;
    OpenReceiver(s);
    ImmunityWindow* window = OpenImmunity(s);
    QVERIFY(window->isVisible());
    QCOMPARE(window->windowTitle(), QString("Immunity"));
    auto* loads = Child<QTableWidget>(window, "Loads");
    QCOMPARE(loads->rowCount(), 2);
    QCOMPARE(loads->item(1, 1)->text() + " " + loads->item(1, 2)->text(), QString("Jx 99 10000"));
    QCOMPARE(Child<QLineEdit>(window, "Field")->text(), QString("10"));
    for (const char* save : {"SaveChart", "SaveCsv", "SaveJson"}) QVERIFY(!Child<QPushButton>(window, save)->isEnabled());
    QVERIFY(!Child<QPushButton>(window, "Abort")->isVisible());
    // The ticks count only while the loads are chosen one by one.
    QVERIFY(!(loads->item(0, 0)->flags() & Qt::ItemIsUserCheckable));
    window->SetForm({.EveryPort = false, .ChosenLoads = {2}, .Field = "3", .Threshold = "0.05"});
    QVERIFY(loads->item(0, 0)->flags() & Qt::ItemIsUserCheckable);
    const ImmunityForm back = window->Form();
    QVERIFY(!back.EveryPort && back.ChosenLoads == std::vector<int>{2});
    QCOMPARE(back.Field + " " + back.Threshold, std::string("3 0.05"));
  }

  void RefusalsShowTheCoreMessageAndRunNothing() {
    {
      // A board without loads has no receiver.
      Session s;
      QCOMPARE(Refusal(OpenImmunity(s), s.hook), std::vector<std::string>{immunity::NoLoadMessage});
    }
    Session s;
    OpenReceiver(s);
    ImmunityWindow* window = OpenImmunity(s);
    Fill(window, {{"SingFreq", Clicked}, {"Frequency", "300"}});
    const auto refused = [&](const ImmunityForm& form, const std::string& expected) {
      window->SetForm(form);
      s.hook.Clear();
      QTest::mouseClick(Child<QPushButton>(window, "Compute"), Qt::LeftButton);
      QCOMPARE(s.hook.messages, std::vector<std::string>{expected});
      QVERIFY(!window->Result() && !window->Running());
      QVERIFY(Child<QPushButton>(window, "Compute")->isEnabled());
    };
    // Every port, the field and the threshold of each form.
    for (const char* field : {"abc", "0", "-10", ""}) refused({true, {}, field, ""}, immunity::FieldLevelMessage);
    for (const char* threshold : {"x", "0", "-0.1"}) refused({true, {}, "10", threshold}, immunity::ThresholdMessage);
    refused({false, {}, "10", ""}, NoLoadChosenMessage);
    // The frequencies are the core's to refuse, with its message.
    Child<QLineEdit>(window, "Frequency")->setText("abc");
    window->SetForm(ImmunityForm{});
    QCOMPARE(Refusal(window, s.hook).size(), std::size_t(1));
  }

  void SweepsEqualTheCommandLinesFilesByteForByte() {
    Session s;
    const QString project = OpenReceiver(s);
    ImmunityWindow* window = OpenImmunity(s);
    const struct {
      ImmunityForm form;
      QString start, stop, step;
      bool log;
      QStringList cli;
      std::size_t points, ports;
    } cases[] = {
        // The receiver alone around its quarter-wave resonance, against its 0.1 V margin.
        {{false, {2}, "10", "0.1"}, "300", "400", "50", false,
         {"--sweep", "300", "400", "50", "--load", "2", "--threshold", "0.1"}, 3, 1},
        // Both loads at 3 V/m over a log sweep of 100, 200, 400 MHz.
        {{true, {}, "3", ""}, "100", "400", "2", true, {"--sweep", "100", "400", "2", "--log", "--field", "3"}, 3, 2},
    };
    int n = 0;
    for (const auto& c : cases) {
      window->SetForm(c.form);
      Sweep(window, c.start, c.stop, c.step, c.log);
      s.hook.Clear();
      QVERIFY2(window->Compute(), Joined(s.hook.messages));
      const immunity::ImmunityResult& result = *window->Result();
      QCOMPARE(result.Points.size(), c.points);
      QCOMPARE(result.Ports.size(), c.ports);
      const ImmunityRequest request = BuildImmunityRequest(c.form);
      const immunity::ImmunityReport report{result, request.Options.FieldVPerM, request.ThresholdV};

      // lumetra-cli's JSON on its standard output, its CSV file (exit 3: over the threshold).
      const QString gui = s.PathOf(QString("gui%1").arg(n)), cliCsv = s.PathOf(QString("cli%1.csv").arg(n));
      SaveThrough(window, "SaveCsv", gui);
      SaveThrough(window, "SaveJson", gui);
      QByteArray cliJson;
      const int exit = RunCli(QStringList{"immunity", project} + c.cli + QStringList{"--json", "--csv", cliCsv}, &cliJson);
      QVERIFY(exit == 0 || exit == 3);
      QVERIFY(!FileBytes(cliCsv).isEmpty());
      QCOMPARE(FileBytes(gui + ".csv"), FileBytes(cliCsv));
      QCOMPARE(FileBytes(gui + ".json"), cliJson);

      // The table and the verdict are the core's texts of the same result.
      auto* table = Child<QTableWidget>(window, "Table");
      QCOMPARE(table->rowCount(), static_cast<int>(c.points * c.ports));
      int row = 0;
      for (const immunity::ImmunityPoint& point : result.Points)
        for (const immunity::PortWorst& worst : point.Ports) {
          const std::vector<std::string> cells = immunity::ImmunityTableCells(point, worst, request.ThresholdV);
          QCOMPARE(table->columnCount(), static_cast<int>(cells.size()));
          for (std::size_t column = 0; column < cells.size(); ++column)
            QCOMPARE(table->item(row, static_cast<int>(column))->text().toStdString(), cells[column]);
          ++row;
        }
      QCOMPARE(Child<QLabel>(window, "Verdict")->text().toStdString(), immunity::ImmunityVerdict(report));

      // The chart: the first port's blue line, and the threshold's red line when set.
      const QImage shot = Child<QWidget>(window, "Chart")->grab().toImage();
      KeepPicture(shot, QString("immunity-chart-view-%1.png").arg(n));
      QVERIFY(HasColour(shot, 0x1f5fb4));
      QCOMPARE(HasColour(shot, immunity::ThresholdLineRgb), request.ThresholdV.has_value());
      ++n;
    }

    // The receiver of the first case rings near 375 MHz: over its 0.1 V margin
    // (the example's 0.12 V), from a wave grazing the board in theta polarisation.
    window->SetForm(cases[0].form);
    Sweep(window, "300", "400", "50");
    QVERIFY(window->Compute());
    const auto& worst = window->Result()->Points[1].Ports[0];
    QVERIFY2(worst.VoltageV > 0.1 && worst.VoltageV < 0.2, qPrintable(QString::number(worst.VoltageV)));
    QVERIFY(std::abs(worst.ThetaDeg - 90.0) < 1.0);
    QVERIFY(Child<QLabel>(window, "Verdict")->text().startsWith("Threshold exceeded"));

    // The chart files: SVG by default with its threshold, PNG at 1200 x 700 (the
    // refusals and the overwrite question are the study windows' own, emission tests).
    s.hook.Clear();
    SaveThrough(window, "SaveChart", s.PathOf("chart"));
    QVERIFY(FileBytes(s.PathOf("chart.svg")).contains("threshold 0.1 V"));
    SaveThrough(window, "SaveChart", s.PathOf("chart.png"));
    const QImage png(s.PathOf("chart.png"));
    QCOMPARE(png.size(), QSize(1200, 700));
    QVERIFY(HasColour(png, immunity::ThresholdLineRgb));
    QVERIFY(s.hook.messages.empty());
  }

  void AbortStopsTheSweep() {
    Session s;
    OpenReceiver(s);
    ImmunityWindow* window = OpenImmunity(s);
    Sweep(window, "10", "1000", "10");  // a hundred frequencies
    bool wasVisible = false, othersWaited = false;
    QTimer::singleShot(0, window, [&] {
      // Another study window's Compute does nothing meanwhile: not even its refusal
      // of a board without sources.
      s.hook.Clear();
      othersWaited = !s.window->Network()->Compute() && s.hook.messages.empty();
      auto* abort = Child<QPushButton>(window, "Abort");
      wasVisible = abort->isVisible();
      QTest::mouseClick(abort, Qt::LeftButton);
    });
    window->Compute();
    QVERIFY(wasVisible);
    QVERIFY(othersWaited);
    QVERIFY(!window->Running() && !Child<QPushButton>(window, "Abort")->isVisible());
    QVERIFY(Child<QPushButton>(window, "Compute")->isEnabled());
    if (window->Result()) {
      QVERIFY(window->Result()->Aborted && window->Result()->Points.size() < 100);
    }
    QVERIFY(Child<QLabel>(window, "Progress")->text().startsWith("Aborted"));
    // The next run is not aborted by the last press.
    Sweep(window, "300", "400", "50");
    QVERIFY(window->Compute() && !window->Result()->Aborted);
    QCOMPARE(window->Result()->Points.size(), std::size_t(3));
  }
};

QTEST_MAIN(ImmunityWindowTest)
#include "immunity_window_test.moc"
