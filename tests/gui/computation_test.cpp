// The Computation page: its defaults, the list mode, validation through the core,
// a computation end to end with its result files, Abort, and the calibration.
#include <QClipboard>
#include <QMenuBar>
#include <QPlainTextEdit>

#include "app/port_results_panel.h"
#include "plots/engineering_units.h"
#include "app/frequency_list_window.h"
#include "tests/gui/gui_dipole.h"
#include "tests/gui/gui_test_support.h"

namespace {

// The dipole drawn, the Computation page shown without loads; nothing recorded yet.
ComputationPage* DipoleOnThePage(Session& s) {
  DrawDipole(*s.window);
  s.window->Pages()->setCurrentIndex(1);
  Click(s.window->Computation(), "NoLoad");
  s.hook.Clear();
  return s.window->Computation();
}

}  // namespace

class ComputationTest : public QObject {
  Q_OBJECT
private slots:
  void TheFrequencyListReplacesTheSweepFields() {
    Session s(100, 20);
    s.window->Pages()->setCurrentIndex(1);
    ComputationPage* page = s.window->Computation();
    Child<QCheckBox>(page, "FreqListCB")->click();
    QVERIFY(!Child<QLineEdit>(page, "StartFreq")->isEnabled());
    QVERIFY(!Child<QCheckBox>(page, "LogSweep")->isEnabled() && page->FrequencyList()->isVisible());
    QCOMPARE(page->FrequencyList()->windowTitle(), QString("Frequency list"));
    page->FrequencyList()->Editor()->setPlainText("100\n200\n");
    QCOMPARE(page->Settings().FrequencyList, (std::vector<std::string>{"100", "200"}));
    Child<QCheckBox>(page, "FreqListCB")->click();
    QVERIFY(Child<QLineEdit>(page, "StartFreq")->isEnabled());
    QVERIFY(!page->FrequencyList()->isVisible());
  }

  void RefusedInputsAreReportedAndNothingRuns() {
    Session s(100, 20);
    ComputationPage* page = DipoleOnThePage(s);
    Fill(page, {{"IncField", Clicked}, {"IncTheta", "90"}, {"DielConst", "200"}});
    // While the messages are up the page must not look busy: validation comes
    // before the running state.
    int runningWhileRefusing = 0;
    QObject::connect(page, &ComputationPage::RunStarted, page, [&] { ++runningWhileRefusing; });
    s.hook.onMessage = [&](std::string_view) {
      if (Child<QPushButton>(page, "Abort")->isVisible() || !s.window->menuBar()->isEnabled())
        ++runningWhileRefusing;
    };
    QTest::mouseClick(Child<QPushButton>(page, "Compute"), Qt::LeftButton);
    QCOMPARE(s.hook.messages,
             (std::vector<std::string>{"Error: Out of range! Dielectric constant must be smaller than 100",
                                       "Error: Out of range! Incident Theta angle must be smaller than 90"}));
    QVERIFY(s.hook.questions.empty());
    QCOMPARE(runningWhileRefusing, 0);
    // The first refused field has the focus again, its text selected for retyping.
    QCOMPARE(s.window->focusWidget(), Child<QLineEdit>(page, "DielConst"));
    QVERIFY(!QFile::exists(s.PathOf("Board.XXX")));
    QCOMPARE(s.window->CurrentProject().Env.DielConst, std::string("200"));
    Fill(page, {{"DielConst", "1"}, {"IncTheta", "0"}, {"SweepFreq", Clicked}, {"StartFreq", "500"},
                {"StopFreq", "400"}});
    s.hook.Clear();
    QTest::mouseClick(Child<QPushButton>(page, "Compute"), Qt::LeftButton);
    QCOMPARE(s.hook.messages,
             std::vector<std::string>{"Error: Stop frequency must be greater than start frequency"});
    QCOMPARE(s.window->focusWidget(), Child<QLineEdit>(page, "StopFreq"));
    s.hook.onMessage = nullptr;
  }

