// The main window: start-up state, menus and their hints, the status bar, New,
// Save, Save As, Open, closing with the save question, the about box, help.
#include <QMenuBar>

#include "app/about_box.h"
#include "app/external_program.h"
#include "app/help_viewer.h"
#include "app/system_info.h"
#include "editor/help_link.h"
#include "plots/plot_help_topics.h"
#include "tests/gui/gui_test_support.h"

class ShellTest : public QObject {
  Q_OBJECT
private slots:
  void StartsWithoutAProjectAndFiveHiddenPages() {
    RecordingHook hook;
    MainWindow window(".");
    window.show();
    QCOMPARE(window.windowTitle(), QString("Lumetra"));
    QVERIFY(!window.Pages()->isVisible());
    QCOMPARE(window.Pages()->count(), 5);
    for (const char* hidden : {"Save", "SaveAs", "PrintSetup"})
      QVERIFY(!window.Action(hidden)->isVisible());
    QVERIFY(window.Action("NewProject")->isVisible());
    // File, Edit (with nothing to undo) and Help; Utility and Options need a project.
    const QList<QAction*> menus = window.menuBar()->actions();
    QCOMPARE(menus.size(), 5);
    for (int k = 0; k < 5; ++k) QCOMPARE(menus[k]->isEnabled(), k != 2 && k != 3);
    QVERIFY(!window.Action("Undo")->isEnabled());
  }

  void MenuHintsGoToTheWidePanel() {
    RecordingHook hook;
    MainWindow window(".");
    window.show();
    // One entry stands for the mechanism; the texts are the menus' own table. What
    // a menu does when the mouse rests on an entry:
    window.Action("ComputeFarField")->showStatusText(window.menuBar());
    QCOMPARE(window.Status()->Text(StatusPanel::Hint),
             QString("Compute far-field outgoing from the current files of the project"));
    QCOMPARE(window.Status()->Text(StatusPanel::State), QString());
  }

  void ButtonHintsGoToTheWidePanelAndTheShortPartIsTheToolTip() {
    Session s;
    auto* button = Child<QToolButton>(s.window->Layout(), "VoltGen");
    QVERIFY(button);
    QCOMPARE(button->toolTip(), QString("Voltage source"));
    QStatusTipEvent tip(button->statusTip());
    QApplication::sendEvent(button, &tip);
    QCOMPARE(s.window->Status()->Text(StatusPanel::Hint),
             QString("Set a current element as a voltage source, click left mouse button to "
                     "set source"));
  }

  void OptionsDriveTheComputation() {
    Session s;
    s.window->Action("ShowTimeEstimate")->trigger();
    QVERIFY(s.window->Options().ShowTimeEstimate);
    s.window->Action("CompSound")->trigger();
    QVERIFY(!s.window->Options().CompSound);
  }

  void NewProjectShowsTheWorkAreaAndTheProjectCommands() {
    Session s(125, 25, "Clock");
    MainWindow& w = *s.window;
    QCOMPARE(w.windowTitle(), QString("Lumetra Clock.PRO[*]"));
    QVERIFY(!w.isWindowModified() && w.Pages()->isVisible());
    QCOMPARE(w.Pages()->currentIndex(), 0);
    for (const char* shown : {"Save", "SaveAs", "Print", "PrintSetup"})
      QVERIFY(w.Action(shown)->isVisible());
    QVERIFY(w.menuBar()->actions()[2]->isEnabled() && w.menuBar()->actions()[3]->isEnabled());
    QCOMPARE(w.CurrentProject().GridSize, 2.0);  // Round(2.5) = 2
    for (const char* off : {"Connect", "Delete"}) QVERIFY2(!Child<QToolButton>(w.Layout(), off)->isEnabled(), off);
    QVERIFY(!QFile::exists(s.PathOf("Clock.PRO")));  // nothing written before Save

    // A second New over the same name asks before overwriting.
    w.CurrentProject().Saved = true;
    FillNextDialog({{"ProjName", "Clock"}, {"ProjDir", s.directory.path()}});
    QFile(s.PathOf("Clock.PRO")).open(QIODevice::WriteOnly);
    s.hook.answers = {Answer::No};
    w.NewProjectCommand();
    QCOMPARE(s.hook.questions.back(), std::string("Project \"Clock.PRO\" already exist.  Overwrite?"));
  }

