// File, "Import KiCad board...": the board read through the core reader, the net
// table and its sorting, the proposals, the preview, and a project that opens with
// exactly the segments the core import makes for the same choices.
#include <QHeaderView>
#include <QPlainTextEdit>
#include <QSpinBox>

#include "app/kicad_import_dialog.h"
#include "import/kicad_board.h"
#include "import/kicad_import.h"
#include "tests/gui/gui_test_support.h"

namespace {

// A two-layer board of KiCad 8, 30 x 20 mm, 1.51 mm of FR-4 between the layers.
// On F.Cu: CLK an L of 15 + 10 mm, DATA 7 mm and a 45-degree jog of 4.24 mm,
// SHORT 2 mm; GND only on B.Cu. By name the order is CLK, DATA, SHORT; by length
// SHORT, DATA, CLK.
const char* const SmallBoard = R"((kicad_pcb (version 20240108) (generator "pcbnew")
  (general (thickness 1.6))
  (layers (0 "F.Cu" signal) (31 "B.Cu" signal) (44 "Edge.Cuts" user))
  (setup (stackup
    (layer "F.Cu" (type "copper") (thickness 0.035))
    (layer "dielectric 1" (type "core") (thickness 1.51) (material "FR4") (epsilon_r 4.5))
    (layer "B.Cu" (type "copper") (thickness 0.035))))
  (net 0 "") (net 1 "CLK") (net 2 "DATA") (net 3 "GND") (net 4 "SHORT")
  (gr_rect (start 0 0) (end 30 20) (stroke (width 0.1) (type default)) (layer "Edge.Cuts"))
  (segment (start 5 5) (end 20 5) (width 0.25) (layer "F.Cu") (net 1))
  (segment (start 20 5) (end 20 15) (width 0.25) (layer "F.Cu") (net 1))
  (segment (start 5 10) (end 12 10) (width 0.25) (layer "F.Cu") (net 2))
  (segment (start 12 10) (end 15 13) (width 0.25) (layer "F.Cu") (net 2))
  (segment (start 25 12) (end 27 12) (width 0.25) (layer "F.Cu") (net 4))
  (segment (start 2 18) (end 28 18) (width 0.5) (layer "B.Cu") (net 3))
)
)";

// The small board written into the session's directory; the file dialogs open
// it and save under saveAs (empty: the save is cancelled). Its path.
QString ChooseSmallBoard(Session& s, const QString& saveAs) {
  const QString board = WriteFile(s.PathOf("small.kicad_pcb"), SmallBoard);
  SetFileChooserHook([board, saveAs](bool save, const QString&) { return save ? saveAs : board; });
  return board;
}

QTableWidget* NetTable(QWidget* d) { return Child<QTableWidget>(d, "Nets"); }

QStringList NetColumn(QWidget* d) {
  QStringList names;
  QTableWidget* table = NetTable(d);
  for (int row = 0; row < table->rowCount(); ++row) names << table->item(row, 0)->text();
  return names;
}

void ClickHeader(QWidget* d, int column) {
  QHeaderView* header = NetTable(d)->horizontalHeader();
  const QPoint at(header->sectionViewportPosition(column) + header->sectionSize(column) / 2,
                  header->height() / 2);
  QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, at);
}

// Clicks the net's row, with Ctrl to add it to the nets chosen.
void ClickNet(QWidget* d, const QString& name, Qt::KeyboardModifiers modifiers = {}) {
  QTableWidget* table = NetTable(d);
  const QList<QTableWidgetItem*> found = table->findItems(name, Qt::MatchExactly);
  if (found.isEmpty()) {
    qWarning("no net %s", qPrintable(name));
    return;
  }
  table->scrollToItem(found.front());
  QTest::mouseClick(table->viewport(), Qt::LeftButton, modifiers,
                    table->visualItemRect(found.front()).center());
}

// Types into a field as the user would, replacing what is there.
void Type(QWidget* d, const QString& field, const QString& text) {
  auto* edit = Child<QLineEdit>(d, field);
  edit->selectAll();
  QTest::keyClick(edit, Qt::Key_Backspace);
  QTest::keyClicks(edit, text);
}

KicadImport CoreImport(const QString& board, const KicadImportOptions& options) {
  return ImportKicadNets(ReadKicadBoard(board.toStdString()), options, board.toStdString());
}

