// The board area: a widget that keeps the layout drawing in an off-screen image, so
// that exposure and resizing show the last drawing at once, and draws the rubber
// band of a segment being drawn and the outlines of the selected items on top of it.
#pragma once

#include <QImage>
#include <QRect>
#include <QWidget>
#include <optional>
#include <vector>

#include "editor/layout_style.h"
#include "model/layout_drawing.h"

namespace lumetra::gui {

class LayoutCanvas : public QWidget {
  Q_OBJECT
public:
  explicit LayoutCanvas(const LayoutStyle& style, QWidget* parent = nullptr);

  // Clears the image to the board area's size and paints the steps.
  void Repaint(const std::vector<DrawStep>& steps);
  // Paints more steps over what is there (kept until the next Repaint).
  void PaintOver(const std::vector<DrawStep>& steps);

  // An outline around a selected item: its box in board-area pixels, round for a
  // ground point.
  struct Highlight {
    QRect Box;
    bool Round = false;
  };
  void SetHighlights(std::vector<Highlight> highlights);
  const std::vector<Highlight>& Highlights() const { return highlights_; }
  static QColor HighlightColour();

  void SetRubberBand(const QRect& band);
  void ClearRubberBand();
  std::optional<QRect> RubberBand() const { return band_; }

  // The drawing as it is now, for checks and pictures.
  const QImage& Image() const { return image_; }

signals:
  void MousePressed(QPoint position, Qt::MouseButton button, Qt::KeyboardModifiers modifiers);
  void MouseDoubleClicked(QPoint position, Qt::MouseButton button);
  void MouseMoved(QPoint position);
  void MouseReleased(QPoint position, Qt::MouseButton button);
  void MenuRequested(QPoint globalPosition);
  // The wheel turned by `angle` eighths of a degree (one notch is 120) over position.
  void WheelTurned(QPoint position, int angle);

protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;

private:
  void Paint(const std::vector<DrawStep>& steps);

  const LayoutStyle& style_;
  QImage image_;
  std::optional<QRect> band_;
  std::vector<Highlight> highlights_;
};

}  // namespace lumetra::gui
