// Every dialog's input checks: the exact messages, the dialog staying open with the
// focus on the offending field, and acceptance just inside the bounds.
#include <QSpinBox>

#include "app/about_box.h"
#include "app/user_settings.h"
#include "tests/gui/gui_test_support.h"

namespace {

struct Attempt {
  QMap<QString, QString> fields;
  std::vector<std::string> messages;  // expected, in order
  QString focus;                      // the field that must have the focus; empty: accepted
};

// Makes the attempts in one opening of the dialog (open shows it) and checks
// each: the messages, and the dialog staying open with the focus on the field
// named, or closed when none is. With cancelWith the dialog is cancelled at the end.
void Check(RecordingHook& hook, const std::vector<Attempt>& attempts,
           const std::function<void()>& open, const QString& cancelWith = {}) {
  std::vector<Attempt> seen;
  OnNextModal([&](QWidget* d) {
    for (const Attempt& a : attempts) {
      for (auto it = a.fields.begin(); it != a.fields.end(); ++it) SetText(d, it.key(), it.value());
      hook.Clear();
      Click(d, "OKBtn");
      // The field that takes the keys when the dialog is active.
      QWidget* focus = d->focusWidget();
      seen.push_back({{}, hook.messages, d->isVisible() && focus ? focus->objectName() : QString()});
      if (d->isVisible() && a.focus.isEmpty()) seen.back().focus = "(still open)";
    }
    if (!cancelWith.isEmpty() && d->isVisible()) Click(d, cancelWith);
  });
  open();
  QCOMPARE(seen.size(), attempts.size());
  for (std::size_t k = 0; k < attempts.size(); ++k) {
    QCOMPARE(seen[k].messages, attempts[k].messages);
    QCOMPARE(seen[k].focus, attempts[k].focus);
  }
}

// The range messages, word for word.
std::string Greater(const std::string& what, const std::string& bound) {
  return "Error: Out of range! " + what + " must be greater than " + bound;
}
std::string Smaller(const std::string& what, const std::string& bound) {
  return "Error: Out of range! " + what + " must be smaller than " + bound;
}

}  // namespace

class DialogChecksTest : public QObject {
  Q_OBJECT
private slots:
  void NewProject() {
    Session s;
    const std::vector<Attempt> attempts = {
        {{{"EditLx", "0"}, {"EditLy", "10000"}}, {Greater("Lx", "0"), Smaller("Ly", "10000")}, "EditLx"},
        {{{"EditLx", "10000"}, {"EditLy", "0"}}, {Smaller("Lx", "10000"), Greater("Ly", "0")}, "EditLx"},
        {{{"EditLx", "12a"}, {"EditLy", "50"}}, {"Error: Not a valid integer number!"}, "EditLx"},
        {{{"EditLx", "9999"}, {"EditLy", "1"}, {"ProjName", "Other"}}, {}, ""}};
    Check(s.hook, attempts, [&] { s.window->NewProjectCommand(); });
    QCOMPARE(QSize(s.window->CurrentProject().PcbLx, s.window->CurrentProject().PcbLy), QSize(9999, 1));
  }