QString ReportText(MainWindow& w) {
  auto* text = w.findChild<QPlainTextEdit*>("ReportText");
  return text ? text->toPlainText() : QString();
}

}  // namespace

class KicadImportTest : public QObject {
  Q_OBJECT
private slots:
  void TheTableListsTheLayersNetsAndSortsByLength() {
    Session s;
    MainWindow& w = *s.window;
    ChooseSmallBoard(s, {});
    QStringList layers, byName, byLengthUp, byLengthDown, bottomNets, lengths, proposals;
    OnNextModal([&](QWidget* d) {
      Click(d, "Browse");
      auto* layer = Child<QComboBox>(d, "Layer");
      for (int k = 0; k < layer->count(); ++k) layers << layer->itemText(k);
      byName = NetColumn(d);
      ClickHeader(d, 2);
      byLengthUp = NetColumn(d);
      for (int row = 0; row < NetTable(d)->rowCount(); ++row)
        lengths << NetTable(d)->item(row, 2)->text();
      ClickHeader(d, 2);
      byLengthDown = NetColumn(d);
      proposals = Texts(d, {"GroundPlane", "Permittivity", "Grid", "LongestCell"});
      layer->setCurrentText("B.Cu");
      bottomNets = NetColumn(d);
      Click(d, "Cancel");
    });
    w.Action("ImportKicad")->trigger();
    QCOMPARE(layers, (QStringList{"F.Cu", "B.Cu"}));
    QCOMPARE(byName, (QStringList{"CLK", "DATA", "SHORT"}));
    QCOMPARE(byLengthUp, (QStringList{"SHORT", "DATA", "CLK"}));
    // 7 + 3 sqrt(2) = 11.243 mm for DATA.
    QCOMPARE(lengths, (QStringList{"2.00", "11.24", "25.00"}));
    QCOMPARE(byLengthDown, (QStringList{"CLK", "DATA", "SHORT"}));
    QCOMPARE(bottomNets, QStringList{"GND"});
    // The plane is the other copper layer, 1.51 mm of FR-4 away. Nothing chosen yet:
    // no grid to propose; the cell follows the frequency alone, lambda / 20 at 1 GHz
    // in epsilon_r 4.5: 299.79 / sqrt(4.5) / 20 = 7.066 mm.
    QCOMPARE(proposals, QStringList({"1.51", "4.5", "", "7.066"}));
    // Cancel: the project of the session stays open.
    QVERIFY(w.CurrentProject().ProjectFile.ends_with("Board.PRO"));
  }

  void AcceptedImportOpensTheCoreImportsSegments() {
    Session s;
    MainWindow& w = *s.window;
    const QString board = ChooseSmallBoard(s, s.PathOf("Imported"));  // the extension is added
    QString grid, summary;
    std::size_t previewSegments = 0;
    OnNextModal([&](QWidget* d) {
      Click(d, "Browse");
      ClickNet(d, "CLK");
      ClickNet(d, "DATA", Qt::ControlModifier);
      grid = Child<QLineEdit>(d, "Grid")->text();
      summary = Child<QPlainTextEdit>(d, "Summary")->toPlainText();
      previewSegments = Child<LayoutPreview>(d, "Preview")->Segments().size();
      Click(d, "OK");
    });
    w.Action("ImportKicad")->trigger();
    KicadImportOptions options;
    options.nets = {"CLK", "DATA"};
    options.layer = "F.Cu";
    const KicadImport expected = CoreImport(board, options);
    // The most common width, 0.25 mm, one cell across.
    QCOMPARE(grid, QString("0.25"));
    QVERIFY2(summary.startsWith(QString("%1 segments, %2 unknowns")
                                    .arg(expected.report.segments)
                                    .arg(expected.report.unknowns)),
             qPrintable(summary));
    QCOMPARE(previewSegments, expected.project.Segments.size());

    const Project& p = w.CurrentProject();
    QCOMPARE(QString::fromStdString(p.ProjectFile), QFileInfo(s.PathOf("Imported.PRO")).absoluteFilePath());
    QVERIFY(QFile::exists(s.PathOf("Imported.SEG")));
    QVERIFY(p.Saved);
    QCOMPARE(w.windowTitle(), QString("Lumetra Imported.PRO[*]"));
    QVERIFY(!w.isWindowModified());
    QCOMPARE(std::tuple(p.PcbLx, p.PcbLy, p.GridSize), std::tuple(30, 20, 0.25));
    QVERIFY(Same(p.Segments, expected.project.Segments));
    QCOMPARE(std::tuple(p.Env.GroundPlane, p.Env.GPHeight, p.Env.DielConst), std::tuple(true, "1.51", "4.5"));
    QVERIFY(w.Pages()->isVisible());
    // Grid points every 0.25 mm would blacken the board.
    QVERIFY(!p.ShowGridPoints);
    // The report is the one lumetra-cli prints, with the file saved.
    const QString report = ReportText(w);
    QVERIFY2(report.contains("Board " + board + ", layer F.Cu"), qPrintable(report));
    QVERIFY(report.contains("impedance work wants 3"));
    QVERIFY(report.contains(QRegularExpression("CLK +2 +0 +0 +0 +25\\.000 +25\\.000")));
    QVERIFY(report.contains("Saved " + QString::fromStdString(p.ProjectFile)));
    QVERIFY(s.hook.messages.empty());
  }

