// The "Batch computation" window: rows and their buttons, the jobs taken from the
// Computation page, a batch of example projects run without a question, and the
// main window's own Compute locked while the window is up.

#include "app/batch_window.h"
#include "app/qt_user_interface.h"
#include "fields/result_files.h"
#include "fields/result_readers.h"
#include "tests/gui/gui_test_support.h"

namespace {

TBatchWindow* OpenBatch(Session& s) {
  return OpenWindow(*s.window, "BatchComputation", &MainWindow::BatchWindow);
}

void Press(TBatchWindow* batch, const QString& button) {
  QTest::mouseClick(Child<QPushButton>(batch, button), Qt::LeftButton);
}

void BrowseRow(TBatchWindow* batch, int n, const QString& path) {
  AnswerFileDialogs(path);
  Press(batch, "Button" + QString::number(n));
}

// The user comes back to the batch window from the main window.
void ActivateBatch(MainWindow& main, TBatchWindow* batch) {
  // The main window counts as active while its dialog is; wait for the real change.
  main.activateWindow();
  QTRY_VERIFY(QApplication::activeWindow() == &main);
  batch->activateWindow();
  QTRY_VERIFY(QApplication::activeWindow() == batch);
}

// The two examples copied and the batch window open; the Computation page.
struct BatchSetUp {
  QString dipole, shortDipole;
  TBatchWindow* batch;
  ComputationPage* page;
};
BatchSetUp TwoExamplesAndBatch(Session& s) {
  const QString dipole = CopyExample(s, "dipole"), shortDipole = CopyExample(s, "short-dipole");
  return {dipole, shortDipole, OpenBatch(s), s.window->Computation()};
}

QString Status(TBatchWindow* batch, int n) {
  return Child<QLabel>(batch, "Label" + QString::number(n))->text();
}

std::vector<double> Frequencies(const QString& pro, const char* ext) {
  QString file = pro;
  file.replace(".PRO", ext);
  return ScanFrequencies(file.toStdString(), CurrentFileFields);
}

}  // namespace

class BatchTest : public QObject {
  Q_OBJECT
private slots:
  void OpeningShowsEmptyRowsAndBrowseEnablesTheNext() {
    Session s(100, 20);
    const QString dipole = CopyExample(s, "dipole");
    TBatchWindow* batch = OpenBatch(s);
    QCOMPARE(batch->windowTitle(), QString("Batch computation"));
    QVERIFY(batch->windowFlags() & Qt::WindowStaysOnTopHint);
    QVERIFY(batch->isVisible() && s.window->isEnabled());  // the main window stays usable
    QVERIFY(Child<QPushButton>(batch, "Button1")->isEnabled());
    for (int b = 2; b <= 10; ++b)
      QVERIFY2(!Child<QPushButton>(batch, "Button" + QString::number(b))->isEnabled(),
               qPrintable(QString::number(b)));
    QVERIFY(Child<QLineEdit>(batch, "Edit1")->isReadOnly());

    BrowseRow(batch, 1, dipole);
    QCOMPARE(Child<QLineEdit>(batch, "Edit1")->text(), dipole);
    for (const char* on : {"Button6", "Button2"}) QVERIFY2(Child<QPushButton>(batch, on)->isEnabled(), on);
    for (const char* off : {"Button7", "Button3"}) QVERIFY2(!Child<QPushButton>(batch, off)->isEnabled(), off);
    QCOMPARE(batch->CurrentJob(), 1);
    QCOMPARE(batch->BatchJobs().size(), std::size_t{1});
    // The project is open in the main window, on its Computation page.
    QCOMPARE(s.window->windowTitle(), "Lumetra " + QFileInfo(dipole).fileName() + "[*]");
    QCOMPARE(s.window->Pages()->currentIndex(), 1);
    QVERIFY(s.hook.questions.empty() && s.hook.messages.empty());

    // A cancelled dialog changes nothing; choosing again appends another job.
    AnswerFileDialogs(QString());
    Press(batch, "Button1");
    QCOMPARE(batch->BatchJobs().size(), std::size_t{1});
    BrowseRow(batch, 1, dipole);
    QCOMPARE(batch->BatchJobs().size(), std::size_t{2});

    // Opening it from the menu again starts over.
    s.window->Action("BatchComputation")->trigger();
    QVERIFY(Child<QLineEdit>(batch, "Edit1")->text().isEmpty());
    QVERIFY(!Child<QPushButton>(batch, "Button2")->isEnabled() && batch->BatchJobs().empty());
    QCOMPARE(batch->CurrentJob(), 0);
  }