  void SaveWritesTheProjectAndSaveAsRenamesIt() {
    Session s;
    MainWindow& w = *s.window;
    AddSegment(w.CurrentProject(), Segment{10, 10, 10, 2, 5, 1});
    w.Action("Save")->trigger();
    QVERIFY(w.CurrentProject().Saved);
    for (const char* file : {"Board.PRO", "Board.SEG"}) QVERIFY2(QFile::exists(s.PathOf(file)), file);
    QCOMPARE(w.Status()->Text(StatusPanel::State), QString());

    QString title;
    SetFileChooserHook([&](bool save, const QString& t) {
      title = t;
      return save ? s.PathOf("Copy.dat") : QString();
    });
    w.Action("SaveAs")->trigger();
    QCOMPARE(title, QString("Save Project As"));
    QCOMPARE(w.windowTitle(), QString("Lumetra Copy.PRO[*]"));
    for (const char* file : {"Copy.PRO", "Copy.SEG"}) QVERIFY2(QFile::exists(s.PathOf(file)), file);

    // Saving again under an existing name asks; No leaves everything as it was.
    AnswerFileDialogs(s.PathOf("Board.PRO"));
    s.hook.answers = {Answer::No};
    w.Action("SaveAs")->trigger();
    QCOMPARE(s.hook.questions.back(), std::string("Project \"Board.PRO\" already exist.  Overwrite?"));
    QCOMPARE(w.windowTitle(), QString("Lumetra Copy.PRO[*]"));
  }

  void OpenReadsAProjectBack() {
    Session s;
    MainWindow& w = *s.window;
    AddSegment(w.CurrentProject(), Segment{10, 10, 10, 2, 5, 1});
    w.CurrentProject().Env.GroundPlane = true;
    w.CurrentProject().Env.GPHeight = "1.5";
    w.Action("Save")->trigger();
    DeleteItems(w.CurrentProject(), ItemKind::Segment, std::nullopt);
    // Unsaved changes: the question comes first; No discards them.
    s.hook.answers = {Answer::No};
    AnswerFileDialogs(s.PathOf("Board.PRO"));
    w.Action("OpenProject")->trigger();
    QCOMPARE(s.hook.questions.front(), std::string("Save changes to project?"));
    QCOMPARE(w.CurrentProject().Segments.size(), std::size_t{1});
    QVERIFY(Child<QToolButton>(w.Layout(), "Connect")->isEnabled());
    QCOMPARE(Texts(w.Computation(), {"GroundPlane", "GPHeight"}), QStringList({"checked", "1.5"}));
  }

  void ClosingAsksAboutUnsavedChanges() {
    Session s;
    MainWindow& w = *s.window;
    AddSegment(w.CurrentProject(), Segment{10, 10, 10, 2, 5, 1});
    s.hook.answers = {Answer::Cancel};
    QVERIFY(!w.close());
    QCOMPARE(s.hook.questions, std::vector<std::string>{"Save changes to project?"});
    QVERIFY(w.isVisible());
    s.hook.answers = {Answer::Yes};
    QVERIFY(w.close());
    QVERIFY(QFile::exists(s.PathOf("Board.PRO")));
    QVERIFY(w.CurrentProject().Saved);
    // Saved: no question at all.
    w.show();
    s.hook.Clear();
    QVERIFY(w.close());
    QVERIFY(s.hook.questions.empty());
  }

  void AboutBoxReportsThisMachine() {
    RecordingHook hook;
    MainWindow window(".");
    AboutBox* about = window.findChild<AboutBox*>();
    QVERIFY(about);
    QCOMPARE(Child<QLabel>(about, "MemoryLabel")->text(),
             "Physical Memory Available to " + OperatingSystemName() + ":");
    QCOMPARE(Child<QLabel>(about, "PhysMem")->text(), FormatKilobytes(PhysicalMemoryKilobytes()));
    QCOMPARE(FormatKilobytes(16384256), QString("16,384,256 KB"));
    QVERIFY(QRegularExpression("^\\S+ \\d+\\.\\d+$")
                .match(Child<QLabel>(about, "OSLabel")->text())
                .hasMatch());
  }

