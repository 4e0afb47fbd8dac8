#include "editor/layout_painting.h"

#include <QFontMetrics>

namespace lumetra::gui {

void PaintDrawSteps(QPainter& p, const std::vector<DrawStep>& steps, const LayoutStyle& style,
                    int dotRadius) {
  p.setFont(style.Font);
  const QPen black(Qt::black, 0);
  for (const DrawStep& s : steps) {
    const QColor colour = style.ColourOf(s.Role);
    // Rectangles and ellipses cover X1..X2-1 and Y1..Y2-1 like the board's pixels.
    const QRect box(QPoint(s.X1, s.Y1), QPoint(s.X2 - 1, s.Y2 - 1));
    switch (s.Kind) {
      case DrawKind::Outline:
        p.fillRect(box, Qt::white);
        p.setPen(black);
        p.setBrush(Qt::NoBrush);
        p.drawRect(box.adjusted(0, 0, -1, -1));
        break;
      case DrawKind::FilledRect:
        p.fillRect(box, colour);
        p.setPen(black);
        p.setBrush(Qt::NoBrush);
        p.drawRect(box.adjusted(0, 0, -1, -1));
        break;
      case DrawKind::Ellipse:
        p.setPen(black);
        p.setBrush(colour);
        p.drawEllipse(box);
        break;
      case DrawKind::Line:
        p.setPen(QPen(colour, 0));
        p.drawLine(s.X1, s.Y1, s.X2, s.Y2);
        break;
      case DrawKind::Pixel:
        if (dotRadius > 0) {
          p.setPen(Qt::NoPen);
          p.setBrush(colour);
          p.drawEllipse(QPoint(s.X1, s.Y1), dotRadius, dotRadius);
        } else {
          p.setPen(QPen(colour, 0));
          p.drawPoint(s.X1, s.Y1);
        }
        break;
      case DrawKind::Text: {
        const QString label = QString::fromStdString(s.Label);
        if (s.Centred) {
          const QFontMetrics metrics = p.fontMetrics();
          const int width = metrics.horizontalAdvance(label), height = metrics.height();
          const QRect place(s.X2 - width / 2, s.Y2 - height / 2, width, height);
          // The board colour behind a segment number keeps the element lines from
          // running through its digits.
          if (s.Backed) p.fillRect(place.adjusted(-1, 0, 1, 0), Qt::white);
          p.setPen(s.WhiteText ? QColor(Qt::white) : colour);
          p.drawText(place, Qt::AlignCenter | Qt::TextDontClip, label);
        } else {
          p.setPen(s.WhiteText ? QColor(Qt::white) : colour);
          p.drawText(QRect(s.X1, s.Y1, 1000, 1000),
                     Qt::AlignLeft | Qt::AlignTop | Qt::TextDontClip, label);
        }
        break;
      }
    }
  }
}

}  // namespace lumetra::gui
