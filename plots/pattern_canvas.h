// The paint area of the radiation-pattern page: the polar grid in a square
// centred in the area and, when there is one, the curve of the chosen cut.
#pragma once

#include <QColor>
#include <QWidget>
#include <string>
#include <vector>

#include "plots/pattern_data.h"

class QPainter;

namespace lumetra::gui {

// What the curve needs: radial positions in units and pixels per unit for Rmax = 1.
// The ring labels (inner to outer) and the mark at angle 0 go with the curve.
struct PatternCurve {
  std::vector<PatternPoint> Points;
  ScaledCut Scaled;
  std::vector<std::string> RingLabels;
  std::string ZeroMark;
};

// Draws grid and curve into a width x height area (the widget, or a printed page).
void PaintPattern(QPainter& painter, int width, int height, const PatternCurve* curve,
                  const QColor& gridColor, const QColor& curveColor);

class PatternCanvas : public QWidget {
  Q_OBJECT
public:
  explicit PatternCanvas(QWidget* parent);

  void SetCurve(const PatternCurve* curve) {
    curve_ = curve;
    update();
  }
  QColor GridColor = Qt::blue;
  QColor CurveColor = Qt::red;

protected:
  void paintEvent(QPaintEvent* event) override;

private:
  const PatternCurve* curve_ = nullptr;
};

}  // namespace lumetra::gui
