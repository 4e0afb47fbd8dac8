#include "app/project_details_dialog.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "editor/help_link.h"
#include "model/file_io.h"
#include "model/project_summary.h"

namespace lumetra::gui {

ProjectDetailsDialog::ProjectDetailsDialog(UserInterface& ui, QWidget* parent)
    : QDialog(parent), ui_(ui) {
  setModal(true);
  setWindowTitle("Project details");
  static const char* const names[15] = {
      "Datelabel", "Timelabel", "Lengthlabel", "Widthlabel", "Noseglabel",
      "Nochlabel", "GPlabel",   "Reslabel",    "GridLabel",  "ChxLabel",
      "ChyLabel",  "GenLabel",  "ImpLabel",    "PointsLabel", "DielLabel"};
  for (int k = 0; k < 15; ++k) {
    labels_[k] = new QLabel(this);
    labels_[k]->setObjectName(names[k]);
  }
  labels_[14]->setText("Dielectric constant:");
  const auto group = [&](const char* title, int first, int last) {
    auto* box = new QGroupBox(title, this);
    auto* layout = new QVBoxLayout(box);
    for (int k = first; k <= last; ++k) layout->addWidget(labels_[k]);
    return box;
  };
  auto* left = new QVBoxLayout;
  left->addWidget(group("Last saved", 0, 1));
  left->addWidget(group("Layout", 2, 3));
  left->addStretch();
  auto* top = new QHBoxLayout;
  top->addLayout(left);
  top->addWidget(group("Details", 4, 14));

  memo_ = new QPlainTextEdit(this);
  memo_->setObjectName("Memo1");
  memo_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  auto* ok = new QPushButton("Close", this);
  ok->setObjectName("OKBtn");
  auto* help = new QPushButton("&Help", this);
  help->setObjectName("HelpBtn");
  ConnectHelpButton(help, help_topic::ProjectDetails);
  connect(ok, &QPushButton::clicked, this, &ProjectDetailsDialog::Close);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(ok);
  buttons->addWidget(help);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top);
  layout->addWidget(new QLabel("Notes:", this));
  layout->addWidget(memo_, 1);
  layout->addLayout(buttons);
  resize(520, 520);
}

void ProjectDetailsDialog::Show(const std::filesystem::path& projectFile) {
  ProjectSummary summary;
  std::optional<std::string> note;
  try {
    summary = ReadProjectSummary(projectFile);
    note = ReadProjectNote(projectFile);
  } catch (const FileError& error) {
    ui_.ShowMessage(error.what());
    return;
  }
  projectFile_ = projectFile;
  memo_->clear();
  setWindowTitle(QString::fromStdString(summary.Title));
  for (int k = 0; k < 15 && k < static_cast<int>(summary.Labels.size()); ++k)
    labels_[k]->setText(QString::fromStdString(summary.Labels[k]));
  if (note) memo_->setPlainText(QString::fromStdString(*note));
  memo_->document()->setModified(false);
  exec();
}

void ProjectDetailsDialog::Close() {
  if (memo_->document()->isModified()) {
    try {
      WriteProjectNote(projectFile_, memo_->toPlainText().toStdString());
    } catch (const FileError& error) {
      // The note is still in the memo; the user can try again.
      ui_.ShowMessage(error.what());
      return;
    }
  }
  accept();
}

}  // namespace lumetra::gui
