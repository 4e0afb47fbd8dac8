#include "app/help_viewer.h"

#include <QApplication>
#include <QFile>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QRegularExpression>
#include <QSplitter>
#include <QTabWidget>
#include <QTextBrowser>
#include <QVBoxLayout>

#include "editor/window_placement.h"

// The help pages are compiled into the program's static library, whose resources
// must be registered by hand.
static void RegisterHelpPages() { Q_INIT_RESOURCE(help); }

namespace lumetra::gui {

namespace {

const char* const Root = "qrc:/help/";

// The pages of the contents list, in their order, with their titles.
struct Entry {
  const char* page;
  const char* title;
};
const Entry Contents[] = {
    {"contents.html", "Contents"},
    {"getting_started.html", "Getting started"},
    {"topic1014.html", "New Project"},
    {"layout.html", "Drawing the trace layout"},
    {"topic1007.html", "Grid and element sizes"},
    {"topic1013.html", "Editing a segment"},
    {"topic1003.html", "Voltage sources"},
    {"topic1004.html", "Impedance elements"},
    {"topic1005.html", "Ground points"},
    {"topic1006.html", "Deleting items"},
    {"topic1018.html", "Move step and zoom factor"},
    {"computation.html", "The Computation page"},
    {"results.html", "Looking at the results"},
    {"topic1030.html", "Select frequency"},
    {"topic1031.html", "Select segment"},
    {"topic1032.html", "Select plot type"},
    {"plot_utility.html", "Plot utility"},
    {"batch.html", "Batch computation"},
    {"printing.html", "Printing"},
    {"topic1017.html", "Project details"},
    {"helponhelp.html", "How to Use Help"},
};

}  // namespace

HelpViewer::HelpViewer(QWidget* parent) : QDialog(parent) {
  RegisterHelpPages();
  setObjectName("HelpViewer");
  setWindowTitle("Lumetra Help");
  tabs_ = new QTabWidget(this);
  contents_ = new QListWidget(tabs_);
  contents_->setObjectName("HelpContents");
  for (const Entry& e : Contents) {
    auto* item = new QListWidgetItem(e.title, contents_);
    item->setData(Qt::UserRole, QString(e.page));
  }
  auto* indexPage = new QWidget(tabs_);
  auto* indexLayout = new QVBoxLayout(indexPage);
  search_ = new QLineEdit(indexPage);
  search_->setObjectName("HelpSearch");
  search_->setPlaceholderText("Type a keyword");
  index_ = new QListWidget(indexPage);
  index_->setObjectName("HelpIndex");
  QFile keywords(":/help/keywords.txt");
  if (keywords.open(QIODevice::ReadOnly))
    for (const QString& line : QString::fromUtf8(keywords.readAll()).split('\n')) {
      const QStringList parts = line.split('|');
      if (parts.size() != 2) continue;
      auto* item = new QListWidgetItem(parts[0].trimmed(), index_);
      item->setData(Qt::UserRole, parts[1].trimmed());
    }
  indexLayout->addWidget(search_);
  indexLayout->addWidget(index_);
  tabs_->addTab(contents_, "Contents");
  tabs_->addTab(indexPage, "Index");

  browser_ = new QTextBrowser(this);
  browser_->setObjectName("HelpBrowser");
  browser_->setSearchPaths({":/help"});
  auto* splitter = new QSplitter(this);
  splitter->addWidget(tabs_);
  splitter->addWidget(browser_);
  splitter->setStretchFactor(1, 1);
  auto* layout = new QHBoxLayout(this);
  layout->addWidget(splitter);
  resize(760, 520);

  const auto openItem = [this](QListWidgetItem* item) {
    if (item) Open(item->data(Qt::UserRole).toString());
  };
  connect(contents_, &QListWidget::itemClicked, this, openItem);
  connect(index_, &QListWidget::itemClicked, this, openItem);
  connect(index_, &QListWidget::itemActivated, this, openItem);
  connect(search_, &QLineEdit::textChanged, this, &HelpViewer::FilterIndex);
  connect(search_, &QLineEdit::returnPressed, this, [this, openItem] {
    for (int k = 0; k < index_->count(); ++k)
      if (!index_->item(k)->isHidden()) return openItem(index_->item(k));
  });
}

void HelpViewer::Open(const QString& page) { browser_->setSource(QUrl(Root + page)); }

QString HelpViewer::CurrentPage() const {
  // An unknown page shows nothing; report it as no page at all.
  if (browser_->toPlainText().isEmpty()) return {};
  return browser_->source().fileName();
}

void HelpViewer::FilterIndex(const QString& key) {
  for (int k = 0; k < index_->count(); ++k)
    index_->item(k)->setHidden(!index_->item(k)->text().startsWith(key.trimmed(), Qt::CaseInsensitive));
}

void HelpViewer::Present() {
  // Opened from a modal dialog, the help must be modal too or it could not be used.
  const bool fromModal = QApplication::activeModalWidget() != nullptr &&
                         QApplication::activeModalWidget() != this;
  if (isVisible() && windowModality() != (fromModal ? Qt::ApplicationModal : Qt::NonModal))
    hide();
  setWindowModality(fromModal ? Qt::ApplicationModal : Qt::NonModal);
  ShowCentredOnOwner(this);
}

void HelpViewer::ShowContents() {
  tabs_->setCurrentIndex(0);
  Open("contents.html");
  Present();
}

void HelpViewer::ShowSearch(const QString& key) {
  tabs_->setCurrentIndex(1);
  search_->setText(key);
  FilterIndex(key);
  if (browser_->source().isEmpty()) Open("contents.html");
  Present();
  search_->setFocus();
}

void HelpViewer::ShowHelpOnHelp() {
  Open("helponhelp.html");
  Present();
}

void HelpViewer::ShowTopic(int topic) {
  const QString page = QString("topic%1.html").arg(topic);
  Open(QFile::exists(":/help/" + page) ? page : QString("contents.html"));
  Present();
}

}  // namespace lumetra::gui
