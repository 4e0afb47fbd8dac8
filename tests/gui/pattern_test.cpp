// The "Radiation pattern" page over the far field of a computed dipole: the
// frequency choice, the cut dialog, the scales and labels, the gain rule, and the
// drawing itself (grid circles and the dipole's nulls along its axis).

#include "plots/cut_dialog.h"
#include "plots/db_scale_dialog.h"
#include "plots/engineering_units.h"
#include "plots/pattern_page.h"
#include "plots/pattern_units.h"
#include "tests/gui/gui_dipole.h"
#include "tests/gui/gui_test_support.h"

namespace {

QString LabelText(PatternPage* page, const char* name) {
  return Child<QLabel>(page, name)->text();
}

// Chooses a cut in the dialog: the kind's radio button and the list entry of text.
void ChooseCut(PatternPage* page, const char* radio, const char* list, const QString& entry) {
  OnNextDialog<CutDialog>([=](CutDialog* d) {
    Click(d, radio);
    QListWidget* angles = Child<QListWidget>(d, list);
    const auto items = angles->findItems(entry, Qt::MatchExactly);
    if (!items.isEmpty()) angles->setCurrentItem(items.front());
    Click(d, "OKBtn");
  });
  page->ChooseCut();
}

// Whether a pixel of the colour lies within a few pixels of (x, y).
bool ColorNear(const QImage& image, int x, int y, QColor color, int reach = 2) {
  for (int dx = -reach; dx <= reach; ++dx)
    for (int dy = -reach; dy <= reach; ++dy)
      if (image.rect().contains(x + dx, y + dy) && image.pixelColor(x + dx, y + dy) == color)
        return true;
  return false;
}

}  // namespace

class PatternTest : public QObject {
  Q_OBJECT
private slots:
  void WithoutFarFieldTheGridIsDrawnAndGainIsDisabled() {
    Session s(100, 20);
    s.hook.Clear();
    s.window->Pages()->setCurrentIndex(4);
    PatternPage* page = s.window->Pattern();
    QVERIFY(s.hook.messages.empty());
    QVERIFY(!Child<QToolButton>(page, "Gain")->isEnabled());
    QCOMPARE(LabelText(page, "CutSelection"), QString("Cut: Not defined"));
    // The page must not hold the main window wider than the layout page needs.
    QVERIFY(page->minimumSizeHint().width() < 600);
    // Cut without a far-field file.
    page->ChooseCut();
    QCOMPARE(s.hook.messages, std::vector<std::string>{"There exist no data to plot!"});
    // The empty polar grid is drawn: blue circles on white paper.
    const QImage image = page->Canvas()->grab().toImage();
    KeepPicture(image, "pattern-grid");
    const PolarGeometry g = GridGeometry(page->Canvas()->width(), page->Canvas()->height());
    QVERIFY(ColorNear(image, g.Left + g.C, g.Top + g.C + g.R, Qt::blue, 1));
    QCOMPARE(image.pixelColor(g.Left + g.C + g.R / 2, g.Top + g.C - g.R / 3), QColor(Qt::white));
  }

  void SeveralFrequenciesAskAndCancellingIsReported() {
    Session s(100, 20);
    WriteFile(s.PathOf("Board.RAD"), "100 2\n0 0 1 0\n0 90 0 1\n200 2\n0 0 2 0\n0 90 0 2\n");
    s.hook.Clear();
    QStringList offered;
    AnswerFrequencyDialog(-1, &offered);
    s.window->Pages()->setCurrentIndex(4);
    QCOMPARE(offered, QStringList({"100", "200"}));
    QCOMPARE(s.hook.messages, std::vector<std::string>{"You must select a frequency to plot!"});
    // The second frequency chosen: its block is drawn.
    s.window->Pages()->setCurrentIndex(0);
    AnswerFrequencyDialog(1);
    s.window->Pages()->setCurrentIndex(4);
    PatternPage* page = s.window->Pattern();
    ChooseCut(page, "ThetaCut", "ListBoxTheta", "0");
    QCOMPARE(Texts(page, {"CutSelection", "PlotFrequency", "Maximum"}),
             QStringList({"Cut: Theta=0", "Frequency:200 [MHz]", "Max: 2.000E+0 [V]"}));
    QCOMPARE(page->Curve().Points.size(), std::size_t{2});
    // OK without an entry keeps the former cut.
    s.hook.Clear();
    OnNextDialog<CutDialog>([](CutDialog* d) {
      Child<QListWidget>(d, "ListBoxTheta")->clearSelection();
      Child<QListWidget>(d, "ListBoxTheta")->setCurrentRow(-1);
      Click(d, "OKBtn");
    });
    page->ChooseCut();
    QCOMPARE(s.hook.messages, std::vector<std::string>{"You must select an angle to plot!"});
    QCOMPARE(LabelText(page, "CutSelection"), QString("Cut: Theta=0"));
    QCOMPARE(page->Curve().Points.size(), std::size_t{2});
    // Switching the kind and cancelling: the angle stays, the kind changes.
    FillNextDialog({{"PhiCut", Clicked}}, "CancelBtn");
    page->ChooseCut();
    QCOMPARE(s.window->Options().CutAngle, 0.0);
    QCOMPARE(LabelText(page, "CutSelection"), QString("Cut: Theta=0"));
    QCOMPARE(page->Curve().Points.size(), std::size_t{1});  // phi = 0 holds one record
  }

