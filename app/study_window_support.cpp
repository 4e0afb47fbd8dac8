#include "app/study_window_support.h"

#include <QFileInfo>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <filesystem>

#include "app/computation_page.h"
#include "app/file_chooser.h"
#include "app/main_window.h"
#include "app/qt_user_interface.h"

namespace lumetra::gui {

std::optional<std::string> ChooseSaveName(QWidget* parent, const QString& title,
                                          const QString& filters, const std::string& defaultExtension) {
  const QString chosen = ChooseFileToSave(parent, title, filters);
  if (chosen.isEmpty()) return std::nullopt;
  std::string path = S(chosen);
  if (QFileInfo(chosen).suffix().isEmpty()) path += "." + defaultExtension;
  return path;
}

bool MayWrite(UserInterface& ui, const std::string& path) {
  std::error_code error;
  if (!std::filesystem::exists(path, error)) return true;
  return ui.AskYesNo("File \"" + std::filesystem::path(path).filename().string() + "\" already exist.  Overwrite?");
}

StudyChartView::StudyChartView(const QString& hint, QWidget* parent) : QWidget(parent), hint_(hint) {
  setMinimumSize(480, 300);
  setAttribute(Qt::WA_OpaquePaintEvent);
}

void StudyChartView::Show(ChartPainting draw) {
  draw_ = std::move(draw);
  update();
}

void StudyChartView::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  if (draw_) {
    draw_(painter, QRectF(rect()));
    return;
  }
  painter.fillRect(rect(), Qt::white);
  painter.setPen(Qt::gray);
  painter.drawText(rect(), Qt::AlignCenter, hint_);
}

StudyRunScope::StudyRunScope(MainWindow& main, QPushButton* abort, QLabel* progress)
    : main_(main), abort_(abort), mirrored_(main.Ui(), progress), control_(mirrored_) {
  ++active_;
  main_.Ui().ClearAbort();
  abort_->show();
  abort_->setEnabled(true);
  if (main_.Computation()) main_.Computation()->setEnabled(false);
  progress->setText("Computing...");
}

StudyRunScope::~StudyRunScope() {
  --active_;
  main_.Ui().ClearAbort();
  abort_->hide();
  if (main_.Computation()) main_.Computation()->setEnabled(true);
}

QPushButton* NamedButton(const QString& text, const char* name, QWidget* parent) {
  auto* button = new QPushButton(text, parent);
  button->setObjectName(name);
  return button;
}

RunButtons MakeRunButtons(QWidget* parent) {
  RunButtons buttons{NamedButton("Compute", "Compute", parent), NamedButton("Abort", "Abort", parent)};
  buttons.Abort->hide();
  return buttons;
}

}  // namespace lumetra::gui
