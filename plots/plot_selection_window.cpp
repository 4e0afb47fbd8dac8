#include "plots/plot_selection_window.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace lumetra::gui {

PlotSelectionWindow::PlotSelectionWindow(QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::WindowStaysOnTopHint) {
  setObjectName("SegSelection");
  setWindowTitle("Plot selection");
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(new QLabel("Segment number:", this));
  box_ = new QListWidget(this);
  box_->setObjectName("Box");
  // Two columns: the entries flow down and wrap into the next column.
  box_->setFlow(QListView::TopToBottom);
  box_->setWrapping(true);
  box_->setResizeMode(QListView::Adjust);
  layout->addWidget(box_);
  auto* buttons = new QHBoxLayout;
  auto* all = new QPushButton("Select all", this);
  all->setObjectName("SelectAll");
  auto* none = new QPushButton("Unselect all", this);
  none->setObjectName("UnselectAll");
  buttons->addWidget(all);
  buttons->addWidget(none);
  layout->addLayout(buttons);
  connect(all, &QPushButton::clicked, this, [this] { SetAll(true); });
  connect(none, &QPushButton::clicked, this, [this] { SetAll(false); });
  connect(box_, &QListWidget::itemChanged, this, &PlotSelectionWindow::SelectionChanged);
  resize(180, 260);
}

void PlotSelectionWindow::Fill(int count) {
  const QSignalBlocker block(box_);
  box_->clear();
  for (int i = 1; i <= count; ++i) {
    auto* item = new QListWidgetItem(QString::number(i), box_);
    item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
    item->setCheckState(Qt::Checked);
  }
}

bool PlotSelectionWindow::IsChecked(int segment) const {
  if (segment < 1 || segment > box_->count()) return false;
  return box_->item(segment - 1)->checkState() == Qt::Checked;
}

void PlotSelectionWindow::SetAll(bool checked) {
  {
    const QSignalBlocker block(box_);
    for (int i = 0; i < box_->count(); ++i)
      box_->item(i)->setCheckState(checked ? Qt::Checked : Qt::Unchecked);
  }
  emit SelectionChanged();
}

}  // namespace lumetra::gui
