#include "app/result_list_window.h"

#include <QFontDatabase>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "editor/help_link.h"
#include "fields/result_lists_print.h"
#include "model/file_io.h"

namespace lumetra::gui {

namespace {

struct ListButton {
  ListKind kind;
  const char* name;
  const char* caption;
};

std::vector<ListButton> ButtonsOf(ListWindowKind kind) {
  switch (kind) {
    case ListWindowKind::Current:
      return {{ListKind::Jx, "ListJx", "List J&x"},
              {ListKind::Jy, "ListJy", "List J&y"},
              {ListKind::Jz, "ListJz", "List J&z"}};
    case ListWindowKind::FarField:
      return {{ListKind::FarField, "ListRad", "List"}};
    case ListWindowKind::NearField:
      return {{ListKind::ElectricField, "ListE", "List E"},
              {ListKind::MagneticField, "ListH", "List H"}};
  }
  return {};
}

}  // namespace

ResultListWindow::ResultListWindow(ListWindowKind kind, UserInterface& ui,
                                   std::function<std::filesystem::path()> projectFile,
                                   QWidget* parent)
    : QDialog(parent), kind_(kind), ui_(ui), projectFile_(std::move(projectFile)) {
  const std::vector<ListButton> listButtons = ButtonsOf(kind);
  for (const ListButton& entry : listButtons) kinds_.push_back(entry.kind);
  setObjectName(kind == ListWindowKind::Current    ? "CurrentListBox"
                : kind == ListWindowKind::FarField ? "RadListBox"
                                                   : "NearFieldList");
  setWindowTitle(QString::fromUtf8(ListWindowCaption(kinds_.front()).data()));
  title_ = new QLabel(this);
  title_->setObjectName("Title");
  grid_ = new QTableWidget(this);
  grid_->setObjectName("StringGrid1");
  grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  grid_->horizontalHeader()->hide();
  grid_->verticalHeader()->hide();
  // Dense rows, as a list of a thousand lines wants.
  grid_->verticalHeader()->setDefaultSectionSize(grid_->fontMetrics().height() + 4);

  auto* buttons = new QHBoxLayout;
  for (const ListButton& entry : listButtons) {
    auto* button = new QPushButton(entry.caption, this);
    button->setObjectName(entry.name);
    button->setAutoDefault(false);
    connect(button, &QPushButton::clicked, this, [this, k = entry.kind] { List(k); });
    buttons->addWidget(button);
  }
  // The frequency is the one chosen last for the result pages and lists; this
  // lists the same again at another.
  auto* frequency = new QPushButton("Frequency...", this);
  frequency->setObjectName("FrequencyBtn");
  frequency->setAutoDefault(false);
  connect(frequency, &QPushButton::clicked, this,
          [this] { List(lastKind_.value_or(kinds_.front()), true); });
  buttons->addWidget(frequency);
  print_ = new QPushButton("Print", this);
  print_->setObjectName("PrintBtn");
  print_->setAutoDefault(false);
  connect(print_, &QPushButton::clicked, this, &ResultListWindow::Print);
  auto* close = new QPushButton("Close", this);
  close->setObjectName("CloseBtn");
  close->setAutoDefault(false);
  connect(close, &QPushButton::clicked, this, &QDialog::close);
  auto* help = new QPushButton("Help", this);
  help->setObjectName("HelpBtn");
  help->setAutoDefault(false);
  ConnectHelpButton(help, 0);
  for (QPushButton* b : {print_, close, help}) buttons->addWidget(b);
  buttons->addStretch();

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(title_);
  layout->addWidget(grid_);
  layout->addLayout(buttons);
  resize(kind == ListWindowKind::NearField ? 640 : 560, 420);
  Activate();
}

void ResultListWindow::Activate() {
  listed_.reset();
  lastKind_.reset();
  title_->clear();
  const std::vector<std::string> header = ListHeader(kinds_.front());
  grid_->clear();
  grid_->setRowCount(2);
  grid_->setColumnCount(static_cast<int>(header.size()));
  for (int c = 0; c < grid_->columnCount(); ++c)
    grid_->setItem(0, c, new QTableWidgetItem(QString::fromStdString(header[c])));
  // Column widths in pixels as the windows have always had them.
  const int defaultWidth = kind_ == ListWindowKind::Current    ? 50
                           : kind_ == ListWindowKind::FarField ? 80
                                                               : 59;
  grid_->horizontalHeader()->setDefaultSectionSize(defaultWidth);
  for (int c = 0; c < grid_->columnCount(); ++c) grid_->setColumnWidth(c, defaultWidth);
  if (kind_ == ListWindowKind::Current) {
    grid_->setColumnWidth(1, 80);
    grid_->setColumnWidth(2, 80);
  } else if (kind_ == ListWindowKind::FarField) {
    grid_->setColumnWidth(0, 50);
  } else {
    for (int c = 0; c < 3; ++c) grid_->setColumnWidth(c, 45);
  }
  FitColumnsToText();
  print_->setEnabled(false);
}

void ResultListWindow::FitColumnsToText() {
  // The widths above were chosen for a smaller font; a column whose header or
  // numbers need more room grows, so no text is shown cut short, before the first
  // listing as after it.
  for (int c = 0; c < grid_->columnCount(); ++c) {
    const int chosen = grid_->columnWidth(c);
    grid_->resizeColumnToContents(c);
    grid_->setColumnWidth(c, std::max(chosen, grid_->columnWidth(c)));
  }
}

void ResultListWindow::List(ListKind kind, bool askAgain) {
  const std::filesystem::path project = projectFile_ ? projectFile_() : std::filesystem::path();
  if (project.empty()) return;
  lastKind_ = kind;
  const FrequencyChooser choose =
      chooser_ ? chooser_(DialogModeOf(kind), askAgain) : FrequencyChooser();
  try {
    const std::optional<ResultList> list = BuildResultList(project, kind, ui_, choose);
    if (list) ShowList(*list);
  } catch (const FileError& error) {
    ui_.ShowMessage(error.what());
  }
}

void ResultListWindow::ShowList(const ResultList& list) {
  const std::vector<std::string> header = list.Header;
  grid_->setRowCount(static_cast<int>(list.Rows.size()) + 1);
  grid_->setColumnCount(static_cast<int>(header.size()));
  for (int c = 0; c < grid_->columnCount(); ++c)
    grid_->setItem(0, c, new QTableWidgetItem(QString::fromStdString(header[c])));
  for (std::size_t r = 0; r < list.Rows.size(); ++r)
    for (std::size_t c = 0; c < list.Rows[r].size(); ++c)
      grid_->setItem(static_cast<int>(r) + 1, static_cast<int>(c),
                     new QTableWidgetItem(QString::fromStdString(list.Rows[r][c])));
  FitColumnsToText();
  title_->setText(QString::fromStdString(list.Title));
  listed_ = list;
  print_->setEnabled(true);
}

void ResultListWindow::Print() {
  if (!listed_) return;
  QPrinter own;
  QPrinter& printer = printer_ ? *printer_ : own;
  QPrintDialog dialog(&printer, this);
  if (dialog.exec() != QDialog::Accepted) return;
  PrintTo(printer);
}

void ResultListWindow::PrintTo(QPrinter& printer) const {
  if (!listed_) return;
  const std::filesystem::path project = projectFile_ ? projectFile_() : std::filesystem::path();
  const QStringList lines =
      QString::fromStdString(FormatListPrintout(*listed_, project)).split('\n');
  QPainter painter(&printer);
  // A fixed-pitch font keeps the blank-padded columns aligned, as on a line printer.
  QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
  font.setPointSize(9);
  painter.setFont(font);
  const QFontMetrics metrics(painter.font());
  const int lineHeight = metrics.lineSpacing();
  const int pageHeight = painter.viewport().height();
  int y = metrics.ascent();
  for (const QString& line : lines) {
    if (y > pageHeight) {
      printer.newPage();
      y = metrics.ascent();
    }
    painter.drawText(0, y, line);
    y += lineHeight;
  }
}

}  // namespace lumetra::gui