  void HelpCommandsAndDialogHelpButtonsOpenTheirTopics() {
    Session s;
    MainWindow& w = *s.window;
    w.Action("HelpContents")->trigger();
    QVERIFY(w.Help()->isVisible());
    QCOMPARE(w.Help()->CurrentPage(), QString("contents.html"));
    w.Action("HelpOnHelp")->trigger();
    QCOMPARE(w.Help()->CurrentPage(), QString("helponhelp.html"));
    w.Action("HelpSearch")->trigger();
    QTest::keyClicks(Child<QLineEdit>(w.Help(), "HelpSearch"), "grid");
    QTest::keyClick(Child<QLineEdit>(w.Help(), "HelpSearch"), Qt::Key_Return);
    QCOMPARE(w.Help()->CurrentPage(), QString("topic1007.html"));
    w.Help()->hide();

    // The grid dialog's help button opens topic 1007 over the dialog.
    QString page;
    bool modalHelp = false;
    OnNextModal([&](QWidget* d) {
      Click(d, "HelpBtn");
      page = w.Help()->CurrentPage();
      modalHelp = w.Help()->isVisible() && w.Help()->windowModality() == Qt::ApplicationModal;
      w.Help()->hide();
      Click(d, "CancelBtn");
    });
    QTest::mouseClick(Child<QToolButton>(w.Layout(), "SetGrid"), Qt::LeftButton);
    QCOMPARE(page, QString("topic1007.html"));
    QVERIFY(modalHelp);
  }

  void EveryHelpTopicAndKeywordHasItsPage() {
    RecordingHook hook;
    MainWindow w(".");
    // A topic without its page would silently show the contents instead.
    for (int topic : {help_topic::VoltageSource, help_topic::Impedance, help_topic::GroundPoint,
                      help_topic::DeleteItem, help_topic::Grid, help_topic::Segment,
                      help_topic::NewProject, help_topic::ProjectDetails, help_topic::MoveStep,
                      help_topic::SelectFrequency, help_topic::SelectSegment,
                      help_topic::SelectPlotType}) {
      w.Help()->ShowTopic(topic);
      QCOMPARE(w.Help()->CurrentPage(), QString("topic%1.html").arg(topic));
    }
    w.Help()->hide();
    QFile keywords(":/help/keywords.txt");
    QVERIFY(keywords.open(QIODevice::ReadOnly));
    const QStringList lines = QString::fromUtf8(keywords.readAll()).split('\n', Qt::SkipEmptyParts);
    QVERIFY(lines.size() > 30);
    for (const QString& line : lines)
      QVERIFY2(QFile::exists(":/help/" + line.section('|', 1)), qPrintable(line));
  }

  void AMissingExtractionProgramIsReportedWithWhereItWasLookedFor() {
    Session s(100, 20);
    const QByteArray path = qgetenv("PATH");
    qputenv("PATH", s.directory.path().toLocal8Bit());  // a folder without the program
    s.hook.Clear();
    s.window->Action("ExtractCurrent")->trigger();
    qputenv("PATH", path);
    QCOMPARE(s.hook.messages, std::vector<std::string>{QuilletMissingMessage().toStdString()});
    QVERIFY(QuilletMissingMessage().contains("\"quillet\" is not installed") &&
            QuilletMissingMessage().contains(QCoreApplication::applicationDirPath()));
  }

  void SecondaryWindowsOpenCentredOnTheMainWindow() {
    Session s(100, 20);
    s.window->move(300, 200);
    QApplication::processEvents();
    const QPoint centre = s.window->frameGeometry().center();
    s.window->Action("ListCurrents")->trigger();
    QWidget* list = QApplication::topLevelWidgets().first();
    for (QWidget* w : QApplication::topLevelWidgets())
      if (w->isVisible() && w != s.window.get() && w->windowTitle() == "Current list") list = w;
    QVERIFY(list->isVisible());
    QVERIFY2((list->frameGeometry().center() - centre).manhattanLength() <= 4,
             qPrintable(QString("%1,%2 vs %3,%4").arg(list->frameGeometry().center().x())
                            .arg(list->frameGeometry().center().y()).arg(centre.x()).arg(centre.y())));
    // Moved by the user, it stays where it was put when opened again.
    list->move(10, 10);
    s.window->Action("ListCurrents")->trigger();
    QCOMPARE(list->pos(), QPoint(10, 10));
  }
};

QTEST_MAIN(ShellTest)
#include "shell_test.moc"
