// The picture of a layout as a list of drawing steps in board-area pixels.
//
// The desktop view paints these steps and the printed layout can reuse them; the
// positions, roundings and the order of drawing live here, headless, so that they
// can be checked without a screen. Colours are named by role; which colour a role
// has is the view's choice (the user can change them).
#pragma once

#include <string>
#include <vector>

#include "model/project.h"

namespace lumetra {

enum class DrawRole { Black, Jx, Jy, VoltageSource, Impedance, GroundPoint };

enum class DrawKind {
    Outline,     // rectangle X1,Y1 .. X2,Y2 (right and bottom exclusive), pen Black,
                 // filled with the background
    FilledRect,  // rectangle filled in the role's colour, outlined in Black
    Ellipse,     // filled in the role's colour within X1,Y1 .. X2,Y2, outlined in Black
    Line,        // from X1,Y1 to X2,Y2 in the role's colour
    Pixel,       // the single pixel X1,Y1 in the role's colour
    Text,        // Label with its top-left corner at X1,Y1, in the role's colour
                 // (VoltageSource and Impedance numbers are written in white)
};

struct DrawStep {
  DrawKind Kind = DrawKind::Line;
  DrawRole Role = DrawRole::Black;
  int X1 = 0, Y1 = 0, X2 = 0, Y2 = 0;
  std::string Label;
  bool WhiteText = false;  // for Text: white on a filled marker
  // For Text: the label belongs to the point X2,Y2 and is centred on it, whatever
  // the font (X1,Y1 is where a label in an 8-pixel font would start).
  bool Centred = false;
  // For Text: a backing of the board colour behind the label, so that element
  // lines drawn under it never strike it through (segment numbers).
  bool Backed = false;
};

struct LayoutDisplay {
  bool ShowCharges = false;   // charge-cell boundaries
  bool ShowJx = false;        // Jx element outlines
  bool ShowJy = false;        // Jy element outlines
  bool ShowSegmentNumbers = true;
  // How far above its centre a ground point's number starts, in drawing pixels:
  // close on the screen, higher on a printed page where the circle is larger.
  int GroundNumberRise = 5;
};

// Everything the layout view shows, in drawing order: board outline, grid points,
// segments, charge cells, Jx and Jy elements, the segment numbers (over the element
// lines), voltage sources, impedance elements and ground points with their numbers.
std::vector<DrawStep> DrawLayout(const Project& project, const LayoutDisplay& display,
                                 double scale);

// The connecting elements of the project's .JXC and .JYC as filled rectangles (Jx
// then Jy). Nothing when the project is not connected; throws FileError when the
// files cannot be read.
std::vector<DrawStep> DrawConnectingElements(const Project& project, double scale);

}  // namespace lumetra
