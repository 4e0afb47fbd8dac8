// A computed dipole for the tests of the result pages: two traces drawn with the
// mouse on a 100 x 20 mm board, fed at the gap, computed at one frequency with the
// far field, so that the result files of a real run lie in the session directory.
#pragma once

namespace lumetra::gui {
class MainWindow;
}

namespace lumetra::gui::testing {

// Draws the two traces and the 1 V source on the last Jx element of the first.
void DrawDipole(MainWindow& window);

// Draws and computes; the far field over the default grid (theta 0..90 step 2,
// phi 0..360 step phiStep). Returns false when the run did not complete.
bool ComputeDipoleWithFarField(MainWindow& window, const char* frequencyMHz = "1800",
                               const char* phiStep = "18");

}  // namespace lumetra::gui::testing
