#include "reader_controls.h"

#include <QAction>
#include <QActionGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "value_kind.h"
#include "widgets/held_label.h"
#include "widgets/lamp.h"
#include "widgets/named.h"

namespace zelta {
namespace {

QLabel* label(const char* name, const QString& text, QWidget* parent, bool bold = false) {
  auto* l = named(new QLabel(text, parent), name);
  if (bold) {
    QFont f = l->font();
    f.setBold(true);
    l->setFont(f);
  }
  return l;
}

QPushButton* button(const char* name, const QString& text, QWidget* parent) {
  return named(new QPushButton(text, parent), name);
}

QLineEdit* field(const char* name, QWidget* parent, int width = 48) {
  auto* e = named(new QLineEdit(parent), name);
  e->setFixedWidth(width);
  return e;
}

QAction* action(QMenu* menu, const char* name, const QString& text) {
  auto* a = menu->addAction(text);
  a->setObjectName(QString::fromLatin1(name));
  return a;
}

void buildScanFrame(QGroupBox* frame, ReaderControls& c) {
  auto* grid = new QGridLayout(frame);
  auto* request = new QHBoxLayout;
  c.label37 = label("Label37", "Module request:", frame, true);
  c.label21 = label("Label21", "0", frame, true);
  holdLabelSize(*c.label21, QStringLiteral("000"));  // addresses up to 340 without a new layout
  request->addWidget(c.label37);
  request->addWidget(c.label21, 0, Qt::AlignVCenter);  // its row may grow as before
  request->addStretch();
  grid->addLayout(request, 0, 0, 1, 4);

  c.check7 = named(new QCheckBox("Next impedance measurement in", frame), "Check7");
  c.text1 = field("Text1", frame, 40);
  grid->addWidget(c.check7, 1, 0, 1, 2);
  grid->addWidget(c.text1, 1, 2);
  grid->addWidget(label("Label1", "minutes", frame), 1, 3);

  c.text8 = field("Text8", frame);
  c.text45 = field("Text45", frame);
  grid->addWidget(label("Label28", "Start Address", frame), 2, 0);
  grid->addWidget(c.text8, 2, 1);
  grid->addWidget(label("Label36", "End Address", frame), 3, 0);
  grid->addWidget(c.text45, 3, 1);
  c.check1 = named(new QCheckBox("Clear old values at start", frame), "Check1");
  grid->addWidget(c.check1, 4, 0, 1, 2);

  c.command16 = button("Command16", "Start", frame);
  c.command17 = button("Command17", "Stop", frame);
  grid->addWidget(c.command16, 5, 0);
  grid->addWidget(c.command17, 5, 1);

  auto* rates = new QVBoxLayout;
  rates->addWidget(label("Label6", "Pollrate", frame));
  const char* rateNames[] = {"Option3(0)", "Option3(1)", "Option3(2)"};
  const char* rateTexts[] = {"Fast", "Medium", "Slow"};
  for (int i = 0; i < 3; ++i) {
    c.option3[i] = named(new QRadioButton(rateTexts[i], frame), rateNames[i]);
    rates->addWidget(c.option3[i]);
  }
  rates->addStretch();
  grid->addLayout(rates, 2, 2, 4, 2);
}

void buildManualFrame(QGroupBox* frame, ReaderControls& c) {
  auto* grid = new QGridLayout(frame);
  c.text2 = field("Text2", frame);
  grid->addWidget(label("Label2", "Address", frame), 0, 0);
  grid->addWidget(c.text2, 0, 1);
  c.command15 = button("Command15", "Module Type", frame);
  c.command14 = button("Command14", "Software", frame);
  c.command13 = button("Command13", "Hardware", frame);
  c.command8 = button("Command8", "Voltage", frame);
  c.command56 = button("Command56", "Temperature", frame);
  c.command12 = button("Command12", "Impedance", frame);
  grid->addWidget(c.command15, 1, 0);
  grid->addWidget(c.command8, 1, 1);
  grid->addWidget(c.command14, 2, 0);
  grid->addWidget(c.command56, 2, 1);
  grid->addWidget(c.command13, 3, 0);
  grid->addWidget(c.command12, 3, 1);
  grid->addWidget(label("Label31", "Modul Search", frame), 4, 0, 1, 2);
  c.command23 = button("Command23", "Set", frame);
  c.command66 = button("Command66", "Reset", frame);
  grid->addWidget(c.command23, 5, 0);
  grid->addWidget(c.command66, 5, 1);
}

void buildControlFrame(QGroupBox* frame, ReaderControls& c) {
  auto* grid = new QGridLayout(frame);
  c.option1 = named(new QRadioButton("Scan Mode", frame), "Option1");
  c.option2 = named(new QRadioButton("Manual Mode", frame), "Option2");
  grid->addWidget(c.option1, 0, 0);
  grid->addWidget(c.option2, 1, 0);

  c.combo2 = named(new QComboBox(frame), "Combo2");
  c.combo2->setEditable(true);
  c.combo2->setInsertPolicy(QComboBox::NoInsert);
  c.combo2->setMinimumContentsLength(10);
  grid->addWidget(c.combo2, 0, 1);
  c.command36 = button("Command36", "Open", frame);
  c.command38 = button("Command38", "Close", frame);
  c.command28 = button("Command28", "Quit", frame);
  grid->addWidget(c.command36, 0, 2);
  grid->addWidget(c.command38, 1, 2);
  grid->addWidget(c.command28, 1, 3);

  auto* lamps = new QHBoxLayout;
  c.txanz = new Lamp("TXANZ", colour::DarkGreen, frame);
  c.rxanz = new Lamp("RXANZ", colour::DarkGreen, frame);
  lamps->addWidget(new QLabel("TX", frame));
  lamps->addWidget(c.txanz);
  lamps->addWidget(new QLabel("RX", frame));
  lamps->addWidget(c.rxanz);
  lamps->addStretch();
  grid->addLayout(lamps, 1, 1);
}

void buildCommunicationFrame(QGroupBox* frame, ReaderControls& c) {
  auto* grid = new QGridLayout(frame);
  c.ok = new Lamp("ok", colour::DarkGreen, frame);
  c.ma = new Lamp("ma", colour::DarkRed, frame);
  c.crc = new Lamp("crc", colour::DarkRed, frame);
  c.label7 = label("Label7", "0", frame);
  c.label8 = label("Label8", "0", frame);
  grid->addWidget(c.ok, 0, 0);
  grid->addWidget(label("Label3", "Valid answer", frame), 0, 1);
  grid->addWidget(c.ma, 1, 0);
  grid->addWidget(label("Label4", "Missing answer", frame), 1, 1);
  grid->addWidget(c.label7, 1, 2);
  grid->addWidget(c.crc, 2, 0);
  grid->addWidget(label("Label5", "CRC-Error", frame), 2, 1);
  grid->addWidget(c.label8, 2, 2);
  c.command1 = button("Command1", "Reset", frame);
  grid->addWidget(c.command1, 3, 1);
  grid->setColumnStretch(2, 1);
}

void buildMenus(QMainWindow& form1, ReaderControls& c) {
  QMenuBar* bar = form1.menuBar();
  QMenu* file = named(bar->addMenu("&File"), "File");
  c.quit = action(file, "Quit", "&Quit");

  QMenu* screens = named(bar->addMenu("&Module_SubScreens"), "CxSubScreens");
  for (std::size_t i = 0; i < kAllKinds.size(); ++i) {
    const KindNames& n = kindNames(kAllKinds[i]);
    c.gridEntries[i] = action(screens, n.menu, QString::fromLatin1(n.menuCaption));
  }
  screens->addSeparator();
  c.loggingOptions = action(screens, "Logging_Options", "&Logging Options...");

  QMenu* revisions = named(bar->addMenu("M&odultyp"), "mdt");
  auto* group = new QActionGroup(revisions);
  const char* names[] = {"rev3_0", "rev3_1", "rev3_2"};
  const char* texts[] = {"Rev. 3.0", "Rev. 3.1", "Rev. 3.2"};
  for (int i = 0; i < 3; ++i) {
    c.revisions[i] = action(revisions, names[i], texts[i]);
    c.revisions[i]->setCheckable(true);
    group->addAction(c.revisions[i]);
  }
  c.revisions[1]->setChecked(true);

  c.help = bar->addAction("&Help");
  c.help->setObjectName("Help");
}

}  // namespace

ReaderControls buildReaderControls(QMainWindow& form1) {
  ReaderControls c;
  form1.setObjectName("Form1");
  form1.setWindowTitle("ZELTA_Reader (Modul Rev. 3.x)");

  auto* central = new QWidget(&form1);
  auto* grid = new QGridLayout(central);
  auto* scan = named(new QGroupBox("Scan Mode", central), "Frame1");
  auto* manual = named(new QGroupBox("Manual Mode", central), "Frame3");
  auto* control = named(new QGroupBox("Control", central), "Frame4");
  auto* communication = named(new QGroupBox("Communication", central), "Frame5");
  buildScanFrame(scan, c);
  buildManualFrame(manual, c);
  buildControlFrame(control, c);
  buildCommunicationFrame(communication, c);
  grid->addWidget(scan, 0, 0);
  grid->addWidget(manual, 0, 1);
  grid->addWidget(control, 1, 0);
  grid->addWidget(communication, 1, 1);
  grid->setColumnStretch(0, 2);
  grid->setColumnStretch(1, 1);

  c.logStatus = named(new QLabel(central), "LogStatus");
  c.logStatus->setStyleSheet("color: red;");
  c.logStatus->setWordWrap(true);
  c.logStatus->hide();
  grid->addWidget(c.logStatus, 2, 0, 1, 2);

  form1.setCentralWidget(central);
  buildMenus(form1, c);
  return c;
}

}  // namespace zelta