  void TwoProjectsRunWithoutAQuestionAndLeaveTheirResults() {
    Session s(100, 20);
    const auto [dipole, shortDipole, batch, page] = TwoExamplesAndBatch(s);

    BrowseRow(batch, 1, dipole);
    Fill(page, {{"NoLoad", Clicked}, {"Frequency", "1420"}});
    ActivateBatch(*s.window, batch);
    BrowseRow(batch, 2, shortDipole);
    // The new row starts from its own project's settings, not from the page as the
    // dipole left it; the dipole's were stored with it when the window came back.
    QCOMPARE(batch->BatchJobs()[1].Frequency, std::string("300"));
    QVERIFY(QFile::exists(QString(dipole).replace(".PRO", ".STG")));
    Fill(page, {{"NoLoad", Clicked}, {"Frequency", "300"}, {"FarField", Clicked}, {"PhiStep", "90"}});
    ActivateBatch(*s.window, batch);

    // During each run its row is marked and nothing in the window can interfere.
    QStringList marks;
    bool rowsLocked = true;
    QObject::connect(page, &ComputationPage::RunStarted, batch, [&] {
      marks << Status(batch, 1) + "|" + Status(batch, 2);
      for (const char* b : {"Button1", "Button3", "Button6", "Start", "Button12"})
        rowsLocked = rowsLocked && !Child<QPushButton>(batch, b)->isEnabled();
    });
    s.hook.Clear();
    Press(batch, "Start");
    QCOMPARE(marks, (QStringList{"-->|", "Done|-->"}));
    QVERIFY(rowsLocked);
    QVERIFY2(s.hook.questions.empty(), Joined(s.hook.questions));
    QVERIFY2(s.hook.messages.empty(), Joined(s.hook.messages));
    // Empty rows are skipped.
    QCOMPARE(Status(batch, 1) + "|" + Status(batch, 2) + "|" + Status(batch, 3), QString("Done|Done|"));
    QVERIFY(Child<QPushButton>(batch, "Start")->isEnabled());

    QCOMPARE(Frequencies(dipole, ".XXX"), std::vector<double>{1420});
    QCOMPARE(Frequencies(shortDipole, ".XXX"), std::vector<double>{300});
    QVERIFY(QFileInfo(QString(shortDipole).replace(".PRO", ".RAD")).size() > 0);
    QVERIFY(!QFile::exists(QString(dipole).replace(".PRO", ".RAD")));
    QVERIFY(!QFile::exists(s.PathOf("TempFile.SEG")));
    QCOMPARE(s.window->windowTitle(), "Lumetra " + QFileInfo(shortDipole).fileName() + "[*]");

    // The runs re-enable the page's Compute, but not while the batch window is up;
    // its Close button and its close box unlock it and clear the rows.
    auto* compute = Child<QPushButton>(page, "Compute");
    auto* listChoice = Child<QCheckBox>(page, "FreqListCB");
    QVERIFY(!compute->isEnabled() && !listChoice->isEnabled());
    Press(batch, "Button12");
    QVERIFY(!batch->isVisible() && compute->isEnabled() && listChoice->isEnabled());
    QVERIFY(batch->BatchJobs().empty());
    OpenBatch(s);
    ActivateBatch(*s.window, batch);
    QVERIFY(!compute->isEnabled());
    batch->close();
    QVERIFY(compute->isEnabled());
  }

