// "Frequency list": the frequencies of a listed sweep, one per line in MHz, with
// clearing, reading from and saving to a text file.
#pragma once

#include <QWidget>
#include <string>
#include <vector>

#include "model/user_interface.h"

class QPlainTextEdit;
class QPushButton;

namespace lumetra::gui {

class FrequencyListWindow : public QWidget {
  Q_OBJECT
public:
  FrequencyListWindow(UserInterface& ui, QWidget* parent);

  // The lines as typed; a line break after the last line adds no empty line.
  std::vector<std::string> Lines() const;
  void SetLines(const std::vector<std::string>& lines);
  // Locked while a sweep runs.
  void SetLocked(bool locked);
  QPlainTextEdit* Editor() const { return list_; }

private:
  void Read();
  void Save();

  UserInterface& ui_;
  QPlainTextEdit* list_;
  QPushButton *clear_, *read_, *save_;
};

}  // namespace lumetra::gui
