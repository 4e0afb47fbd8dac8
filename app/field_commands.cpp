// The Utility menu's field and list commands: the far- and near-field dialogs and
// the three result-list windows, and the frequency choice of the pattern page.
#include <QAction>

#include "editor/window_placement.h"
#include "app/computation_page.h"
#include "app/far_field_dialog.h"
#include "app/main_window.h"
#include "app/near_field_dialog.h"
#include "app/qt_user_interface.h"
#include "app/result_list_window.h"
#include "plots/frequency_dialog.h"
#include "plots/pattern_page.h"

namespace lumetra::gui {

void MainWindow::BuildFieldCommands() {
  const auto projectFile = [this] { return std::filesystem::path(project_.ProjectFile); };
  // The shared "Select frequency" dialog in the mode of the file it lists.
  // The pages and lists take the frequency chosen last unless asked to choose
  // again; the dialog then opens on it.
  const auto chooser = [this](FrequencyDialogMode mode, bool askAgain) -> FrequencyChooser {
    return [this, mode, askAgain](const std::vector<std::string>& entries) {
      frequencyDialog_->SetMode(mode);
      return frequencyDialog_->Choose(entries, askAgain);
    };
  };
  pattern_->SetFrequencyChooser([this](const std::vector<std::string>& entries) {
    frequencyDialog_->SetMode(FrequencyDialogMode::FarField);
    return frequencyDialog_->Choose(entries, pattern_->AskingAgain());
  });

  farFieldDialog_ = new FarFieldDialog(*ui_, projectFile, this);
  nearFieldDialog_ = new NearFieldDialog(
      *ui_, projectFile, [this] { return computation_->LastEpsEff(); }, this);
  const ListWindowKind kinds[] = {ListWindowKind::Current, ListWindowKind::FarField,
                                  ListWindowKind::NearField};
  for (int i = 0; i < 3; ++i) {
    listWindows_[i] = new ResultListWindow(kinds[i], *ui_, projectFile, this);
    listWindows_[i]->SetFrequencyChooser(chooser);
    listWindows_[i]->SetPrinter(&printer_);
  }

  const auto enable = [this](const char* name, auto command) {
    QAction* action = Action(name);
    action->setEnabled(true);
    connect(action, &QAction::triggered, this, command);
  };
  enable("ComputeFarField", [this] {
    farFieldDialog_->exec();
    RedrawActivePage();
  });
  enable("ComputeNearField", [this] {
    nearFieldDialog_->exec();
    RedrawActivePage();
  });
  enable("ListCurrents", [this] { ShowListWindow(0); });
  enable("ListFarField", [this] { ShowListWindow(1); });
  enable("ListNearField", [this] { ShowListWindow(2); });
}

void MainWindow::ShowListWindow(int index) {
  ResultListWindow* window = listWindows_[index];
  window->Activate();
  ShowCentredOnOwner(window);
}

}  // namespace lumetra::gui