  // A board four times as long as it is wide: the x fields are bounded by its length
  // and the y fields by its width, each bound exclusive.
  void Segment() {
    Session s(160, 40);
    AddSegment(s.window->CurrentProject(), lumetra::Segment{20, 20, 10, 4, 5, 2});
    s.window->Layout()->RedrawLayout();
    const std::string charges = "Number of charges", xc = "Center X-coordinate", yc = "Center Y-coordinate",
                      lx = "Length in X-direction", ly = "Length in Y-direction";
    const std::vector<Attempt> attempts = {
        {{{"ChX", "0"}, {"ChY", "10000"}}, {Greater(charges, "0"), Smaller(charges, "10000")}, "ChX"},
        {{{"ChX", "10000"}, {"ChY", "0"}}, {Smaller(charges, "10000"), Greater(charges, "0")}, "ChX"},
        {{{"ChX", "1"}, {"ChY", "9999"}, {"Xc", "160"}, {"Yc", "40"}, {"dx", "160"}, {"dy", "40"}},
         {Smaller(xc, "160"), Smaller(yc, "40"), Smaller(lx, "160"), Smaller(ly, "40")},
         "Xc"},
        {{{"Xc", "0"}, {"Yc", "0"}, {"dx", "0"}, {"dy", "x"}},
         {Greater(xc, "0"), Greater(yc, "0"), Greater(lx, "0"), "Error: Not a valid real number!"},
         "Xc"},
        {{{"Xc", "0.01"}, {"Yc", "39.99"}, {"dx", "159.99"}, {"dy", "39.99"}}, {}, ""}};
    Check(s.hook, attempts, [&] { DoubleClickBoard(*s.window, PixelOf(*s.window, 20, 20)); });
    // Outside the board after editing is allowed: each value is checked alone.
    const std::vector<lumetra::Segment>& edited = s.window->CurrentProject().Segments;
    QVERIFY(Same(edited, {lumetra::Segment{0.01, 39.99, 159.99, 39.99, 1, 9999}}));

    const std::vector<Attempt> inside = {
        {{{"ChX", "9999"}, {"ChY", "1"}, {"Xc", "159.99"}, {"Yc", "0.01"}, {"dx", "0.01"}, {"dy", "0.01"}}, {}, ""}};
    Check(s.hook, inside, [&] { DoubleClickBoard(*s.window, PixelOf(*s.window, 20, 30)); });
    QVERIFY(Same(edited, {lumetra::Segment{159.99, 0.01, 0.01, 0.01, 9999, 1}}));
  }

  void VoltageSourceAndImpedance() {
    Session s(160, 40);
    AddSegment(s.window->CurrentProject(), lumetra::Segment{20, 20, 10, 4, 5, 2});
    PressLayoutButton(*s.window, "VoltGen");
    const std::vector<Attempt> attempts = {
        {{{"ReVolt", "100"}, {"ImVolt", "-100"}}, {Smaller("Voltage", "100"), Greater("Voltage", "-100")}, "ReVolt"},
        {{{"ReVolt", "-100"}, {"ImVolt", "100"}}, {Greater("Voltage", "-100"), Smaller("Voltage", "100")}, "ReVolt"},
        {{{"ReVolt", "-99.9"}, {"ImVolt", "99.9"}}, {}, ""}};
    Check(s.hook, attempts, [&] { ClickBoard(*s.window, PixelOf(*s.window, 18.3, 19)); });
    QCOMPARE(s.window->CurrentProject().VoltageSources.size(), std::size_t{1});
    QCOMPARE(s.window->CurrentProject().VoltageSources[0].ImV, 99.9);

    PressLayoutButton(*s.window, "LoadImp");
    const std::string lc = "Inductance or capacitance";
    const std::vector<Attempt> loads = {
        {{{"ReImp", "-1e-38"}, {"ImImp", "1e12"}},
         {Greater("Resistance", "-1E-38"), Smaller(lc, "1000000000000")}, "ReImp"},
        {{{"ReImp", "1e12"}, {"ImImp", "-1"}},
         {Smaller("Resistance", "1000000000000"), Greater(lc, "-1E-38")}, "ReImp"},
        {{{"ReImp", "0"}, {"ImImp", "9.99e11"}}, {}, ""}};
    Check(s.hook, loads, [&] { ClickBoard(*s.window, PixelOf(*s.window, 22.3, 19)); });
    QCOMPARE(s.window->CurrentProject().Impedances.size(), std::size_t{1});
    QCOMPARE(s.window->CurrentProject().Impedances[0].LC, 9.99e11);
  }

