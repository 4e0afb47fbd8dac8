#include "app/splash.h"

#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QTimer>
#include <QVBoxLayout>

namespace lumetra::gui {

QPixmap ProgramPicture(int size) {
  QPixmap pixmap(size, size);
  pixmap.fill(QColor(0, 90, 50));  // a board
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  const double u = size / 32.0;
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(214, 160, 60));  // copper traces
  p.drawRect(QRectF(4 * u, 20 * u, 18 * u, 2 * u));
  p.drawRect(QRectF(20 * u, 8 * u, 2 * u, 14 * u));
  p.drawRect(QRectF(20 * u, 8 * u, 8 * u, 2 * u));
  p.setBrush(QColor(0, 0, 255));
  p.drawRect(QRectF(4 * u, 19.5 * u, 3 * u, 3 * u));  // the source
  p.setBrush(Qt::NoBrush);
  p.setPen(QPen(QColor(255, 255, 255, 200), 0.8 * u));
  for (int k = 1; k <= 3; ++k)  // the wave it radiates
    p.drawArc(QRectF((21 - 3 * k) * u, (9 - 3 * k) * u, 6 * k * u, 6 * k * u), 30 * 16,
              60 * 16);
  return pixmap;
}

QWidget* ShowSplash() {
  // Above the main window, which appears while the splash is up.
  auto* splash = new QWidget(nullptr, Qt::SplashScreen | Qt::FramelessWindowHint |
                                          Qt::WindowStaysOnTopHint);
  splash->setObjectName("Splash");
  splash->setAttribute(Qt::WA_DeleteOnClose);
  auto* layout = new QVBoxLayout(splash);
  auto* picture = new QLabel(splash);
  picture->setPixmap(ProgramPicture(160));
  picture->setAlignment(Qt::AlignCenter);
  auto* title = new QLabel("Lumetra  Version 3.01", splash);
  title->setObjectName("SplashTitle");
  title->setAlignment(Qt::AlignCenter);
  QFont font = title->font();
  font.setPointSize(font.pointSize() + 4);
  font.setBold(true);
  title->setFont(font);
  layout->addWidget(picture);
  layout->addWidget(title);
  splash->setStyleSheet("background: white;");
  splash->show();
  QTimer::singleShot(SplashMilliseconds, splash, &QWidget::close);
  return splash;
}

}  // namespace lumetra::gui
