#include "app/port_results_panel.h"

#include <QApplication>
#include <QClipboard>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QVBoxLayout>
#include <filesystem>
#include <fstream>

#include "app/file_chooser.h"
#include "editor/hints.h"
#include "model/user_interface.h"

namespace lumetra::gui {

namespace {

QTableWidget* NewTable(QWidget* parent, std::int32_t source) {
  auto* table = new QTableWidget(parent);
  table->setObjectName(QString("PortTable%1").arg(source));
  const std::vector<std::string> titles = PortColumnTitles();
  table->setColumnCount(static_cast<int>(titles.size()));
  QStringList headers;
  for (const std::string& title : titles) headers << QString::fromStdString(title);
  table->setHorizontalHeaderLabels(headers);
  table->verticalHeader()->hide();
  table->setEditTriggers(QAbstractItemView::NoEditTriggers);
  table->setSelectionBehavior(QAbstractItemView::SelectRows);
  table->horizontalHeader()->setStretchLastSection(true);
  return table;
}

}  // namespace

PortResultsPanel::PortResultsPanel(UserInterface& ui, QWidget* parent)
    : QGroupBox("Port results (reference 50 ohm)", parent), ui_(ui) {
  setObjectName("PortResults");
  tabs_ = new QTabWidget(this);
  tabs_->setObjectName("PortSources");
  copy_ = new QPushButton("Copy", this);
  copy_->setObjectName("CopyPortResults");
  SetHint(copy_, "Copy the port results to the clipboard as comma-separated values");
  save_ = new QPushButton("Save as CSV...", this);
  save_->setObjectName("SavePortResults");
  SetHint(save_, "Save the port results in a CSV file");
  copy_->setEnabled(false);
  save_->setEnabled(false);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(copy_);
  buttons->addWidget(save_);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(tabs_);
  layout->addLayout(buttons);
  connect(copy_, &QPushButton::clicked, this, &PortResultsPanel::CopyToClipboard);
  connect(save_, &QPushButton::clicked, this, &PortResultsPanel::SaveCsv);
}

void PortResultsPanel::Show(const std::vector<FrequencyPointResult>& points) {
  rows_ = PortRows(points);
  while (tabs_->count() > 0) {
    QWidget* page = tabs_->widget(0);
    tabs_->removeTab(0);
    delete page;
  }
  for (std::int32_t source : PortSources(rows_)) {
    QTableWidget* table = NewTable(tabs_, source);
    for (const PortRow& row : rows_) {
      if (row.Source != source) continue;
      const PortCells cells = FormatPortRow(row);
      const int r = table->rowCount();
      table->insertRow(r);
      const std::string* texts[] = {&cells.Frequency,    &cells.Impedance,
                                    &cells.ImpedanceMagnitude, &cells.ReflectionDb,
                                    &cells.Current,      &cells.CurrentMagnitude};
      for (int c = 0; c < 6; ++c) {
        auto* item = new QTableWidgetItem(QString::fromStdString(*texts[c]));
        item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        table->setItem(r, c, item);
      }
    }
    table->resizeColumnsToContents();
    tabs_->addTab(table, QString("Source %1").arg(source));
  }
  copy_->setEnabled(!rows_.empty());
  save_->setEnabled(!rows_.empty());
}

QTableWidget* PortResultsPanel::TableOfSource(std::int32_t source) const {
  return tabs_->findChild<QTableWidget*>(QString("PortTable%1").arg(source));
}

void PortResultsPanel::CopyToClipboard() const {
  QApplication::clipboard()->setText(QString::fromStdString(PortTableCsv(rows_)));
}

void PortResultsPanel::SaveCsv() {
  QString name = ChooseFileToSave(this, "Save port results", "CSV file (*.csv)");
  if (name.isEmpty()) return;
  if (QFileInfo(name).suffix().isEmpty()) name += ".csv";
  const std::filesystem::path path = name.toStdString();
  if (std::filesystem::exists(path) &&
      !ui_.AskYesNo("File \"" + path.filename().string() + "\" already exist.  Overwrite?"))
    return;
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  const std::string csv = PortTableCsv(rows_);
  out.write(csv.data(), static_cast<std::streamsize>(csv.size()));
  out.close();
  if (!out) ui_.ShowMessage("Error: Could not write \"" + path.string() + "\"");
}

}  // namespace lumetra::gui
