// The layout page driven with the mouse and keys: drawing segments, placing
// sources, loads and ground points on the right elements, editing and deleting
// with renumbering, connecting, and moving and zooming the view.
#include <QProcess>

#include "editor/layout_canvas.h"
#include "model/layout_status_text.h"
#include "tests/gui/gui_test_support.h"

namespace {

// Two touching traces 40 mm x 2 mm on a 100 mm x 20 mm board (grid 2 mm), drawn
// with the mouse: the first left to right and downwards, the second backwards.
// The session's window.
MainWindow& DrawTwoTraces(Session& s) {
  MainWindow& w = *s.window;
  PressLayoutButton(w, "AddSegment");
  Drag(w, PixelOf(w, 10, 12) + QPoint(1, -1), PixelOf(w, 50, 10) + QPoint(-1, 1));
  Drag(w, PixelOf(w, 90, 10) + QPoint(1, 1), PixelOf(w, 50, 12) + QPoint(1, 1));
  PressLayoutButton(w, "AddSegment");
  return w;
}

int PdfPages(const QString& pdf) {
  QProcess info;
  info.start("pdfinfo", {pdf});
  info.waitForFinished(30000);
  const QRegularExpression pages(R"(Pages:\s+(\d+))");
  return pages.match(QString::fromUtf8(info.readAllStandardOutput())).captured(1).toInt();
}

}  // namespace

class LayoutEditingTest : public QObject {
  Q_OBJECT
private slots:
  void SegmentsAreDrawnByRubberBandInAnyDirection() {
    Session s(100, 20);
    MainWindow& w = *s.window;
    PressLayoutButton(w, "AddSegment");
    QCOMPARE(w.Status()->Text(StatusPanel::State), QString("Add segment"));
    QCOMPARE(w.Layout()->Canvas()->cursor().shape(), Qt::CrossCursor);
    // While drawing, the rubber band follows and the position shows the size.
    QWidget* canvas = w.Layout()->Canvas();
    QTest::mousePress(canvas, Qt::LeftButton, {}, PixelOf(w, 10, 12));
    QTest::mouseMove(canvas, PixelOf(w, 30, 10));
    QVERIFY(w.Layout()->Canvas()->RubberBand().has_value());
    // Whole pixels are a few hundredths of a millimetre; the form is what counts.
    QVERIFY(QRegularExpression("^X=29\\.\\d\\d mm  Y=\\d+\\.\\d\\d mm  dx=\\d+\\.\\d\\d  dy=[12]\\.\\d\\d$")
                .match(w.Status()->Text(StatusPanel::Progress))
                .hasMatch());
    QTest::mouseRelease(canvas, Qt::LeftButton, {}, PixelOf(w, 30, 10));
    QVERIFY(!w.Layout()->Canvas()->RubberBand().has_value());
    // Directions, sizes and the board's edges are the rubber band's rules (model tests).
    const auto& segs = w.CurrentProject().Segments;
    QCOMPARE(segs.size(), std::size_t{1});
    QVERIFY(Same(segs, {Segment{20, 11, 20, 2, 10, 1}}));
    QVERIFY(!w.CurrentProject().Saved);
    for (const char* on : {"Connect", "Delete"}) QVERIFY2(Child<QToolButton>(w.Layout(), on)->isEnabled(), on);
    PressLayoutButton(w, "AddSegment");
    QCOMPARE(w.Status()->Text(StatusPanel::State), QString());
  }