  void DeleteItem() {
    Session s;
    Project& p = s.window->CurrentProject();
    AddSegment(p, lumetra::Segment{20, 20, 10, 4, 5, 2});
    AddSegment(p, lumetra::Segment{40, 20, 10, 4, 5, 2});
    s.window->Layout()->UpdateButtons();
    const std::vector<Attempt> attempts = {
        {{{"DelNo", "3"}}, {Smaller("Segment number", "3")}, "DelNo"},
        {{{"DelNo", "0"}}, {Greater("Segment number", "0")}, "DelNo"},
        {{{"DelNo", ""}}, {"Error: Not a valid integer number!"}, "DelNo"}};
    Check(s.hook, attempts, [&] { PressLayoutButton(*s.window, "Delete"); }, "CancelBtn");
    QCOMPARE(p.Segments.size(), std::size_t{2});
    // No sources: any number is out of range.
    std::vector<std::string> seen;
    OnNextModal([&](QWidget* d) {
      Fill(d, {{"DelGen", Clicked}, {"DelNo", "1"}});
      s.hook.Clear();
      Click(d, "OKBtn");
      seen = s.hook.messages;
      Click(d, "CancelBtn");
    });
    PressLayoutButton(*s.window, "Delete");
    QCOMPARE(seen, std::vector<std::string>{Smaller("Voltage source number", "1")});
  }

  // The grid lies strictly between 0.5 % and 10 % of the board's longer side,
  // whichever side that is: 0.8 and 16 mm on 160 x 40 and on 40 x 160 mm.
  void Grid() {
    for (auto [lx, ly] : {std::pair{160, 40}, std::pair{40, 160}}) {
      Session s(lx, ly);
      const std::string charges = "Number of charges per grid";
      const std::vector<Attempt> attempts = {
          {{{"Grid", "0.8"}, {"ChxNo", "0"}, {"ChyNo", "100"}},
           {Greater("Grid", "0.8"), Greater(charges, "0"), Smaller(charges, "100")}, "Grid"},
          {{{"Grid", "16"}, {"ChxNo", "100"}, {"ChyNo", "0"}},
           {Smaller("Grid", "16"), Smaller(charges, "100"), Greater(charges, "0")}, "Grid"},
          {{{"Grid", "0.81"}, {"ChxNo", "99"}, {"ChyNo", "1"}}, {}, ""}};
      Check(s.hook, attempts, [&] { PressLayoutButton(*s.window, "SetGrid"); });
      const Project& p = s.window->CurrentProject();
      QCOMPARE(std::tie(p.GridSize, p.ChargesPerGridX, p.ChargesPerGridY, p.Saved), std::tuple(0.81, 99, 1, false));
      Check(s.hook, {{{{"Grid", "15.99"}, {"ChxNo", "1"}, {"ChyNo", "99"}}, {}, ""}},
            [&] { PressLayoutButton(*s.window, "SetGrid"); });
      QCOMPARE(p.GridSize, 15.99);
    }
  }

  void MoveStep() {
    Session s;
    const std::string step = "Step size for plot move", zoom = "Scale factor for plot zoom";
    const std::vector<Attempt> attempts = {
        {{{"tdxyoff", "0"}, {"tzoomscale", "1"}}, {Greater(step, "0"), Greater(zoom, "1")}, "tdxyoff"},
        {{{"tdxyoff", "100"}, {"tzoomscale", "100"}}, {Smaller(step, "100"), Smaller(zoom, "100")}, "tdxyoff"},
        {{{"tdxyoff", "99"}, {"tzoomscale", "99.9"}}, {}, ""}};
    Check(s.hook, attempts, [&] { s.window->Action("SetMoveStep")->trigger(); });
    QCOMPARE(s.window->View().MoveStep, 99);
    QCOMPARE(s.window->View().ZoomFactor, 99.9);
  }