  void TypedValuesOverrideTheProposals() {
    Session s;
    MainWindow& w = *s.window;
    const QString board = ChooseSmallBoard(s, s.PathOf("Typed.PRO"));
    QString cellAt3GHz, gridWith3Across, cellBack;
    KicadImportOptions seen;
    OnNextModal([&](QWidget* d) {
      auto* dialog = qobject_cast<KicadImportDialog*>(d);
      Click(d, "Browse");
      ClickNet(d, "CLK");
      // A third of the wavelength at 3 GHz: 2.355 mm.
      Type(d, "MaxFrequency", "3000");
      cellAt3GHz = Child<QLineEdit>(d, "LongestCell")->text();
      Child<QSpinBox>(d, "CellsAcross")->setValue(3);
      gridWith3Across = Child<QLineEdit>(d, "Grid")->text();
      // A typed value gives way to the proposal again on "Proposals".
      Type(d, "LongestCell", "2");
      Click(d, "Proposals");
      cellBack = Child<QLineEdit>(d, "LongestCell")->text();
      // Typed values: 2 mm cells, air under a plane 0.8 mm down, grid 0.125 mm.
      for (const auto& [field, text] : FormSteps{{"LongestCell", "2"}, {"GroundPlane", "0.8"},
                                                 {"Permittivity", "1"}, {"Grid", "0.125"}})
        Type(d, field, text);
      seen = dialog->Options();
      Click(d, "OK");
    });
    w.Action("ImportKicad")->trigger();
    QCOMPARE(cellAt3GHz, QString("2.355"));
    // 0.25 mm / 3 cells, on the 1/1024 mm quantum: 85/1024 mm.
    QCOMPARE(gridWith3Across, QString("0.0830078125"));
    QCOMPARE(cellBack, QString("2.355"));
    QCOMPARE(std::tuple(seen.cellsAcross, *seen.gridMm, *seen.groundPlaneMm, *seen.dielectric),
             std::tuple(3, 0.125, 0.8, 1.0));
    // 2 mm cells in air at 3 GHz: 99.93 mm / 2 = 49.97 cells per wavelength.
    QVERIFY(std::abs(seen.cellsPerWavelength - 299.792458 / 3 / 2) < 1e-9);
    QCOMPARE(seen.maxFrequencyMHz, 3000.0);

    const KicadImport expected = CoreImport(board, seen);
    QCOMPARE(expected.report.maxCellMm, 2.0);
    const Project& p = w.CurrentProject();
    QVERIFY(Same(p.Segments, expected.project.Segments));
    QCOMPARE(std::tuple(p.GridSize, p.Env.GPHeight, p.Env.DielConst), std::tuple(0.125, "0.8", "1"));
    // No cell along a track is longer than the 2 mm asked for.
    for (const Segment& segment : p.Segments) {
      QVERIFY(segment.Lx / segment.ChX <= 2.0 + 1e-12 && segment.Ly / segment.ChY <= 2.0 + 1e-12);
    }
    QVERIFY(ReportText(w).contains("3 across a track"));
  }