  void SourcesAndLoadsGoOnTheElementUnderTheMouse() {
    Session s(100, 20);
    MainWindow& w = DrawTwoTraces(s);
    QCOMPARE(w.CurrentProject().Segments.size(), std::size_t{2});

    PressLayoutButton(w, "VoltGen");
    QVERIFY(w.Layout()->findChild<QToolButton*>("ShowJxCur")->isChecked());
    QString title;
    FillNextDialog({{"ReVolt", "1"}}, "OKBtn", &title);
    // Jx element 5 of the first trace: centre at x = 20, between cells 5 and 6.
    ClickBoard(w, PixelOf(w, 20.4, 11));
    QCOMPARE(title, QString("Define voltage source"));
    QVERIFY(Same(w.CurrentProject().VoltageSources, {VoltageSource{20, 11, 2, 2, 1, 0, true, 5}}));
    // Both Jx and Jy shown: refused with a message.
    PressLayoutButton(w, "ShowJyCur");
    ClickBoard(w, PixelOf(w, 22.4, 11));
    QCOMPARE(s.hook.messages.back(), std::string("You must select to show either Jx or Jy"));
    PressLayoutButton(w, "ShowJyCur");

    PressLayoutButton(w, "LoadImp");
    QVERIFY(!w.Layout()->findChild<QToolButton*>("VoltGen")->isChecked());
    OnNextModal([&](QWidget* d) {
      title = d->windowTitle();
      SetText(d, "ReImp", "50");
      Child<QRadioButton>(d, "RC")->click();
      title += " / " + Child<QLabel>(d, "ImImpLabel")->text();
      SetText(d, "ImImp", "1e-12");
      Click(d, "OKBtn");
    });
    // Jx element 5 of the second trace: 19 elements on the first come before it.
    ClickBoard(w, PixelOf(w, 60.4, 11));
    QCOMPARE(title, QString("Define impedance element / Capacitance"));
    QVERIFY(Same(w.CurrentProject().Impedances, {ImpedanceElement{60, 11, 2, 2, 50, -1e-12, true, 19 + 5}}));
    // Off every element (left of the first Jx centre): nothing, no dialog.
    ClickBoard(w, PixelOf(w, 10.5, 11));
    QVERIFY(QApplication::activeModalWidget() == nullptr);
    QCOMPARE(w.CurrentProject().Impedances.size(), std::size_t{1});
    QApplication::processEvents();
    PressLayoutButton(w, "LoadImp");
    QCOMPARE(w.Status()->Text(StatusPanel::State), QString());
    QVERIFY(!w.Layout()->findChild<QToolButton*>("ShowJxCur")->isChecked());

    // In select mode a double click on the load edits it, shown as it was typed.
    // (Editing the source is the undo tests' first edit.)
    QStringList edited;
    ReadNextDialog(edited, {"ImImp", "RC"}, "CancelBtn");
    DoubleClickBoard(w, PixelOf(w, 60.2, 11));
    QCOMPARE(edited, QStringList({"Edit impedance element 1", "1E-12", "checked"}));
  }

  void GroundPointsGoOnTheChargeCellEdge() {
    Session s(100, 20);
    MainWindow& w = DrawTwoTraces(s);
    PressLayoutButton(w, "GPConnect");
    QVERIFY(w.Layout()->findChild<QToolButton*>("ShowCharge")->isChecked());
    QString title;
    bool leftFirst = false;
    OnNextModal([&](QWidget* d) {
      title = d->windowTitle();
      leftFirst = Child<QRadioButton>(d, "LeftEdge")->isChecked();
      Fill(d, {{"TopEdge", Clicked}, {"OKBtn", Clicked}});
    });
    // Charge cell 3 of the second trace (cells 2 mm wide from x = 50).
    ClickBoard(w, PixelOf(w, 55, 11));
    QCOMPARE(title, QString("Ground point placement"));
    QVERIFY(leftFirst);
    QVERIFY(Same(w.CurrentProject().GroundPoints, {GroundPoint{20 + 3, EdgeTop, 2.0 / 3, 55, 12}}));
    PressLayoutButton(w, "ShowJxCur");
    ClickBoard(w, PixelOf(w, 57, 11));
    QCOMPARE(s.hook.messages.back(), std::string("You must select to show only charge elements"));
    PressLayoutButton(w, "GPConnect");
  }

  void EditingASegmentKeepsItsMarkersAndAsksBeforeDroppingAny() {
    Session s(100, 20);
    MainWindow& w = DrawTwoTraces(s);
    Project& p = w.CurrentProject();
    // Jx 5 of the first trace (x = 20), Jx 5 of the second (19 + 5), ground point on
    // the top edge of the second trace's third cell (20 + 3).
    p.VoltageSources = {{20, 11, 2, 2, 1, 0, true, 5}};
    p.Impedances = {{60, 11, 2, 2, 50, 0, true, 24}};
    p.GroundPoints = {{23, EdgeTop, 2.0 / 3, 55, 12}, {3, EdgeLeft, 2.0 / 3, 14, 11}};
    w.Layout()->RedrawLayout();
    const auto editFirstTrace = [&](const QString& chX, bool cancelAfterOk) {
      QString title;
      OnNextModal([&, chX, cancelAfterOk](QWidget* d) {
        title = d->windowTitle();
        if (!chX.isEmpty()) SetText(d, "ChX", chX);
        Click(d, "OKBtn");
        if (cancelAfterOk && d->isVisible()) Click(d, "CancelBtn");
      });
      DoubleClickBoard(w, PixelOf(w, 35, 11));  // on the first trace, away from its source
      return title;
    };

    // Which markers a new division keeps and how the rest are renumbered is the
    // model's (layout editing tests); here the dialog applies it and asks first.
    QCOMPARE(editFirstTrace({}, false), QString("Edit segment 1"));
    editFirstTrace("40", false);
    QVERIFY(s.hook.questions.empty());
    QCOMPARE(p.Segments[0].ChX, 40);
    QCOMPARE(p.Impedances[0].ElementNo, 24 + 20);
    // Three cells have no element at x = 20 and no cell edge at x = 14: the user is
    // asked, and No leaves the dialog open and the project untouched.
    s.hook.answers = {Answer::No};
    editFirstTrace("3", true);
    QCOMPARE(s.hook.questions,
             std::vector<std::string>{"Warning: The new division of segment 1 has no element for "
                                      "voltage source 1 and ground connection 2. Remove them and "
                                      "apply the change?"});
    QVERIFY(p.Segments[0].ChX == 40 && p.VoltageSources.size() == 1);
    s.hook.answers = {Answer::Yes};
    editFirstTrace("3", false);
    QCOMPARE(p.Segments[0].ChX, 3);
    QVERIFY(p.VoltageSources.empty() && p.GroundPoints.size() == 1);
  }

