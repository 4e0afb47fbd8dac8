// The Utility menu's field commands over a computed dipole: the far- and
// near-field dialogs with their range checks and Abort state, and the three list
// windows with their frequency choice and printing to a PDF file.
#include <QPrintDialog>
#include <QProcess>

#include "app/far_field_dialog.h"
#include "app/near_field_dialog.h"
#include "app/result_list_window.h"
#include "tests/gui/gui_dipole.h"
#include "tests/gui/gui_test_support.h"

namespace {

// The printed list with its columns kept in place.
QString PdfLayoutText(const QString& pdf) {
  QProcess process;
  process.start("pdftotext", {"-layout", pdf, "-"});
  if (!process.waitForFinished(30000)) return {};
  return QString::fromUtf8(process.readAllStandardOutput());
}

}  // namespace

class FieldCommandsTest : public QObject {
  Q_OBJECT
private slots:
  void FarFieldDialogChecksItsFieldsAndRecomputes() {
    Session s(100, 20);
    FarFieldDialog* dialog = s.window->FarFieldParameters();
    // No currents yet.
    s.hook.Clear();
    OnNextDialog<FarFieldDialog>([](FarFieldDialog* d) {
      Click(d, "ComputeBtn");
      Click(d, "CancelBtn");
    });
    s.window->Action("ComputeFarField")->trigger();
    QCOMPARE(s.hook.messages, std::vector<std::string>{
                                  "There exist no current files, computation cannot be performed!"});

    QVERIFY(ComputeDipoleWithFarField(*s.window, "1800", "90"));
    s.hook.Clear();
    bool stayedOpen = false, focused = false;
    QString cancelWhileComputing;
    OnNextDialog<FarFieldDialog>([&](FarFieldDialog* d) {
      SetText(d, "ThetaStop", "200");
      Click(d, "ComputeBtn");
      stayedOpen = d->isVisible();
      focused = d->focusWidget() == Child<QLineEdit>(d, "ThetaStop");
      Fill(d, {{"ThetaStop", "90"}, {"PhiStep", "45"}});
      Click(d, "ComputeBtn");
    });
    s.window->Action("ComputeFarField")->trigger();
    QVERIFY(stayedOpen && focused);
    QCOMPARE(s.hook.messages,
             std::vector<std::string>{"Error: Out of range! Far field Theta angle must be smaller than 180.1"});
    QCOMPARE(dialog->LastOutcome(), FarFieldRunOutcome::Completed);
    QCOMPARE(dialog->result(), int(QDialog::Accepted));
    // The new grid: 46 theta values times 9 phi values.
    QVERIFY(QString(FileBytes(s.PathOf("Board.RAD")).split('\n').value(0)).simplified().endsWith(" 414"));
  }

  void NearFieldDialogChecksItsFieldsAndComputes() {
    Session s(100, 20);
    QVERIFY(ComputeDipoleWithFarField(*s.window, "1800", "90"));
    s.hook.Clear();
    NearFieldDialog* dialog = s.window->NearFieldParameters();
    bool stayedOpen = false;
    QString captionAfterRefusal;
    OnNextDialog<NearFieldDialog>([&](NearFieldDialog* d) {
      SetText(d, "ZStep", "2e6");
      Click(d, "ComputeBtn");
      stayedOpen = d->isVisible();
      captionAfterRefusal = d->CancelButton()->text();
      Fill(d, {{"ZStep", "10"}, {"ZStart", "10"}, {"ZStop", "10"}, {"XStop", "20"}});
      Click(d, "ComputeBtn");
    });
    s.window->Action("ComputeNearField")->trigger();
    QVERIFY(stayedOpen && captionAfterRefusal == "Cancel");
    QCOMPARE(s.hook.messages,
             std::vector<std::string>{"Error: Out of range! Z step value must be smaller than 1000000"});
    QCOMPARE(dialog->LastOutcome(), NearFieldRunOutcome::Completed);
    QVERIFY(QFile::exists(s.PathOf("Board.NFE")));
    // Listed at once (one block): x runs 0, 10, 20 at z = 10.
    s.hook.Clear();
    s.window->Action("ListNearField")->trigger();
    ResultListWindow* list = s.window->ListWindow(2);
    QVERIFY(!list->PrintButton()->isEnabled());
    QTest::mouseClick(Child<QPushButton>(list, "ListH"), Qt::LeftButton);
    QVERIFY(s.hook.messages.empty());
    QCOMPARE(list->Title()->text(), QString("Magnetic field at 1800 MHz"));
    QCOMPARE(list->Grid()->rowCount(), 4);
    QCOMPARE(list->Grid()->item(0, 3)->text(), QString("Hx [A/m]"));
    QVERIFY(list->PrintButton()->isEnabled());
  }