  void DipoleCutHasNullsAlongTheAxisAndLabelsInEngineeringUnits() {
    Session s(100, 20);
    QVERIFY(ComputeDipoleWithFarField(*s.window));
    QVERIFY(s.window->Options().InputPower > 0);
    s.hook.Clear();
    s.window->Pages()->setCurrentIndex(4);
    PatternPage* page = s.window->Pattern();
    QVERIFY(s.hook.messages.empty());
    QVERIFY(Child<QToolButton>(page, "Gain")->isEnabled());

    // The cut phi = 0 holds the dipole's axis (theta = 90).
    ChooseCut(page, "PhiCut", "ListBoxPhi", "0");
    QCOMPARE(Texts(page, {"CutSelection", "PlotFrequency"}), QStringList({"Cut: Phi=0", "Frequency:1800 [MHz]"}));
    const auto& points = page->Curve().Points;
    QCOMPARE(points.size(), std::size_t{46});
    const double max = page->Curve().Scaled.Maximum;
    QCOMPARE(points.front().Value, max);
    QVERIFY(points.back().Value < 1e-3 * max);
    QVERIFY(LabelText(page, "Scale").startsWith("Scale: Linear ") && LabelText(page, "Scale").endsWith(" [V/div]"));

    // Drawn: broadside (angle 0, to the right) on the outer circle.
    const QImage image = page->Canvas()->grab().toImage();
    KeepPicture(image, "pattern-dipole-phi0-linear");
    const PolarGeometry g = GridGeometry(page->Canvas()->width(), page->Canvas()->height());
    QVERIFY(ColorNear(image, g.Left + g.C + g.R, g.Top + g.C, Qt::red));

    // Gain with the input power of the run, in dB: about 2 dBi broadside.
    Child<QToolButton>(page, "Gain")->click();
    QCOMPARE(LabelText(page, "Selection"), QString("Selection: Power gain"));
    Child<QToolButton>(page, "LinLog")->click();
    QCOMPARE(LabelText(page, "Scale"), QString("Scale: Logarithmic, 10 [dB/div]"));
    const QString maximum = LabelText(page, "Maximum");
    QVERIFY2(maximum.startsWith("Max: ") && maximum.endsWith(" [dB]"), qPrintable(maximum));
    const double db = maximum.mid(5, maximum.size() - 10).toDouble();
    QVERIFY2(db > 1.5 && db < 2.6, qPrintable(maximum));
    const QString maximumDb =
        QString::fromStdString(FormatExponent4(10 * std::log10(page->Curve().Scaled.Maximum)));
    QCOMPARE(maximum, "Max: " + maximumDb + " [dB]");
    KeepPicture(page->Canvas()->grab().toImage(), "pattern-dipole-phi0-gain-log");
    KeepPicture(page->grab().toImage(), "pattern-page-gain-log");

    // Printed: the cut with its identification lines.
    const QString printed = PrintDecliningFirst(
        page, [&] { Child<QToolButton>(page, "SpeedButton14")->click(); }, s.PathOf("pattern.pdf"));
    for (const QString& line : QStringList{"Normalised radiation pattern cut as a function of Theta",
                                           "Plot selection: Phi=0 ; Logarithmic scale: 10 dB/div (max. value=" +
                                               maximumDb + " dB)",
                                           "Selection: Power gain", "Frequency: 1800 MHz", "Source "})
      QVERIFY2(printed.contains(line), qPrintable(line + " in " + printed));

    // The board plane (theta = 90) over phi: nulls at phi 0 and 180.
    Child<QToolButton>(page, "ETot")->click();
    ChooseCut(page, "ThetaCut", "ListBoxTheta", "90");
    QCOMPARE(LabelText(page, "CutSelection"), QString("Cut: Theta=90"));
    QCOMPARE(page->Curve().Points.size(), std::size_t{21});
    Child<QToolButton>(page, "LinLog")->click();
    QCOMPARE(LabelText(page, "Scale").left(14), QString("Scale: Linear "));
    const auto& overPhi = page->Curve().Points;
    QVERIFY(overPhi.front().Value < 1e-3 * page->Curve().Scaled.Maximum);
    QCOMPARE(overPhi[5].Angle, 90.0);
    QVERIFY(overPhi[5].Value > 0.99 * page->Curve().Scaled.Maximum);
    KeepPicture(page->Canvas()->grab().toImage(), "pattern-dipole-theta90-linear");

    // Leaving and coming back resets the cut and the quantity.
    s.window->Pages()->setCurrentIndex(0);
    s.window->Pages()->setCurrentIndex(4);
    QCOMPARE(s.window->Options().CutAngle, -1.0);
    QCOMPARE(LabelText(page, "CutSelection"), QString("Cut: Not defined"));
    QVERIFY(Child<QToolButton>(page, "ETheta")->isChecked());

    // The total field of the cut phi = 0 in engineering units.
    ChooseCut(page, "PhiCut", "ListBoxPhi", "0");
    Child<QToolButton>(page, "ETot")->click();
    const double etot = page->Curve().Scaled.Maximum;
    // Linear rings: the outer one at the cut's maximum, in V (the ring values
    // are the plot data's, plots tests). Beside the amplitude the field strength
    // at 3 m: 20 log10(A / 3 m / 1 uV/m).
    QCOMPARE(page->Curve().RingLabels.back(), RingLabels(etot, PatternQuantity::ETot, false, 10, 3.0).back());
    const double at3m = 20 * std::log10(etot / 3.0 / 1e-6);
    QCOMPARE(LabelText(page, "FieldStrength"),
             QString("At 3 m: %1 dBuV/m (max)").arg(at3m, 0, 'f', 2));
    // Ten times the distance: 20 dB less, typed into the field.
    const auto typeDistance = [page](const QString& metres) {
      QLineEdit* distance = Child<QLineEdit>(page, "FieldDistance");
      distance->selectAll();
      QTest::keyClicks(distance, metres);
      QTest::keyClick(distance, Qt::Key_Return);
    };
    typeDistance("30");
    QCOMPARE(LabelText(page, "FieldStrength"),
             QString("At 30 m: %1 dBuV/m (max)").arg(at3m - 20, 0, 'f', 2));
    // Logarithmic rings in dBuV/m at that distance, a division (10 dB) apart.
    Child<QToolButton>(page, "LinLog")->click();
    QCOMPARE(page->Curve().RingLabels.back(),
             FormatDb(FieldStrengthDbuVPerM(etot, 30.0), 1) + " dBuV/m");
    QCOMPARE(page->Curve().RingLabels.front(),
             FormatDb(FieldStrengthDbuVPerM(etot, 30.0) - 40, 1) + " dBuV/m");
    // A distance that is no length is said so, and the rings fall back to dBV.
    typeDistance("-1");
    QCOMPARE(LabelText(page, "FieldStrength"), QString("Distance must be a positive number"));
    QVERIFY(QString::fromStdString(page->Curve().RingLabels.back()).endsWith(" dBV"));
    // The power gain is relative to isotropic: dBi, and no distance.
    Child<QToolButton>(page, "Gain")->click();
    QVERIFY(QString::fromStdString(page->Curve().RingLabels.back()).endsWith(" dBi"));
    QCOMPARE(LabelText(page, "FieldStrength"), QString("Distance must be a positive number"));
    typeDistance("3");
    QCOMPARE(LabelText(page, "FieldStrength"), QString(""));
    Child<QToolButton>(page, "ETot")->click();
    // No text lies over the diagram.
    const QRect canvas = page->Canvas()->geometry();
    for (const char* name : {"PlotFrequency", "Scale", "Maximum", "CutSelection", "Selection",
                             "FieldStrength", "AngleNote"})
      QVERIFY2(!Child<QLabel>(page, name)->geometry().intersects(canvas), name);
  }

