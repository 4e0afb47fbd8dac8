// The bundled L-shaped trace over its ground plane, computed in the desktop
// program and looked at on every result page, as an engineer would after a run
// (the list windows are the field commands tests'). With LUMETRA_TEST_PICTURES
// set, each view is kept as a picture for a look.
#include <QAbstractButton>

#include "fields/result_files.h"
#include "fields/result_readers.h"
#include "plots/current_plot_page.h"
#include "plots/cut_dialog.h"
#include "plots/paint_area.h"
#include "plots/pattern_page.h"
#include "plots/vector_plot_page.h"
#include "tests/gui/gui_test_support.h"

namespace {

// Non-background pixels of a view: something was drawn.
int InkedPixels(const QImage& image) {
  const QRgb background = image.pixel(0, 0);
  int n = 0;
  for (int y = 0; y < image.height(); y += 2)
    for (int x = 0; x < image.width(); x += 2)
      if (image.pixel(x, y) != background) ++n;
  return n;
}

QImage Look(QWidget* view, const QString& name) {
  QApplication::processEvents();
  const QImage image = view->grab().toImage();
  KeepPicture(image, name);
  return image;
}

}  // namespace

class GroundPlaneTourTest : public QObject {
  Q_OBJECT
private slots:
  void TheLShapeOverItsGroundPlaneOnEveryPage() {
    Session s;
    MainWindow& w = *s.window;
    QVERIFY(!OpenExample(s, "lshape").isEmpty());
    Look(&w, "tour_layout");

    // 500 MHz, source and load of the project, the ground plane stored with it.
    ComputationPage* page = w.Computation();
    w.Pages()->setCurrentIndex(1);
    QVERIFY(Child<QCheckBox>(page, "GroundPlane")->isChecked());
    Fill(page, {{"SingFreq", Clicked}, {"ExcFile", Clicked}, {"ImpFile", Clicked}, {"Frequency", "500"}});
    if (!Child<QCheckBox>(page, "FarField")->isChecked()) Click(page, "FarField");
    Fill(page, {{"ThetaStep", "5"}, {"PhiStep", "15"}});
    const ComputationReport report = page->Compute();
    QVERIFY(report.Started && !report.Aborted);
    Look(&w, "tour_computation");
    // The vector plot reads the element files of the saved project.
    w.Action("Save")->trigger();
    QVERIFY(w.CurrentProject().Saved);

    // Over a perfectly conducting plane the image of a horizontal current cancels
    // its tangential field along the plane: E_phi vanishes at the horizon
    // (theta = 90) while the vertical field of the ground point and the images
    // survives there. So |E_phi| at theta = 90 is a small fraction of the largest
    // field anywhere.
    const std::optional<ResultBlock> far =
        FindBlock(std::filesystem::path(s.PathOf("lshape/lshape.RAD").toStdString()), 500.0,
                  FarFieldFileFields);
    QVERIFY(far.has_value());
    double largest = 0.0, ePhiAtHorizon = 0.0, eThetaAtHorizon = 0.0;
    for (std::size_t r = 0; r < far->Rows(); ++r) {
      const double* row = far->Row(r);  // theta, phi, |E_theta|, |E_phi|
      largest = std::max({largest, std::abs(row[2]), std::abs(row[3])});
      if (row[0] == 90.0) {
        ePhiAtHorizon = std::max(ePhiAtHorizon, std::abs(row[3]));
        eThetaAtHorizon = std::max(eThetaAtHorizon, std::abs(row[2]));
      }
    }
    QVERIFY(largest > 0.0);
    QVERIFY2(ePhiAtHorizon < 1e-6 * largest, qPrintable(QString::number(ePhiAtHorizon / largest)));
    QVERIFY(eThetaAtHorizon > 1e-3 * largest);

    // One frequency: every page shows its result without asking for it.
    s.hook.Clear();
    w.Pages()->setCurrentIndex(2);
    QVERIFY(InkedPixels(Look(w.CurrentPlot()->Canvas(), "tour_current3d")) > 500);
    w.Pages()->setCurrentIndex(3);
    // Longer arrows, as one would look at them.
    for (int i = 0; i < 15; ++i)
      QTest::mouseClick(Child<QAbstractButton>(w.VectorPlot(), "SpeedButton15"), Qt::LeftButton);
    QVERIFY(InkedPixels(Look(w.VectorPlot(), "tour_vector")) > 500);
    w.Pages()->setCurrentIndex(4);
    OnNextDialog<CutDialog>([](CutDialog* d) {
      Click(d, "PhiCut");
      Child<QListWidget>(d, "ListBoxPhi")->setCurrentRow(0);
      Click(d, "OKBtn");
    });
    w.Pattern()->ChooseCut();
    QVERIFY(!w.Pattern()->Curve().Points.empty());
    Look(w.Pattern(), "tour_pattern");
    QVERIFY2(s.hook.messages.empty(), s.hook.messages.front().c_str());
  }
};

QTEST_MAIN(GroundPlaneTourTest)
#include "ground_plane_tour_test.moc"
