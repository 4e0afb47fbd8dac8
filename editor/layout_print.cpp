#include "editor/layout_print.h"

#include <QFontDatabase>
#include <QFontMetrics>
#include <algorithm>
#include <cmath>

#include "editor/layout_painting.h"
#include "model/file_io.h"
#include "model/layout_drawing.h"
#include "model/project_listing.h"

namespace lumetra::gui {

namespace {

// Printer pixels are device pixels; distances meant for a 600-dpi page are scaled
// to the printer's resolution so the page looks the same on any device.
int PrinterPixels(const QPrinter& printer, int at600Dpi) {
  return std::max(1, static_cast<int>(std::lround(at600Dpi * printer.resolution() / 600.0)));
}

void PrintDrawing(QPrinter& printer, QPainter& painter, const Project& project,
                  const LayoutStyle& style, UserInterface& ui) {
  // The board fills the landscape page as far as its proportions allow. (The scale
  // comes from the page the drawing is actually made on; taken from the portrait
  // page it would cut off the lower part of a tall board.)
  const double scale = std::min(double(printer.width()) / std::max(1, project.PcbLx),
                                double(printer.height()) / std::max(1, project.PcbLy));
  LayoutDisplay display;
  display.ShowJx = true;
  display.ShowJy = true;
  display.ShowSegmentNumbers = true;
  display.GroundNumberRise = PrinterPixels(printer, 30);
  const int dot = PrinterPixels(printer, 4);
  PaintDrawSteps(painter, DrawLayout(project, display, scale), style, dot);
  try {
    PaintDrawSteps(painter, DrawConnectingElements(project, scale), style, dot);
  } catch (const FileError& error) {
    ui.ShowMessage(error.what());
  }
}

// The listing as plain text in a fixed-pitch font, so the number columns line up;
// a page full of lines continues on the next.
void PrintListing(QPrinter& printer, QPainter& painter, const Project& project) {
  QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
  font.setPointSize(9);
  painter.setFont(font);
  painter.setPen(Qt::black);
  const QFontMetrics metrics(font, &printer);
  const int margin = PrinterPixels(printer, 150);
  const int step = metrics.lineSpacing();
  int y = margin + metrics.ascent();
  for (const std::string& line : ProjectListingLines(project)) {
    if (y > printer.height() - margin) {
      printer.newPage();
      y = margin + metrics.ascent();
    }
    painter.drawText(margin, y, QString::fromStdString(line));
    y += step;
  }
}

}  // namespace

void PrintLayout(QPrinter& printer, const Project& project, const LayoutStyle& style,
                 UserInterface& ui) {
  const QPageLayout::Orientation before = printer.pageLayout().orientation();
  printer.setPageOrientation(QPageLayout::Landscape);
  QPainter painter;
  if (!painter.begin(&printer)) {
    printer.setPageOrientation(before);
    ui.ShowMessage("Printing failed");
    return;
  }
  PrintDrawing(printer, painter, project, style, ui);
  // The listing follows on portrait pages of the same document.
  printer.setPageOrientation(QPageLayout::Portrait);
  printer.newPage();
  PrintListing(printer, painter, project);
  painter.end();
  printer.setPageOrientation(before);
}

}  // namespace lumetra::gui