  // The ranges themselves are the settings' own (solver tests); here the wiring.
  void SolverSettings() {
    Session s;
    const std::vector<Attempt> attempts = {
        {{{"NoPointst", "10"}, {"RelErrt", "1"}}, {Greater("Number of integration points", "10")}, "NoPointst"},
        {{{"NoPointst", "9999"}, {"RelErrt", "0.02"}}, {}, ""}};
    Check(s.hook, attempts, [&] { s.window->Action("SetIntegrationParam")->trigger(); });
    QCOMPARE(s.window->Options().Integration.Points, 9999);

    // Cancel checks the interval too while the approximation is chosen.
    std::vector<std::string> seen;
    bool stayed = false;
    OnNextModal([&](QWidget* d) {
      Fill(d, {{"ApproximateEvery", Clicked}, {"evfreq", "100"}});
      s.hook.Clear();
      Click(d, "CancelBtn");
      seen = s.hook.messages;
      stayed = d->isVisible();
      SetText(d, "evfreq", "3");
      Click(d, "CancelBtn");
    });
    s.window->Action("SetEffPermittivity")->trigger();
    QCOMPARE(seen, std::vector<std::string>{Smaller("Number", "100")});
    QVERIFY(stayed);
    QCOMPARE(s.window->Options().EffectivePermittivity.Every, 3);

    // The accuracy: Cancel keeps it, OK takes the choice, and a computation of the
    // page carries it (the project's settings file stores it from there).
    QCOMPARE(s.window->Options().Accuracy, SolverAccuracy::Standard);
    FillNextDialog({{"AccuracyHigh", Clicked}}, "CancelBtn");
    s.window->Action("SetAccuracy")->trigger();
    QCOMPARE(s.window->Options().Accuracy, SolverAccuracy::Standard);
    QStringList shown;
    ReadNextDialog(shown, {"AccuracyStandard"}, "OKBtn", {{"AccuracyHigh", Clicked}});
    s.window->Action("SetAccuracy")->trigger();
    QCOMPARE(shown.value(1), QString("checked"));  // Cancel left the dialog showing what holds
    QCOMPARE(s.window->Options().Accuracy, SolverAccuracy::High);
    QCOMPARE(s.window->Computation()->Settings().Accuracy, SolverAccuracy::High);
  }

  // The limit comes from the user's settings when the window opens, goes into every
  // computation's settings, and OK (not Cancel) stores it there again.
  void MaxUnknownsIsKeptPerUser() {
    {
      QSettings stored = UserSettings();
      StoreMaxUnknowns(stored, 2500);
    }
    Session s;
    QCOMPARE(s.window->Options().MaxUnknowns, 2500);
    OnNextModal([&](QWidget* d) {
      Child<QSpinBox>(d, "MaxUnknowns")->setValue(9000);
      Click(d, "CancelBtn");
    });
    s.window->Action("SetMaxUnknowns")->trigger();
    QCOMPARE(s.window->Options().MaxUnknowns, 2500);
    QString memory;
    OnNextModal([&](QWidget* d) {
      Child<QSpinBox>(d, "MaxUnknowns")->setValue(3000);
      memory = Child<QLabel>(d, "MatrixMemory")->text();
      Click(d, "OKBtn");
    });
    s.window->Action("SetMaxUnknowns")->trigger();
    QVERIFY2(memory.startsWith("A matrix of 3000 unknowns takes 0.14 GB"), qPrintable(memory));
    QCOMPARE(s.window->Computation()->Settings().MaxUnknowns, 3000);
    QCOMPARE(LoadMaxUnknowns(UserSettings()), 3000);
    AboutBox* about = s.window->findChild<AboutBox*>();
    QStringList shown;
    ReadNextDialog(shown, {"MaxUnknowns"});
    s.window->Action("About")->trigger();
    QVERIFY(about);
    QCOMPARE(shown.value(1), QString("6000"));
    QSettings stored = UserSettings();
    stored.setValue("Computation/MaxUnknowns", "many");
    QCOMPARE(LoadMaxUnknowns(stored), DefaultMaxUnknowns);
    stored.clear();
  }
};

QTEST_MAIN(DialogChecksTest)
#include "dialog_checks_test.moc"