  void AbortWhileComputingKeepsTheDialogOpen() {
    Session s(100, 20);
    QVERIFY(ComputeDipoleWithFarField(*s.window, "1800", "90"));
    s.hook.Clear();
    QString captionWhileComputing, buttonWhileComputing;
    bool computeEnabledWhileComputing = true, openAfterAbort = false;
    OnNextDialog<FarFieldDialog>([&](FarFieldDialog* d) {
      // Pressed at the run's first event poll.
      QTimer::singleShot(0, d, [&, d] {
        captionWhileComputing = d->windowTitle();
        buttonWhileComputing = d->CancelButton()->text();
        computeEnabledWhileComputing = d->ComputeButton()->isEnabled();
        d->CancelButton()->click();
      });
      Click(d, "ComputeBtn");
      openAfterAbort = d->isVisible();
      Click(d, "CancelBtn");
    });
    s.window->Action("ComputeFarField")->trigger();
    FarFieldDialog* dialog = s.window->FarFieldParameters();
    // The caption and the button's text while computing, and after.
    QCOMPARE(QStringList({captionWhileComputing, buttonWhileComputing, dialog->windowTitle(),
                          dialog->CancelButton()->text()}),
             QStringList({"Wait! Computing far-field at 1800 MHz", "Abort", "Far-field parameters", "Cancel"}));
    QVERIFY(!computeEnabledWhileComputing && openAfterAbort);
    QCOMPARE(dialog->LastOutcome(), FarFieldRunOutcome::Aborted);
    QCOMPARE(dialog->result(), int(QDialog::Rejected));

    // The same for the near field, over a grid large enough to be caught running.
    QString nearCaption;
    bool nearOpen = false;
    OnNextDialog<NearFieldDialog>([&](NearFieldDialog* d) {
      QTimer::singleShot(0, d, [&, d] {
        nearCaption = d->windowTitle();
        d->CancelButton()->click();
      });
      Fill(d, {{"XStop", "100"}, {"XStep", "1"}, {"ZStart", "5"}, {"ZStop", "5"}});
      Click(d, "ComputeBtn");
      nearOpen = d->isVisible();
      Click(d, "CancelBtn");
    });
    s.window->Action("ComputeNearField")->trigger();
    QCOMPARE(nearCaption, QString("Wait! Computing Near-field at 1800 MHz"));
    QVERIFY(nearOpen);
    QCOMPARE(s.window->NearFieldParameters()->LastOutcome(), NearFieldRunOutcome::Aborted);
    QCOMPARE(s.window->NearFieldParameters()->windowTitle(), QString("Near-field parameters"));
    QVERIFY(s.hook.messages.empty());
  }