  void RefusalsShowTheCoresWordsAndKeepTheDialog() {
    Session s;
    MainWindow& w = *s.window;
    ChooseSmallBoard(s, WriteFile(s.PathOf("Taken.PRO"), "not to be touched"));
    std::vector<std::vector<std::string>> messages;
    std::vector<bool> open;
    std::vector<std::string> questions;
    auto attempt = [&](QWidget* d) {
      s.hook.Clear();
      Click(d, "OK");
      messages.push_back(s.hook.messages);
      open.push_back(d->isVisible());
    };
    OnNextModal([&](QWidget* d) {
      attempt(d);  // no board yet
      Click(d, "Browse");
      attempt(d);  // no net
      ClickNet(d, "CLK");
      Type(d, "Grid", "0");
      attempt(d);
      Type(d, "Grid", "abc");
      attempt(d);
      Type(d, "Grid", "");
      Type(d, "GroundPlane", "-1");
      attempt(d);
      Click(d, "Proposals");
      // A project of that name exists: No to overwriting keeps the dialog.
      s.hook.answers = {Answer::No};
      attempt(d);
      questions = s.hook.questions;
      Click(d, "Cancel");
    });
    w.Action("ImportKicad")->trigger();
    const std::vector<std::vector<std::string>> expected = {
        {"Choose the KiCad board file to import"},
        {"no net chosen"},
        {"the grid must lie between 0 and 100 mm"},
        {"the grid \"abc\" is not a number"},
        {"the ground-plane height must lie between 0 and 1000 mm"},
        {}};
    QCOMPARE(messages, expected);
    QCOMPARE(open, std::vector<bool>(6, true));
    QCOMPARE(questions, std::vector<std::string>{"Project \"Taken.PRO\" already exist.  Overwrite?"});
    QCOMPARE(FileBytes(s.PathOf("Taken.PRO")), QByteArray("not to be touched"));
    QVERIFY(w.CurrentProject().ProjectFile.ends_with("Board.PRO"));
  }

  void ADamagedBoardShowsTheReadersMessage() {
    Session s;
    MainWindow& w = *s.window;
    const QString good = WriteFile(s.PathOf("small.kicad_pcb"), SmallBoard);
    // Cut off in the middle of a track.
    const QByteArray text(SmallBoard);
    const QString damaged =
        WriteFile(s.PathOf("damaged.kicad_pcb"), text.left(text.indexOf("(segment (start 5 10)") + 12));
    const std::string readerMessage = ErrorOf([&] { ReadKicadBoard(damaged.toStdString()); });
    QVERIFY(!readerMessage.empty());
    QString chosen = damaged;
    SetFileChooserHook([&](bool, const QString&) { return chosen; });
    std::vector<std::string> first, second;
    bool boardAfterFirst = true;
    QStringList netsKept;
    OnNextModal([&](QWidget* d) {
      auto* dialog = qobject_cast<KicadImportDialog*>(d);
      Click(d, "Browse");
      first = s.hook.messages;
      boardAfterFirst = dialog->HasBoard();
      chosen = good;
      Click(d, "Browse");
      chosen = damaged;
      s.hook.Clear();
      Click(d, "Browse");
      second = s.hook.messages;
      // The good board read before stays in the dialog.
      netsKept = NetColumn(d);
      Click(d, "Cancel");
    });
    w.Action("ImportKicad")->trigger();
    QVERIFY(!boardAfterFirst);
    QCOMPARE(first, std::vector<std::string>{readerMessage});
    QCOMPARE(second, first);
    QCOMPARE(netsKept, (QStringList{"CLK", "DATA", "SHORT"}));
    QVERIFY2(readerMessage.find("damaged.kicad_pcb") != std::string::npos, readerMessage.c_str());
  }

  void UnsavedChangesAreAskedAboutFirst() {
    Session s;
    MainWindow& w = *s.window;
    AddSegment(w.CurrentProject(), Segment{10, 10, 10, 2, 5, 1});
    s.hook.answers = {Answer::Cancel};
    w.Action("ImportKicad")->trigger();
    QCOMPARE(s.hook.questions, std::vector<std::string>{"Save changes to project?"});
    // Cancel: no dialog came, the layout is as it was.
    QVERIFY(!w.ImportDialog()->isVisible());
    QCOMPARE(w.CurrentProject().Segments.size(), std::size_t{1});
  }
};

QTEST_MAIN(KicadImportTest)
#include "kicad_import_test.moc"