  void DbDialogRoundsAndChecksTheSpecialValue() {
    Session s(100, 20);
    s.window->Pages()->setCurrentIndex(4);
    PatternPage* page = s.window->Pattern();
    s.window->Options().DbPerDivision = 2.4;
    bool twoChecked = false;
    OnNextDialog<DbScaleDialog>([&](DbScaleDialog* d) {
      twoChecked = Child<QRadioButton>(d, "RadioButton3")->isChecked();
      Click(d, "OKBtn");
    });
    page->ChooseDbScale();
    QVERIFY(twoChecked);
    QCOMPARE(s.window->Options().DbPerDivision, 2.0);

    s.hook.Clear();
    bool stayedOpen = false;
    OnNextDialog<DbScaleDialog>([&](DbScaleDialog* d) {
      Fill(d, {{"RadioButton5", Clicked}, {"special", "25"}, {"OKBtn", Clicked}});
      stayedOpen = d->isVisible();
      Fill(d, {{"special", "0.01"}, {"OKBtn", Clicked}, {"special", "3.5"}, {"OKBtn", Clicked}});
    });
    page->ChooseDbScale();
    QVERIFY(stayedOpen);
    QCOMPARE(s.hook.messages,
             (std::vector<std::string>{"Error: Out of range! dB:s per division must be smaller than 25",
                                       "Error: Out of range! dB:s per division must be greater than 0.01"}));
    QCOMPARE(s.window->Options().DbPerDivision, 3.5);
    // In log mode the scale label follows the new value.
    Child<QToolButton>(page, "LinLog")->click();
    QCOMPARE(LabelText(page, "Scale"), QString("Scale: Logarithmic, 3.5 [dB/div]"));
    bool specialShown = false;
    OnNextDialog<DbScaleDialog>([&](DbScaleDialog* d) {
      specialShown = Child<QRadioButton>(d, "RadioButton5")->isChecked() &&
                     Child<QLineEdit>(d, "special")->text() == "3.5";
      Click(d, "CancelBtn");
    });
    page->ChooseDbScale();
    QVERIFY(specialShown);
  }

};

QTEST_MAIN(PatternTest)
#include "pattern_test.moc"
