#include "tests/gui/gui_dipole.h"

#include "tests/gui/gui_test_support.h"

namespace lumetra::gui::testing {

void DrawDipole(MainWindow& w) {
  PressLayoutButton(w, "AddSegment");
  Drag(w, PixelOf(w, 10, 12), PixelOf(w, 50, 10));
  Drag(w, PixelOf(w, 50, 12), PixelOf(w, 90, 10));
  PressLayoutButton(w, "VoltGen");
  FillNextDialog({{"ReVolt", "1"}});
  ClickBoard(w, PixelOf(w, 48.4, 11));
  PressLayoutButton(w, "VoltGen");
}

bool ComputeDipoleWithFarField(MainWindow& w, const char* frequencyMHz, const char* phiStep) {
  DrawDipole(w);
  ComputationPage* page = w.Computation();
  w.Pages()->setCurrentIndex(1);
  Fill(page, {{"NoLoad", Clicked}, {"Frequency", frequencyMHz}, {"PhiStep", phiStep}});
  if (!Child<QCheckBox>(page, "FarField")->isChecked()) Click(page, "FarField");
  const ComputationReport report = page->Compute();
  return report.Started && !report.Aborted;
}

}  // namespace lumetra::gui::testing