  void PageEditsCountOnlyOnceTheWindowIsActivatedAgain() {
    Session s(100, 20);
    const auto [dipole, shortDipole, batch, page] = TwoExamplesAndBatch(s);
    BrowseRow(batch, 1, dipole);
    BrowseRow(batch, 2, shortDipole);
    QCOMPARE(batch->CurrentJob(), 2);

    // Define / Edit puts row 1's job on the page; edits there are not yet the job.
    Press(batch, "Button6");
    QCOMPARE(batch->CurrentJob(), 1);
    QCOMPARE(s.window->windowTitle(), "Lumetra " + QFileInfo(dipole).fileName() + "[*]");
    Fill(page, {{"SweepFreq", Clicked}, {"StartFreq", "1400"}, {"StopFreq", "1420"}, {"StepFreq", "20"},
                {"NoLoad", Clicked}, {"GroundPlane", Clicked}, {"GPHeight", "1.5"}, {"EffEps", Clicked}});
    s.window->Options().EffectivePermittivity = {EffectivePermittivityModel::ApproximateEvery, 3};
    QVERIFY(batch->BatchJobs()[0].SingleFrequency);
    QCOMPARE(batch->BatchJobs()[0].Frequency, std::string("300"));

    ActivateBatch(*s.window, batch);
    const BatchJob job = batch->BatchJobs()[0];
    QVERIFY(!job.SingleFrequency && job.LinearSweep && !job.ImpedanceLoading && !job.RigSol);
    QCOMPARE(job.Frequency, std::string("1400"));  // the sweep's start
    QCOMPARE(job.StopFreq, std::string("1420"));
    QVERIFY(job.GroundPlane);
    QCOMPARE(job.GPHeight, std::string("1.5"));
    QCOMPARE(job.EffectivePermittivity.Every, 3);
    QVERIFY(batch->BatchJobs()[1].SingleFrequency);  // row 2 untouched

    // Row 2's job goes onto the page, with its own permittivity options; row 1's
    // comes back exactly.
    Press(batch, "Button7");
    QCOMPARE(Texts(page, {"SingFreq", "GroundPlane", "RigSol"}), QStringList({"checked", "unchecked", "checked"}));
    QCOMPARE(s.window->Options().EffectivePermittivity.Model,
             EffectivePermittivityModel::SimpleFormula);
    Press(batch, "Button6");
    QCOMPARE(Texts(page, {"SweepFreq", "StartFreq", "GPHeight", "EffEps"}),
             QStringList({"checked", "1400", "1.5", "checked"}));
    QCOMPARE(s.window->Options().EffectivePermittivity.Every, 3);
    QCOMPARE(s.window->CurrentProject().Env.GPHeight, std::string("1.5"));

    // An edit without coming back is not taken: the batch runs the job as captured.
    SetText(page, "StopFreq", "1500");
    s.hook.Clear();
    Press(batch, "Start");
    QCOMPARE(Frequencies(dipole, ".XXX"), (std::vector<double>{1400, 1420}));
    // The ground plane of the job went into the project file the run refreshed.
    QCOMPARE(QString(FileBytes(dipole)).split("\r\n").value(6), QString("1.5"));
    // Row 2 ran with the page's default loads on a project without any: it failed
    // with the error in its row and no box waiting for a click.
    QVERIFY2(s.hook.messages.empty(), Joined(s.hook.messages));
    QCOMPARE(Status(batch, 2), QString("Failed"));
    QCOMPARE(batch->RowMessage(2), QString("Error: You have not defined any impedances!"));
  }

  void UnsavedWorkIsOfferedAndAVanishedProjectIsNotComputedInItsPlace() {
    Session s(100, 20);
    const auto [dipole, shortDipole, batch, page] = TwoExamplesAndBatch(s);

    // The open project has unsaved work: the batch asks before opening another.
    s.window->CurrentProject().Saved = false;
    s.hook.answers = {Answer::Cancel};
    int asked = 0;
    SetFileChooserHook([&](bool, const QString&) { ++asked; return dipole; });
    Press(batch, "Button1");
    QCOMPARE(s.hook.questions, std::vector<std::string>{"Save changes to project?"});
    QCOMPARE(asked, 0);
    QVERIFY(Child<QLineEdit>(batch, "Edit1")->text().isEmpty());
    s.window->CurrentProject().Saved = true;

    BrowseRow(batch, 1, dipole);
    Fill(page, {{"NoLoad", Clicked}, {"Frequency", "1420"}});
    ActivateBatch(*s.window, batch);
    BrowseRow(batch, 2, shortDipole);
    QFile::remove(shortDipole);
    int runs = 0;
    QObject::connect(page, &ComputationPage::RunStarted, batch, [&] { ++runs; });
    s.hook.Clear();
    Press(batch, "Start");
    QCOMPARE(runs, 1);  // row 1 only: row 2 must not compute the dipole again
    // No box waits for a click: the row says what went wrong.
    QVERIFY2(s.hook.messages.empty(), Joined(s.hook.messages));
    QCOMPARE(Status(batch, 1) + "|" + Status(batch, 2), QString("Done|Failed"));
    QVERIFY(batch->RowMessage(2).contains("short-dipole.PRO"));
    QCOMPARE(Frequencies(dipole, ".XXX"), std::vector<double>{1420});
  }