  void DeletingASegmentTakesOnlyItsOwnMarkersAfterAsking() {
    Session s(100, 20);
    MainWindow& w = DrawTwoTraces(s);
    Project& p = w.CurrentProject();
    p.VoltageSources = {{20, 11, 2, 2, 1, 0, true, 5}, {22, 11, 2, 2, 2, 0, true, 6},
                        {24, 11, 2, 2, 3, 0, true, 7}};
    p.Impedances = {{60, 11, 2, 2, 50, 0, true, 24}};
    p.GroundPoints = {{23, EdgeTop, 2.0 / 3, 55, 12}};
    const auto deleteItem = [&](const char* kind, const QString& number, bool all) {
      FillNextDialog(all ? FormSteps{{kind, Clicked}, {"DelAll", Clicked}}
                         : FormSteps{{kind, Clicked}, {"DelNo", number}});
      PressLayoutButton(w, "Delete");
    };
    deleteItem("DelGen", "2", false);
    QCOMPARE(p.VoltageSources.size(), std::size_t{2});
    QCOMPARE(p.VoltageSources[1].ReV, 3.0);  // the old third is now the second
    QVERIFY(s.hook.questions.empty());

    // The first trace carries both sources: No keeps everything.
    s.hook.answers = {Answer::No};
    deleteItem("DelSeg", "1", false);
    QCOMPARE(s.hook.questions.back(),
             std::string("Warning: Deleting segment 1 also removes voltage sources 1, 2. Proceed?"));
    QVERIFY(p.Segments.size() == 2 && p.VoltageSources.size() == 2);
    // Yes deletes the trace and its sources; the second trace's load stays (its
    // renumbering is the model's).
    s.hook.answers = {Answer::Yes};
    deleteItem("DelSeg", "1", false);
    QVERIFY(p.Segments.size() == 1 && p.VoltageSources.empty() && p.Impedances.size() == 1);

    s.hook.answers = {Answer::Yes};
    deleteItem("DelSeg", {}, true);
    QCOMPARE(s.hook.questions.back(),
             std::string("Warning: Deleting all segments also removes impedance element 1 and "
                         "ground connection 1. Proceed?"));
    QVERIFY(p.Segments.empty() && p.Impedances.empty() && p.GroundPoints.empty());
    for (const char* off : {"Connect", "Delete"}) QVERIFY2(!Child<QToolButton>(w.Layout(), off)->isEnabled(), off);
  }

  void ConnectDrawsTheConnectingElements() {
    Session s(100, 20);
    MainWindow& w = DrawTwoTraces(s);
    const QColor jx = w.Layout()->Style().Jx;
    const QPoint joint = PixelOf(w, 50, 11);
    // Not connected: the X button draws nothing.
    PressLayoutButton(w, "PlotConnections");
    QVERIFY(w.Layout()->Canvas()->Image().pixelColor(joint) != jx);
    QString caption;
    OnNextModal([&](QWidget* d) {
      QTRY_VERIFY(d->windowTitle() == "Segments are connected!");
      caption = d->windowTitle();
      Click(d, "OKBtn");
    });
    PressLayoutButton(w, "Connect");
    QCOMPARE(caption, QString("Segments are connected!"));
    QVERIFY(w.CurrentProject().Connected && QFile::exists(s.PathOf("Board.JXC")));
    PressLayoutButton(w, "PlotConnections");
    QCOMPARE(w.Layout()->Canvas()->Image().pixelColor(joint + QPoint(0, 2)), jx);

    // Incompatible densities: the dialog says so and nothing is connected.
    w.CurrentProject().Segments[1].ChY = 2;
    bool errorShown = false;
    OnNextModal([&](QWidget* d) {
      QTRY_VERIFY(Child<QLabel>(d, "ErrorLabel")->isVisible());
      errorShown = Child<QLabel>(d, "ErrorLabel")->text() == "Error: Cannot make connections!" &&
                   Child<QLabel>(d, "HintLabel")->text() ==
                       "Check the number of charge elements in adjacent segments";
      Click(d, "OKBtn");
    });
    PressLayoutButton(w, "Connect");
    QVERIFY(errorShown);
    QVERIFY(!w.CurrentProject().Connected);
  }

