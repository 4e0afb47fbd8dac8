#include "app/about_box.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/splash.h"
#include "app/system_info.h"

namespace lumetra::gui {

AboutBox::AboutBox(QWidget* parent) : QDialog(parent) {
  setWindowTitle("About");
  setModal(true);
  const auto label = [this](const QString& text, const char* name) {
    auto* l = new QLabel(text, this);
    l->setObjectName(name);
    return l;
  };
  auto* picture = new QLabel(this);
  picture->setPixmap(ProgramPicture(96));
  auto* product = label("Lumetra", "ProductName");
  QFont big = product->font();
  big.setPointSize(big.pointSize() + 6);
  big.setBold(true);
  product->setFont(big);

  auto* text = new QVBoxLayout;
  text->addWidget(product);
  text->addWidget(label("Version 3.01", "Version"));
  text->addWidget(label("Method of Moment program for radiated", "Comments1"));
  text->addWidget(label("emission and susceptibility analysis of", "Comments2"));
  text->addWidget(label("printed circuit boards", "Comments3"));
  auto* top = new QHBoxLayout;
  top->addWidget(picture, 0, Qt::AlignTop);
  top->addLayout(text);

  // The memory line names the system it runs on rather than another one.
  auto* memory = new QHBoxLayout;
  memory->addWidget(
      label("Physical Memory Available to " + OperatingSystemName() + ":", "MemoryLabel"));
  memory->addWidget(label(FormatKilobytes(PhysicalMemoryKilobytes()), "PhysMem"));
  auto* unknowns = new QHBoxLayout;
  unknowns->addWidget(label("Maximum number of unknowns:", "UnknownsLabel"));
  maxUnknowns_ = label(QString::number(MaximumUnknownsShown), "MaxUnknowns");
  unknowns->addWidget(maxUnknowns_);

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
  buttons->button(QDialogButtonBox::Ok)->setObjectName("OKBtn");
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top);
  layout->addSpacing(8);
  layout->addLayout(memory);
  layout->addWidget(label(OperatingSystemLine(), "OSLabel"));
  layout->addLayout(unknowns);
  layout->addWidget(buttons);
}

void AboutBox::ShowMaxUnknowns(int perDirection) {
  maxUnknowns_->setText(QString::number(2LL * perDirection));
}

}  // namespace lumetra::gui
