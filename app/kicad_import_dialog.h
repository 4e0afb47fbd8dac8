// "Import KiCad board": a board file of KiCad, the nets to take from it, the copper
// layer and the import's settings, with a preview of the layout the import would
// make. The reading and the import are the core's; this is their form.
//
// The grid, the longest charge cell, the ground-plane height and the permittivity
// show what the import chooses by itself for the nets and layer chosen; a value
// the user types there is passed on as given instead, until "Proposals" puts the
// import's choices back.
#pragma once

#include <QDialog>
#include <QString>
#include <QWidget>
#include <optional>
#include <string>
#include <vector>

#include "import/kicad_board.h"
#include "import/kicad_import.h"
#include "model/project.h"
#include "model/user_interface.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QSpinBox;
class QTableWidget;

namespace lumetra::gui {

// The segments of a layout drawn to fill the widget, y upwards as in the editor,
// framed around the copper with the board's edge where it shows.
class LayoutPreview : public QWidget {
  Q_OBJECT
public:
  explicit LayoutPreview(QWidget* parent = nullptr);
  // Nothing to show: an empty frame with the text.
  void Show(const Project& project);
  void Clear(const QString& text);
  const std::vector<Segment>& Segments() const { return segments_; }
  QSize sizeHint() const override { return {360, 260}; }

protected:
  void paintEvent(QPaintEvent* event) override;

private:
  std::vector<Segment> segments_;
  double boardLx_ = 0.0, boardLy_ = 0.0;
  QString text_;
};

struct KicadImportResult {
  QString projectFile;  // the saved project, to be opened
  QString report;       // what the import did, as lumetra-cli prints it
};

class KicadImportDialog : public QDialog {
  Q_OBJECT
public:
  KicadImportDialog(UserInterface& ui, QWidget* parent);

  // Shows the dialog; on OK the project is saved and the result says where.
  std::optional<KicadImportResult> Ask();
  // The computation's limit of unknowns per direction the import keeps to.
  void SetMaxUnknowns(int limit) { maxUnknowns_ = limit; }

  // Reads the board through the core reader; on failure the reader's message is
  // shown and the board shown before stays.
  bool LoadBoard(const QString& path);
  bool HasBoard() const { return board_.has_value(); }

  // The options as the form gives them; throws KicadImportError for a field that
  // holds no number.
  KicadImportOptions Options() const;
  // The import the preview shows, when the options allow one.
  const std::optional<KicadImport>& PreviewImport() const { return preview_; }

  void accept() override;

private:
  void Browse();
  void FillLayers();
  void FillNets();
  void Recompute();
  void ResetProposals();
  std::vector<std::string> SelectedNets() const;

  UserInterface& ui_;
  std::optional<KicadBoard> board_;
  QString boardPath_;
  std::optional<KicadImport> preview_;
  std::optional<KicadImportResult> result_;
  bool updating_ = false;
  int maxUnknowns_ = MaxUnknownsPerDirection;

  QLineEdit* file_;
  QTableWidget* nets_;
  QComboBox* layer_;
  QLineEdit *grid_, *cell_, *frequency_, *plane_, *permittivity_;
  QSpinBox* cellsAcross_;
  QPlainTextEdit* summary_;
  LayoutPreview* previewWidget_;
};

// The import's report in a window of its own, fixed-pitch so the table lines up;
// one window, brought back for each import.
void ShowImportReport(QWidget* parent, const QString& report);

}  // namespace lumetra::gui