  void KeysAndButtonsMoveAndZoomAndTheBoardCanBeDragged() {
    Session s(160, 100);
    MainWindow& w = *s.window;
    LayoutPage* page = w.Layout();
    const ViewGeometry start = page->View();
    QTest::keyClick(&w, Qt::Key_Left);
    QCOMPARE(page->View().Left, start.Left - 10);
    QCOMPARE(w.Pages()->currentIndex(), 0);  // the arrows did not change the page
    QTest::keyClick(&w, Qt::Key_Down);
    QCOMPARE(page->View().Top, start.Top + 10);
    QTest::keyClick(&w, Qt::Key_Plus);
    QCOMPARE(page->View().Scale, start.Scale * 1.1);
    QTest::keyClick(&w, Qt::Key_Minus);
    QCOMPARE(page->View().Scale, start.Scale);
    PressLayoutButton(w, "SpeedButton4");
    PressLayoutButton(w, "SpeedButton1");
    // The left and top edges of the board area.
    const auto corner = [&] { return QPoint(page->View().Left, page->View().Top); };
    QCOMPARE(corner(), QPoint(start.Left, start.Top));
    // A drag on the empty board in select mode moves it by the mouse's way.
    // The board area moves with the mouse, so after the move the mouse rests on the
    // same spot of it.
    QWidget* canvas = page->Canvas();
    QTest::mousePress(canvas, Qt::LeftButton, {}, QPoint(100, 100));
    QCOMPARE(canvas->cursor().shape(), Qt::BitmapCursor);  // the grabbing hand
    QTest::mouseMove(canvas, QPoint(130, 80));
    QTest::mouseRelease(canvas, Qt::LeftButton, {}, QPoint(100, 100));
    QCOMPARE(canvas->cursor().shape(), Qt::ArrowCursor);
    QCOMPARE(corner(), QPoint(start.Left + 30, start.Top - 20));
    QCOMPARE(page->Canvas()->pos(), corner());
    // The mouse position in mm.
    const QPoint at = PixelOf(w, 80, 50);
    QTest::mouseMove(page->Canvas(), at);
    const BoardPoint mm = PixelToBoard(at.x(), at.y(), page->View().Scale, 100);
    QCOMPARE(w.Status()->Text(StatusPanel::Progress),
             QString::fromStdString(MousePositionText(mm.X, mm.Y)));
    QVERIFY(w.Status()->Text(StatusPanel::Progress).startsWith("X=80.0"));
  }

  void PrintedLayoutCarriesTheProjectListing() {
    Session s(100, 20);
    MainWindow& w = DrawTwoTraces(s);
    PressLayoutButton(w, "VoltGen");
    FillNextDialog({{"ReVolt", "1"}});
    ClickBoard(w, PixelOf(w, 20.4, 11));
    PressLayoutButton(w, "VoltGen");
    const QString pdf = s.PathOf("layout.pdf");
    const QString text =
        PrintDecliningFirst(w.Layout(), [&] { PressLayoutButton(w, "SpeedButton13"); }, pdf, true);
    // The drawing page (landscape, with the segment numbers) and the listing page.
    QCOMPARE(PdfPages(pdf), 2);
    const QString listing = QString("Project: ") + QString::fromStdString(w.CurrentProject().ProjectFile) +
                            " PCB length: 100 mm PCB width : 20 mm Voltage sources: 1 Real-part: "
                            "1.000E+0000 , Imaginary-part: 0.000E+0000 Impedance elements: "
                            "Segments: 1 X-center: 3.000E+0001 , Y-center: 1.100E+0001 , Lx: "
                            "4.000E+0001 , Ly: 2.000E+0000 2 X-center: 7.000E+0001 , Y-center: "
                            "1.100E+0001 , Lx: 4.000E+0001 , Ly: 2.000E+0000 Ground points:";
    QVERIFY2(text.contains(listing), qPrintable(text));
  }

  void PrintedListingOfAnEmptyProjectKeepsItsHeadings() {
    Session s(40, 40);
    MainWindow& w = *s.window;
    const QString text = PrintDecliningFirst(
        w.Layout(), [&] { PressLayoutButton(w, "SpeedButton13"); }, s.PathOf("empty.pdf"), true);
    QVERIFY2(text.contains("PCB length: 40 mm PCB width : 40 mm Voltage sources: Impedance "
                           "elements: Segments: Ground points:"),
             qPrintable(text));
  }
};

QTEST_MAIN(LayoutEditingTest)
#include "layout_editing_test.moc"
