// Editing as an engineer expects it: every layout edit undone and redone exactly
// through the Edit menu's keys, a deep history, the modified marker in the title
// following the saved state, selection with the mouse and Del, Esc, the wheel
// zooming about the cursor and the standard shortcuts reaching their commands.
#include <QUndoStack>
#include <QWheelEvent>
#include <QWindow>

#include "app/help_viewer.h"
#include "editor/layout_canvas.h"
#include "model/layout_view_geometry.h"
#include "tests/gui/gui_test_support.h"

namespace {

// What differs between two moments of a project, in the parts an edit may change;
// empty when nothing does.
QString Differences(const Project& a, const Project& b) {
  QStringList d;
  if (!Same(a.Segments, b.Segments)) d << "segments";
  if (!Same(a.VoltageSources, b.VoltageSources)) d << "sources";
  if (!Same(a.Impedances, b.Impedances)) d << "loads";
  if (!Same(a.GroundPoints, b.GroundPoints)) d << "ground points";
  if (std::tie(a.GridSize, a.ChargesPerGridX, a.ChargesPerGridY, a.ShowGridPoints) !=
      std::tie(b.GridSize, b.ChargesPerGridX, b.ChargesPerGridY, b.ShowGridPoints))
    d << "grid";
  return d.join(", ");
}

void Key(MainWindow& w, Qt::Key key, Qt::KeyboardModifiers modifiers = {}) {
  QTest::keyClick(&w, key, modifiers);
  QApplication::processEvents();
}

// The main window takes the keyboard again (as after a closed dialog), so that its
// shortcuts apply.
void Activate(MainWindow& w) {
  w.activateWindow();
  w.windowHandle()->requestActivate();
  if (!QTest::qWaitFor([&] { return QGuiApplication::focusWindow() == w.windowHandle(); }))
    qWarning("the main window did not take the focus");
}

// A mouse wheel turn over a widget of the layout page.
void Wheel(QWidget* widget, QPoint at, int angle) {
  QWheelEvent event(QPointF(at), QPointF(widget->mapToGlobal(at)), QPoint(), QPoint(0, angle),
                    Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
  QApplication::sendEvent(widget, &event);
}

// The board point (mm) under a pixel of the page that holds the board area.
BoardPoint BoardPointAt(MainWindow& w, QPoint pagePixel) {
  const ViewGeometry& v = w.Layout()->View();
  return PixelToBoard(pagePixel.x() - v.Left, pagePixel.y() - v.Top, v.Scale,
                      w.CurrentProject().PcbLy);
}

// Two touching 40 mm x 2 mm traces on a 100 mm x 20 mm board with a source on Jx 5
// of the first, a load on Jx 5 of the second and a ground point on the top edge of
// the second's third cell, all placed in the program's own way; done(name) is
// told after each step with the name the Edit menu gives it.
void MarkedTraces(MainWindow& w,
                  const std::function<void(const QString&)>& step = [](const QString&) {}) {
  PressLayoutButton(w, "AddSegment");
  Drag(w, PixelOf(w, 10, 12) + QPoint(1, -1), PixelOf(w, 50, 10) + QPoint(-1, 1));
  step("Add segment");
  Drag(w, PixelOf(w, 90, 10) + QPoint(1, 1), PixelOf(w, 50, 12) + QPoint(1, 1));
  step("Add segment");
  PressLayoutButton(w, "VoltGen");
  FillNextDialog({{"ReVolt", "1"}});
  ClickBoard(w, PixelOf(w, 20.4, 11));
  step("Add voltage source");
  PressLayoutButton(w, "LoadImp");
  FillNextDialog({{"ReImp", "50"}});
  ClickBoard(w, PixelOf(w, 60.4, 11));
  step("Add impedance element");
  PressLayoutButton(w, "GPConnect");
  FillNextDialog({{"TopEdge", Clicked}});
  ClickBoard(w, PixelOf(w, 55, 11));
  step("Add ground point");
}

}  // namespace

class UndoEditingTest : public QObject {
  Q_OBJECT
private slots:
  void EveryKindOfEditIsUndoneAndRedoneExactly() {
    Session s(100, 20);
    auto [w, p] = s.WindowAndProject();
    std::vector<Project> states{p};
    std::vector<QString> names{QString()};
    const auto done = [&](const QString& what) {
      states.push_back(p);
      names.push_back(what);
    };

    MarkedTraces(w, done);
    // A second ground point on the left edge of the first trace's third cell (x = 14).
    FillNextDialog({});
    ClickBoard(w, PixelOf(w, 15, 11));
    done("Add ground point");
    PressLayoutButton(w, "GPConnect");

    FillNextDialog({{"ImVolt", "-2.5"}});
    DoubleClickBoard(w, PixelOf(w, 20.2, 11));
    done("Edit voltage source 1");
    FillNextDialog({{"RC", Clicked}, {"ImImp", "1e-12"}});
    DoubleClickBoard(w, PixelOf(w, 60.2, 11));
    done("Edit impedance element 1");

    // Twice the cells on the first trace (the markers' renumbering is the layout
    // editing tests'), then three, which drops the source and the left-edge ground
    // point after a Yes.
    const auto editFirstTrace = [&](const QString& chX) {
      FillNextDialog({{"ChX", chX}});
      DoubleClickBoard(w, PixelOf(w, 35, 11));
    };
    editFirstTrace("40");
    done("Edit segment 1");
    s.hook.answers = {Answer::Yes};
    editFirstTrace("3");
    QVERIFY(p.VoltageSources.empty());
    done("Edit segment 1");

    FillNextDialog({{"DelImp", Clicked}, {"DelNo", "1"}});
    PressLayoutButton(w, "Delete");
    done("Delete impedance element 1");

    FillNextDialog({{"Grid", "4"}, {"ChxNo", "2"}, {"ShowGrid", Clicked}});
    PressLayoutButton(w, "SetGrid");
    done("Grid settings");

    // The grid dialog's OK on the values as they are is no edit.
    FillNextDialog({});
    PressLayoutButton(w, "SetGrid");
    QCOMPARE(w.Layout()->UndoStack()->count(), int(states.size() - 1));

    // The second trace selected and deleted, its ground point with it after a Yes.
    ClickBoard(w, PixelOf(w, 80, 11));
    s.hook.answers = {Answer::Yes};
    Key(w, Qt::Key_Delete);
    QCOMPARE(p.Segments.size(), std::size_t{1});
    done("Delete segment 2");
    QVERIFY(!p.Saved);

    // Back through every step, each restoring the project exactly as it was.
    Activate(w);
    for (std::size_t k = states.size() - 1; k > 0; --k) {
      QCOMPARE(w.Action("Undo")->text(), "&Undo " + names[k]);
      Key(w, Qt::Key_Z, Qt::ControlModifier);
      const QString diff = Differences(p, states[k - 1]);
      QVERIFY2(diff.isEmpty(), qPrintable(QString("undo of step %1: %2").arg(k).arg(diff)));
      QVERIFY(!p.Connected);
    }
    // Back at the new project: saved again, nothing to enable Connect.
    QVERIFY(!w.Action("Undo")->isEnabled() && p.Saved && !w.isWindowModified());
    QVERIFY(!Child<QToolButton>(w.Layout(), "Connect")->isEnabled());

    // And forward again, with both redo keys.
    for (std::size_t k = 1; k < states.size(); ++k) {
      QCOMPARE(w.Action("Redo")->text(), "&Redo " + names[k]);
      if (k % 2) Key(w, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
      else Key(w, Qt::Key_Y, Qt::ControlModifier);
      const QString diff = Differences(p, states[k]);
      QVERIFY2(diff.isEmpty(), qPrintable(QString("redo of step %1: %2").arg(k).arg(diff)));
    }
    QVERIFY(!w.Action("Redo")->isEnabled() && !p.Saved);
    // No more questions were asked on the way: undo and redo restore, never recompute.
    QCOMPARE(s.hook.questions.size(), std::size_t{2});
  }

  void TheHistoryReachesBackMoreThanAHundredSteps() {
    Session s(100, 20);
    auto [w, p] = s.WindowAndProject();
    const int steps = 130;
    PressLayoutButton(w, "AddSegment");
    for (int k = 0; k < steps; ++k) {
      // 2 mm squares along the board, row after row.
      const double x = 2 + 4 * (k % 24), y = 2 + 4 * (k / 24 % 4);
      Drag(w, PixelOf(w, x, y + 2) + QPoint(1, -1), PixelOf(w, x + 2, y) + QPoint(-1, 1));
    }
    PressLayoutButton(w, "AddSegment");
    QCOMPARE(p.Segments.size(), std::size_t(steps));
    QCOMPARE(w.Layout()->UndoStack()->count(), steps);
    Activate(w);
    for (int k = 0; k < steps; ++k) Key(w, Qt::Key_Z, Qt::ControlModifier);
    QVERIFY(p.Segments.empty() && p.Saved && !w.Action("Undo")->isEnabled());
    for (int k = 0; k < steps; ++k) Key(w, Qt::Key_Y, Qt::ControlModifier);
    QCOMPARE(p.Segments.size(), std::size_t(steps));
    QCOMPARE(p.Segments.back().Xc, 2 + 4 * ((steps - 1) % 24) + 1.0);
  }

  void TheTitleShowsTheFileAndWhetherItIsSaved() {
    Session s(100, 20);
    auto [w, p] = s.WindowAndProject();
    // The title as shown, with "*" while modified, and the project's saved flag.
    const auto state = [&] { return w.windowHandle()->title() + (p.Saved ? " saved" : " modified"); };
    QCOMPARE(state(), QString("Lumetra Board.PRO saved"));
    PressLayoutButton(w, "AddSegment");
    Drag(w, PixelOf(w, 10, 12), PixelOf(w, 50, 10));
    QCOMPARE(state(), QString("Lumetra Board.PRO* modified"));
    Drag(w, PixelOf(w, 50, 12), PixelOf(w, 90, 10));
    Activate(w);
    Key(w, Qt::Key_S, Qt::ControlModifier);
    QVERIFY(QFile::exists(s.PathOf("Board.PRO")));
    QCOMPARE(state(), QString("Lumetra Board.PRO saved"));
    // Undo leaves the saved state, redo comes back to it.
    Key(w, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(state(), QString("Lumetra Board.PRO* modified"));
    Key(w, Qt::Key_Z, Qt::ControlModifier);
    QVERIFY(!p.Saved);
    Key(w, Qt::Key_Y, Qt::ControlModifier);
    Key(w, Qt::Key_Y, Qt::ControlModifier);
    QCOMPARE(state(), QString("Lumetra Board.PRO saved"));
    // Undone past the save and edited otherwise: the saved state is out of reach.
    Key(w, Qt::Key_Z, Qt::ControlModifier);
    Drag(w, PixelOf(w, 50, 16), PixelOf(w, 90, 14));
    QCOMPARE(state(), QString("Lumetra Board.PRO* modified"));
    Key(w, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(state(), QString("Lumetra Board.PRO* modified"));
    // Closing asks, since it is not saved: the question reaches the save flag.
    s.hook.answers = {Answer::Cancel};
    QVERIFY(!w.close());
    QCOMPARE(s.hook.questions.back(), std::string("Save changes to project?"));

    // Opening a project starts a new history.
    s.hook.answers = {Answer::No};
    AnswerFileDialogs(s.PathOf("Board.PRO"));
    w.Action("OpenProject")->trigger();
    QCOMPARE(p.Segments.size(), std::size_t{2});
    QVERIFY(!w.Action("Undo")->isEnabled() && !w.Action("Redo")->isEnabled());
    QVERIFY(p.Saved && !w.isWindowModified());
  }

  void ClickSelectsAndDelDeletesAskingForMarkersThatGoAlong() {
    Session s(100, 20);
    auto [w, p] = s.WindowAndProject();
    MarkedTraces(w);
    PressLayoutButton(w, "GPConnect");
    LayoutPage* page = w.Layout();
    LayoutCanvas* canvas = page->Canvas();
    // A second source on Jx 6 of the first trace.
    PressLayoutButton(w, "VoltGen");
    FillNextDialog({{"ReVolt", "2"}});
    ClickBoard(w, PixelOf(w, 22.4, 11));
    PressLayoutButton(w, "VoltGen");
    QCOMPARE(p.VoltageSources.size(), std::size_t{2});
    const Project before = p;

    // A click on the first trace selects it and draws it highlighted.
    ClickBoard(w, PixelOf(w, 35, 11));
    QCOMPARE(page->Selection(), (std::vector<SelectedItem>{{ItemKind::Segment, 0}}));
    QCOMPARE(canvas->Highlights().size(), std::size_t{1});
    const QRect box = canvas->Highlights()[0].Box;
    const QImage shown = canvas->grab().toImage();
    QCOMPARE(shown.pixelColor(box.left() - 2, box.center().y()), LayoutCanvas::HighlightColour());
    QVERIFY(canvas->Image().pixelColor(box.left() - 2, box.center().y()) !=
            LayoutCanvas::HighlightColour());  // over the drawing, not in it
    // Ctrl+click adds the second trace, and a second Ctrl+click takes it away again.
    const auto ctrlClick = [&](QPoint at) {
      QTest::mouseClick(canvas, Qt::LeftButton, Qt::ControlModifier, at);
    };
    ctrlClick(PixelOf(w, 80, 11));
    QCOMPARE(page->Selection().size(), std::size_t{2});
    ctrlClick(PixelOf(w, 80, 11));
    QCOMPARE(page->Selection().size(), std::size_t{1});
    ctrlClick(PixelOf(w, 80, 11));

    // Del asks for the markers on both traces; No leaves everything.
    Activate(w);
    s.hook.answers = {Answer::No};
    Key(w, Qt::Key_Delete);
    QCOMPARE(s.hook.questions.back(),
             std::string("Warning: Deleting segments 1, 2 also removes voltage sources 1, 2, "
                         "impedance element 1 and ground connection 1. Proceed?"));
    QVERIFY(Differences(p, before).isEmpty());
    QCOMPARE(page->Selection().size(), std::size_t{2});

    // A source is selected in front of its trace and goes without a question.
    s.hook.Clear();
    ClickBoard(w, PixelOf(w, 20.2, 11));
    QCOMPARE(page->Selection(), (std::vector<SelectedItem>{{ItemKind::VoltageSource, 0}}));
    Key(w, Qt::Key_Delete);
    QVERIFY(s.hook.questions.empty() && page->Selection().empty());
    QCOMPARE(p.VoltageSources.size(), std::size_t{1});
    QCOMPARE(p.VoltageSources[0].ReV, 2.0);

    // The ground point (a small circle, hit near its centre) with the second trace:
    // only the load, not selected, is asked about.
    ClickBoard(w, PixelOf(w, 55, 12) + QPoint(2, 1));
    QCOMPARE(page->Selection(), (std::vector<SelectedItem>{{ItemKind::GroundPoint, 0}}));
    QVERIFY(canvas->Highlights()[0].Round);
    ctrlClick(PixelOf(w, 80, 11));
    s.hook.answers = {Answer::Yes};
    Key(w, Qt::Key_Delete);
    QCOMPARE(s.hook.questions.back(),
             std::string("Warning: Deleting segment 2 also removes impedance element 1. Proceed?"));
    // Segments, sources, loads and ground points left.
    const auto counts = [&] {
      return std::vector{p.Segments.size(), p.VoltageSources.size(), p.Impedances.size(), p.GroundPoints.size()};
    };
    QCOMPARE(counts(), (std::vector<std::size_t>{1, 1, 0, 0}));
    QCOMPARE(p.VoltageSources[0].ElementNo, 6);
    // One step undoes the whole deletion.
    Key(w, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(counts(), (std::vector<std::size_t>{2, 1, 1, 1}));

    // A click on the empty board drops the selection; Del then does nothing.
    ClickBoard(w, PixelOf(w, 35, 11));
    ClickBoard(w, PixelOf(w, 70, 4));
    QVERIFY(page->Selection().empty() && canvas->Highlights().empty());
    Key(w, Qt::Key_Delete);
    QCOMPARE(p.Segments.size(), std::size_t{2});
  }

  void EscLeavesTheCurrentMode() {
    Session s(100, 20);
    auto [w, p] = s.WindowAndProject();
    LayoutPage* page = w.Layout();
    QWidget* canvas = page->Canvas();
    Activate(w);
    // Esc in the middle of drawing drops the segment; the mode stays.
    PressLayoutButton(w, "AddSegment");
    QTest::mousePress(canvas, Qt::LeftButton, {}, PixelOf(w, 10, 12));
    QTest::mouseMove(canvas, PixelOf(w, 30, 10));
    QVERIFY(page->Canvas()->RubberBand().has_value());
    Key(w, Qt::Key_Escape);
    QVERIFY(!page->Canvas()->RubberBand().has_value());
    QTest::mouseRelease(canvas, Qt::LeftButton, {}, PixelOf(w, 30, 10));
    QVERIFY(p.Segments.empty());
    QVERIFY(Child<QToolButton>(page, "AddSegment")->isChecked());
    // The next Esc leaves the mode.
    Key(w, Qt::Key_Escape);
    QVERIFY(!Child<QToolButton>(page, "AddSegment")->isChecked());
    QCOMPARE(w.Status()->Text(StatusPanel::State), QString());
    QCOMPARE(canvas->cursor().shape(), Qt::ArrowCursor);

    // A placing mode: Esc releases it and its element display.
    PressLayoutButton(w, "VoltGen");
    QVERIFY(Child<QToolButton>(page, "ShowJxCur")->isChecked());
    Key(w, Qt::Key_Escape);
    QCOMPARE(Texts(page, {"VoltGen", "ShowJxCur"}), QStringList({"unchecked", "unchecked"}));
    QCOMPARE(w.Status()->Text(StatusPanel::State), QString());

    // A drag of the board: Esc puts it back where it was.
    const ViewGeometry start = page->View();
    QTest::mousePress(canvas, Qt::LeftButton, {}, QPoint(100, 100));
    QTest::mouseMove(canvas, QPoint(130, 80));
    Key(w, Qt::Key_Escape);
    QTest::mouseRelease(canvas, Qt::LeftButton, {}, QPoint(100, 100));
    QCOMPARE(page->View().Left, start.Left);
    QCOMPARE(page->Canvas()->pos(), QPoint(start.Left, start.Top));
    QCOMPARE(canvas->cursor().shape(), Qt::ArrowCursor);

    // In select mode Esc clears the selection.
    PressLayoutButton(w, "AddSegment");
    Drag(w, PixelOf(w, 10, 12), PixelOf(w, 50, 10));
    Key(w, Qt::Key_Escape);
    ClickBoard(w, PixelOf(w, 30, 11));
    QCOMPARE(page->Selection().size(), std::size_t{1});
    Key(w, Qt::Key_Escape);
    QVERIFY(page->Selection().empty() && p.Segments.size() == 1);
  }

  void TheWheelZoomsAboutTheCursor() {
    Session s(160, 100);
    MainWindow& w = *s.window;
    LayoutPage* page = w.Layout();
    QWidget* canvas = page->Canvas();
    QWidget* boardPage = page->findChild<QWidget*>("BoardPage");
    const double startScale = page->View().Scale;
    // Whole pixels: the point may move by half a pixel at most.
    const auto stays = [&](QPoint pagePixel, const BoardPoint& before) {
      const BoardPoint after = BoardPointAt(w, pagePixel);
      const double tolerance = 0.5 / page->View().Scale + 1e-9;
      return std::abs(after.X - before.X) <= tolerance && std::abs(after.Y - before.Y) <= tolerance;
    };

    // One notch forward over the board, well away from its centre.
    const QPoint at = PixelOf(w, 30, 80);
    const QPoint pagePixel = canvas->pos() + at;
    BoardPoint before = BoardPointAt(w, pagePixel);
    QVERIFY(std::abs(before.X - 30) < 0.2 && std::abs(before.Y - 80) < 0.2);
    Wheel(canvas, at, 120);
    QCOMPARE(page->View().Scale, startScale * 1.1);
    QVERIFY(stays(pagePixel, before));
    QCOMPARE(canvas->pos(), QPoint(page->View().Left, page->View().Top));
    // The drawing follows at the new scale.
    QCOMPARE(page->Canvas()->Image().width(), page->View().Width);

    // A fine wheel adds up to a notch before it zooms.
    const double scale = page->View().Scale;
    Wheel(canvas, pagePixel - canvas->pos(), 60);
    QCOMPARE(page->View().Scale, scale);
    before = BoardPointAt(w, pagePixel);
    Wheel(canvas, pagePixel - canvas->pos(), 60);
    QCOMPARE(page->View().Scale, scale * 1.1);
    QVERIFY(stays(pagePixel, before));

    // Beside the board the wheel zooms too, about the page point under the mouse.
    const QPoint margin(3, 3);
    QVERIFY(!canvas->geometry().contains(margin));
    before = BoardPointAt(w, margin);
    Wheel(boardPage, margin, 240);
    QVERIFY(std::abs(page->View().Scale - scale * 1.1 * 1.21) < 1e-12);
    QVERIFY(stays(margin, before));
  }

  void StandardShortcutsReachTheirCommands() {
    Session s(100, 20);
    MainWindow& w = *s.window;
    Activate(w);
    QString title;
    OnNextModal([&](QWidget* d) {
      title = d->windowTitle();
      Click(d, "CancelBtn");
    });
    Key(w, Qt::Key_N, Qt::ControlModifier);
    QCOMPARE(title, QString("New Project"));

    QStringList chooser;
    SetFileChooserHook([&](bool, const QString& t) {
      chooser << t;
      return QString();
    });
    Activate(w);
    Key(w, Qt::Key_O, Qt::ControlModifier);
    Key(w, Qt::Key_S, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(chooser, (QStringList{"Open Project", "Save Project As"}));  // Ctrl+S: the title test

    int printQuestions = 0;
    w.Layout()->SetPrintConfirmation([&](QPrinter&) {
      ++printQuestions;
      return false;
    });
    Key(w, Qt::Key_P, Qt::ControlModifier);
    QCOMPARE(printQuestions, 1);

    Key(w, Qt::Key_F1);
    QVERIFY(w.Help()->isVisible() && w.Help()->CurrentPage() == "contents.html");
    w.Help()->hide();

    Activate(w);
    bool exitTriggered = false;
    QObject::connect(w.Action("Exit"), &QAction::triggered, [&] { exitTriggered = true; });
    Key(w, Qt::Key_Q, Qt::ControlModifier);
    QVERIFY(exitTriggered && !w.isVisible());
    QVERIFY(s.hook.questions.empty());
  }

  void EnvironmentEditsAreUndoneLikeLayoutEdits() {
    Session s(100, 20);
    auto [w, p] = s.WindowAndProject();
    w.Pages()->setCurrentIndex(1);
    ComputationPage* page = w.Computation();
    QVERIFY(p.Saved);
    // A click on the check box and typing in one field: two steps, not one per key.
    QCheckBox* plane = Child<QCheckBox>(page, "GroundPlane");
    QTest::mouseClick(plane, Qt::LeftButton, {}, QPoint(8, plane->height() / 2));  // its box
    QLineEdit* height = Child<QLineEdit>(page, "GPHeight");
    height->setFocus();
    height->selectAll();
    QTest::keyClicks(height, "1.57");
    QVERIFY(p.Env.GroundPlane && p.Env.GPHeight == "1.57");
    QVERIFY(!p.Saved);  // the environment is the project's: it must be offered for saving
    QCOMPARE(w.Layout()->UndoStack()->count(), 2);

    // The Edit menu's entries (their keys are checked with the layout edits).
    // The plane in the project and on the page, the height in both.
    const auto shown = [&] {
      return QString("%1 %2 %3 %4").arg(int(p.Env.GroundPlane)).arg(int(plane->isChecked()))
          .arg(QString::fromStdString(p.Env.GPHeight), height->text());
    };
    w.Action("Undo")->trigger();
    QCOMPARE(shown(), QString("1 1 2 2"));
    w.Action("Undo")->trigger();
    QCOMPARE(shown(), QString("0 0 2 2"));
    QVERIFY(p.Saved);  // back where the project was saved
    w.Action("Redo")->trigger();
    w.Action("Redo")->trigger();
    QCOMPARE(shown(), QString("1 1 1.57 1.57"));
  }
};

QTEST_MAIN(UndoEditingTest)
#include "undo_editing_test.moc"