  void ListsOfOneBlockNeedNoDialogAndPrintToPdf() {
    Session s(100, 20);
    s.window->Action("ListFarField")->trigger();
    ResultListWindow* list = s.window->ListWindow(1);
    s.hook.Clear();
    QTest::mouseClick(Child<QPushButton>(list, "ListRad"), Qt::LeftButton);
    QCOMPARE(s.hook.messages, std::vector<std::string>{"There exist no data to list!"});
    QVERIFY(!list->PrintButton()->isEnabled());

    QVERIFY(ComputeDipoleWithFarField(*s.window, "1800", "90"));
    s.hook.Clear();
    QStringList asked;
    AnswerFrequencyDialog(-1, &asked);
    QTest::mouseClick(Child<QPushButton>(list, "ListRad"), Qt::LeftButton);
    CancelPendingModals();
    QVERIFY(asked.isEmpty() && s.hook.messages.empty());
    QCOMPARE(list->Title()->text(), QString("Far-field at 1800 MHz"));
    QCOMPARE(list->Grid()->rowCount(), 46 * 5 + 1);
    QCOMPARE(list->Grid()->item(0, 1)->text(), QString("ETheta [V]"));
    QCOMPARE(list->Grid()->item(1, 0)->text(), QString("1"));
    QVERIFY(list->PrintButton()->isEnabled());

    const QString pdf = s.PathOf("farfield.pdf");
    list->PrintTo(*PdfPrinter(pdf));
    const QString text = PdfLayoutText(pdf);
    QVERIFY2(text.contains("Project: Board.PRO"), qPrintable(text.left(300)));
    QVERIFY(text.contains("Far-field at 1800 MHz"));
    QVERIFY(text.contains(
        QRegularExpression(R"(ETheta \[V\]\s+EPhi \[V\]\s+Theta \[deg\]\s+Phi \[deg\])")));
    // The first row as the grid shows it, without its running number.
    QVERIFY(text.contains(QRegularExpression(
        QRegularExpression::escape(list->Grid()->item(1, 1)->text()) + R"(\s+)" +
        QRegularExpression::escape(list->Grid()->item(1, 2)->text()) + R"(\s+0\.00\s+0\.00)")));
    QVERIFY(!text.contains("No."));
    // 230 data lines: the printout goes on over further pages.
    QVERIFY(text.count('\f') >= 2);

    // "Print" goes through the platform's print dialog to the program's printer.
    const QString viaDialog = s.PathOf("via-dialog.pdf");
    const std::unique_ptr<QPrinter> shared = PdfPrinter(viaDialog);
    list->SetPrinter(shared.get());
    bool printDialogShown = false;
    OnNextModal([&](QWidget* d) {
      printDialogShown = qobject_cast<QPrintDialog*>(d) != nullptr;
      qobject_cast<QDialog*>(d)->accept();
    });
    QTest::mouseClick(list->PrintButton(), Qt::LeftButton);
    QVERIFY(printDialogShown);
    QVERIFY(PdfLayoutText(viaDialog).contains("Far-field at 1800 MHz"));

    // The current list: Jx of the same run, also without a dialog.
    s.window->Action("ListCurrents")->trigger();
    ResultListWindow* currents = s.window->ListWindow(0);
    QTest::mouseClick(Child<QPushButton>(currents, "ListJx"), Qt::LeftButton);
    QCOMPARE(currents->Title()->text(), QString("Jx-current at 1800 MHz"));
    QVERIFY(currents->Grid()->rowCount() > 10);
    QCOMPARE(currents->Grid()->item(1, 5)->text(), QString("-"));
  }

  void ListOfSeveralBlocksAsksForTheFrequency() {
    Session s(100, 20);
    WriteFile(s.PathOf("Board.RAD"), "100 1\n0 0 1 0\n250.5 1\n0 0 2 0\n");
    s.window->Action("ListFarField")->trigger();
    ResultListWindow* list = s.window->ListWindow(1);
    s.hook.Clear();
    AnswerFrequencyDialog(-1);
    QTest::mouseClick(Child<QPushButton>(list, "ListRad"), Qt::LeftButton);
    QCOMPARE(s.hook.messages, std::vector<std::string>{"You must select a frequency to list!"});
    QStringList offered;
    AnswerFrequencyDialog(1, &offered);
    QTest::mouseClick(Child<QPushButton>(list, "ListRad"), Qt::LeftButton);
    QCOMPARE(offered, QStringList({"100", "250.5"}));
    QCOMPARE(list->Title()->text(), QString("Far-field at 250.5 MHz"));
    QCOMPARE(list->Grid()->item(1, 1)->text(), QString("2.000E+00"));
  }
};

QTEST_MAIN(FieldCommandsTest)
#include "field_commands_test.moc"