  void ComputeWritesTheResultFilesAndReportsTheTimes() {
    Session s(100, 20);
    ComputationPage* page = DipoleOnThePage(s);
    QCOMPARE(s.window->CurrentProject().VoltageSources.size(), std::size_t{1});
    bool abortShownDuringRun = false;
    s.hook.onQuestion = [&](std::string_view) {
      abortShownDuringRun = Child<QPushButton>(page, "Abort")->isVisible() &&
                            !s.window->menuBar()->isEnabled() &&
                            !Child<QPushButton>(page, "Compute")->isEnabled();
    };
    QTest::mouseClick(Child<QPushButton>(page, "Compute"), Qt::LeftButton);
    QCOMPARE(s.hook.questions, std::vector<std::string>{"39 unknowns. Proceed with computation?"});
    QVERIFY(abortShownDuringRun);
    QCOMPARE(s.hook.messages.size(), std::size_t{1});
    QVERIFY(QString::fromStdString(s.hook.messages[0]).startsWith("Computation completed in "));
    QVERIFY(s.window->CurrentProject().Connected);
    for (const char* ext : {"YYY", "JXC", "JYC", "PRO"})
      QVERIFY2(QFile::exists(s.PathOf(QString("Board.") + ext)), ext);
    QVERIFY(QFileInfo(s.PathOf("Board.XXX")).size() > 0);
    QVERIFY(!QFile::exists(s.PathOf("TempFile.SEG")));
    QVERIFY(Child<QPushButton>(page, "Compute")->isEnabled() && !Child<QPushButton>(page, "Abort")->isVisible());

    // The port of the one source in engineering units, as the core computes them.
    PortResultsPanel* ports = page->PortResults();
    QCOMPARE(ports->Rows().size(), std::size_t{1});
    const PortRow& row = ports->Rows()[0];
    QVERIFY(row.Current && row.Impedance);
    // Z = V / I with the 1 V source.
    const Complex z = CDiv({1.0, 0.0}, *row.Current);
    QVERIFY(std::abs(z.Re - row.Impedance->Re) < 1e-9 * CAbs(z));
    QVERIFY(z.Re > 0);  // a passive port takes power
    QTableWidget* table = ports->TableOfSource(1);
    QVERIFY(table && table->rowCount() == 1);
    QCOMPARE(table->item(0, 0)->text() + " " + table->item(0, 2)->text(), "300 " + QString::number(CAbs(z), 'f', 2));
    const double gamma = CAbs(CDiv({z.Re - 50, z.Im}, {z.Re + 50, z.Im}));
    // A short dipole is almost a pure reactance: nearly all is reflected, |Gamma| < 1.
    QVERIFY(gamma < 1.0 && gamma > 0.5);
    QCOMPARE(table->item(0, 3)->text().toStdString(), FormatDb(20 * std::log10(gamma)));
    QCOMPARE(table->item(0, 5)->text().toStdString(), FormatPortRow(row).CurrentMagnitude);
    QCOMPARE(table->horizontalHeaderItem(3)->text(), QString("Gamma 50 ohm [dB]"));
    // Copy: the CSV on the clipboard.
    QTest::mouseClick(Child<QPushButton>(page, "CopyPortResults"), Qt::LeftButton);
    const QString copied = QApplication::clipboard()->text();
    QVERIFY2(copied.startsWith("Frequency [MHz],Source,Re(I) [A]"), qPrintable(copied));
    QCOMPARE(copied.count("\r\n"), 2);
    // Save: the same text in the file, with CR LF line ends.
    AnswerFileDialogs(s.PathOf("ports"));
    QTest::mouseClick(Child<QPushButton>(page, "SavePortResults"), Qt::LeftButton);
    const QByteArray saved = FileBytes(s.PathOf("ports.csv"));
    QCOMPARE(QString::fromUtf8(saved), copied);
    QVERIFY(saved.contains("\r\n300,1,"));
    KeepPicture(s.window->grab().toImage(), "computation-page-ports");
  }

  void AbortStopsTheRun() {
    Session s(100, 20);
    ComputationPage* page = DipoleOnThePage(s);
    // The user presses Abort while the first question is up; the run stops at the
    // next event poll.
    s.hook.onQuestion = [&](std::string_view) {
      QTest::mouseClick(Child<QPushButton>(page, "Abort"), Qt::LeftButton);
    };
    QTest::mouseClick(Child<QPushButton>(page, "Compute"), Qt::LeftButton);
    QCOMPARE(s.hook.messages, std::vector<std::string>{"The computation has been aborted!"});
    QVERIFY(Child<QPushButton>(page, "Compute")->isEnabled());
  }

  void CalibrationWritesTheConstantsFile() {
    Session s(100, 20);
    DipoleOnThePage(s);
    s.window->Options().ShowTimeEstimate = true;
    QStringList results;  // the results dialog's caption, unknowns and fill time
    OnNextModal([&](QWidget* d) {
      Click(d, "CalibrateBtn");
      ReadNextDialog(results, {"No", "Ft"});
    });
    s.window->Action("CalibrateTimeEstimate")->trigger();
    QCOMPARE(results.value(1), QString("39"));
    QVERIFY(QRegularExpression("^\\d+\\.\\d\\d seconds$").match(results.value(2)).hasMatch());
    // No completion times during the calibration; the option marks are back.
    QVERIFY(s.hook.messages.empty());
    QVERIFY(s.window->Options().ShowTimeEstimate && s.window->Action("ShowTimeEstimate")->isChecked());
    QVERIFY(QFile::exists(s.PathOf("Lumetra.TES")));
  }
};

QTEST_MAIN(ComputationTest)
#include "computation_test.moc"