  void AFailingRowIsMarkedAndLoggedAndTheNextStillRuns() {
    Session s(100, 20);
    const auto [dipole, shortDipole, batch, page] = TwoExamplesAndBatch(s);
    // Row 1 keeps "use the loads" although the dipole has none; row 2 is sound.
    BrowseRow(batch, 1, dipole);
    Child<QRadioButton>(page, "ImpFile")->click();
    ActivateBatch(*s.window, batch);
    BrowseRow(batch, 2, shortDipole);
    Fill(page, {{"NoLoad", Clicked}, {"Frequency", "300"}});
    ActivateBatch(*s.window, batch);

    s.hook.Clear();
    Press(batch, "Start");
    QVERIFY2(s.hook.messages.empty(), Joined(s.hook.messages));
    QVERIFY2(s.hook.questions.empty(), Joined(s.hook.questions));
    QCOMPARE(Status(batch, 1), QString("Failed"));
    QCOMPARE(batch->RowMessage(1), QString("Error: You have not defined any impedances!"));
    QVERIFY(Child<QLabel>(batch, "Message1")->text().startsWith("Error: You have not"));
    QCOMPARE(Status(batch, 2), QString("Done"));
    QVERIFY(batch->RowMessage(2).isEmpty());
    QVERIFY(IsResultFileEmpty(QString(dipole).replace(".PRO", ".XXX").toStdString()));
    QCOMPARE(Frequencies(shortDipole, ".XXX"), std::vector<double>{300});
    const QString log = batch->LogText();
    QVERIFY2(log.contains("Failed " + dipole + ": Error: You have not defined any impedances!"),
             qPrintable(log));
    QVERIFY2(log.contains("Done " + shortDipole), qPrintable(log));
    // Back to message boxes once the batch is over.
    s.window->Ui().ShowMessage("after the batch");
    QCOMPARE(s.hook.messages, std::vector<std::string>{"after the batch"});
  }

  void EachProjectReopensWithItsOwnComputationSettings() {
    Session s(100, 20);
    const QString dipole = CopyExample(s, "dipole");
    const QString shortDipole = CopyExample(s, "short-dipole");
    MainWindow& w = *s.window;
    ComputationPage* page = w.Computation();
    QVERIFY(w.OpenProjectFile(dipole));
    Fill(page, {{"NoLoad", Clicked}, {"SweepFreq", Clicked}, {"StartFreq", "1400"}, {"StopFreq", "1420"},
                {"StepFreq", "20"}, {"FarField", Clicked}, {"PhiStep", "90"}});
    s.hook.answers = {Answer::Yes};  // "... unknowns. Proceed with computation?"
    page->Compute();
    QCOMPARE(Frequencies(dipole, ".XXX"), (std::vector<double>{1400, 1420}));

    // Another project starts from its own settings (the defaults: it has none yet),
    // not from what the dipole left on the page.
    QVERIFY(w.OpenProjectFile(shortDipole));
    const ComputationSettings other = page->Settings();
    QVERIFY(!other.SweepFreq && !other.FarField);
    QCOMPARE(other.PhiStep, std::string("18"));
    SetText(page, "Frequency", "750");
    w.Action("Save")->trigger();

    // Reopening restores each project's page as it was left.
    QVERIFY(w.OpenProjectFile(dipole));
    const ComputationSettings back = page->Settings();
    QVERIFY(back.SweepFreq && !back.ImpFile && back.FarField);
    QCOMPARE(back.StartFreq + " " + back.StopFreq + " " + back.PhiStep,
             std::string("1400 1420 90"));
    QVERIFY(w.OpenProjectFile(shortDipole));
    QCOMPARE(page->Settings().Frequency, std::string("750"));

    // A damaged settings file is reported and the page falls back to the defaults.
    WriteFile(QString(dipole).replace(".PRO", ".STG"), "{\"format\": 3");
    s.hook.Clear();
    QVERIFY(w.OpenProjectFile(dipole));
    QVERIFY2(s.hook.messages.size() == 1 &&
                 QString::fromStdString(s.hook.messages[0]).contains("dipole.STG"),
             Joined(s.hook.messages));
    QVERIFY(!page->Settings().SweepFreq);
  }

  void LookOfTheWindow() {
    Session s(100, 20);
    TBatchWindow* batch = OpenBatch(s);
    BrowseRow(batch, 1, CopyExample(s, "dipole"));
    QCOMPARE(batch->minimumSize(), batch->maximumSize());  // a fixed border
    // Nothing is cut off: every row fits inside the window.
    for (const char* name : {"Edit5", "Button10", "Label5", "Start", "Button12"}) {
      QWidget* w = Child<QWidget>(batch, name);
      QVERIFY2(batch->rect().contains(w->geometry()), name);
    }
    KeepPicture(batch->grab().toImage(), "batch_window");
  }
};

QTEST_MAIN(BatchTest)
#include "batch_test.moc"
