// The help window: the program's bundled HTML help with a contents list, a keyword
// index with search, help on help, and the numbered topics the dialogs open.
#pragma once

#include <QDialog>
#include <QString>

class QLineEdit;
class QListWidget;
class QTabWidget;
class QTextBrowser;

namespace lumetra::gui {

class HelpViewer : public QDialog {
  Q_OBJECT
public:
  explicit HelpViewer(QWidget* parent);

  void ShowContents();
  // The index with the search field preset to key.
  void ShowSearch(const QString& key);
  void ShowHelpOnHelp();
  // A numbered topic (contents when the number is unknown).
  void ShowTopic(int topic);

  // The page shown, e.g. "topic1007.html".
  QString CurrentPage() const;

private:
  void Open(const QString& page);
  void Present();
  void FilterIndex(const QString& key);

  QTabWidget* tabs_;
  QListWidget* contents_;
  QLineEdit* search_;
  QListWidget* index_;
  QTextBrowser* browser_;
};

}  // namespace lumetra::gui
