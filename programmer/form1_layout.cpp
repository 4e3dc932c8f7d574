#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "platform/clock.h"
#include "programmer/form1_controls.h"
#include "widgets/lamp.h"
#include "widgets/named.h"

namespace zelta::programmer {
namespace {

QLabel* label(const char* name, const QString& caption) {
  return named(new QLabel(caption), name);
}

QLineEdit* textBox(const char* name, const QString& text) {
  auto* e = named(new QLineEdit(text), name);
  e->setMaximumWidth(90);
  return e;
}

QPushButton* button(const char* name, const QString& caption) {
  return named(new QPushButton(caption), name);
}

QGroupBox* frame(const char* name, const QString& caption) {
  return named(new QGroupBox(caption), name);
}

QLabel* titleLine(const char* name, const QString& caption) {
  auto* l = label(name, caption);
  l->setAlignment(Qt::AlignCenter);
  l->setAutoFillBackground(true);
  QFont f = l->font();
  f.setPointSize(20);
  f.setBold(true);
  l->setFont(f);
  l->setStyleSheet(QStringLiteral("color: white; background-color: #008000;"));
  l->setMinimumHeight(44);
  return l;
}

// Red text that still greys out in a disabled frame.
QLabel* redLabel(const char* name, const QString& caption) {
  auto* l = label(name, caption);
  QPalette p = l->palette();
  p.setColor(QPalette::Active, QPalette::WindowText, Qt::red);
  p.setColor(QPalette::Inactive, QPalette::WindowText, Qt::red);
  l->setPalette(p);
  return l;
}

// A caption and its text box on one row of a grid.
void fieldRow(QGridLayout* grid, int row, QLabel* caption, QLineEdit* edit) {
  grid->addWidget(caption, row, 0);
  grid->addWidget(edit, row, 1);
}

struct TimerSpec {
  int number;
  int intervalMs;
};

// Intervals of Timer1 .. Timer20.
constexpr TimerSpec kTimers[] = {
    {1, 100},   {2, 3000},  {3, 2000},  {4, 100},   {5, 5000},  {6, 300},   {7, 50},
    {8, 500},   {9, 200},   {10, 1500}, {11, 4000}, {12, 4000}, {13, 3000}, {14, 500},
    {15, 4000}, {16, 4000}, {17, 1500}, {18, 1000}, {19, 1000}, {20, 1000},
};

}  // namespace

Form1Controls buildForm1(QWidget& form, Clock& clock) {
  Form1Controls c;
  form.setObjectName(QStringLiteral("Form1"));
  form.setWindowTitle(QStringLiteral("ZELTA II Programmer"));

  c.label1 = titleLine("Label1", QStringLiteral("KESTRIN ZELTA II"));
  c.label2 = titleLine("Label2", QStringLiteral("Programmer"));
  c.label11 = redLabel("Label11", QString());
  c.label11->hide();

  // Port row
  c.combo2 = named(new QComboBox, "Combo2");
  c.combo2->setEditable(true);
  c.command36 = button("Command36", QStringLiteral("Open"));
  c.command38 = button("Command38", QStringLiteral("Close"));
  c.txanz = new Lamp(QStringLiteral("TXANZ"), colour::DarkGreen);
  c.rxanz = new Lamp(QStringLiteral("RXANZ"), colour::DarkGreen);
  c.command28 = button("Command28", QStringLiteral("Quit"));

  // Control
  c.frame4 = frame("Frame4", QStringLiteral("Control"));
  c.option1 = named(new QRadioButton(QStringLiteral("Automatic Mode")), "Option1");
  c.option2 = named(new QRadioButton(QStringLiteral("Manual Mode")), "Option2");
  c.option3 = named(new QRadioButton(QStringLiteral("Line Check")), "Option3");
  auto* controlBox = new QVBoxLayout(c.frame4);
  controlBox->addWidget(c.option1);
  controlBox->addWidget(c.option2);
  controlBox->addWidget(c.option3);

  // Automatic
  c.frame1 = frame("Frame1", QStringLiteral("Automatic"));
  c.label6 = label("Label6", QStringLiteral("Start Address:"));
  c.text2 = textBox("Text2", QStringLiteral("1"));
  c.label7 = label("Label7", QStringLiteral("End Address:"));
  c.text3 = textBox("Text3", QStringLiteral("5"));
  c.check1 = named(new QCheckBox(QStringLiteral("Set all address to \"0\"")), "Check1");
  c.command6 = button("Command6", QStringLiteral("Start"));
  c.command5 = button("Command5", QStringLiteral("Stop"));
  auto* autoGrid = new QGridLayout(c.frame1);
  fieldRow(autoGrid, 0, c.label6, c.text2);
  fieldRow(autoGrid, 1, c.label7, c.text3);
  autoGrid->addWidget(c.check1, 2, 0, 1, 2);
  autoGrid->addWidget(c.command6, 3, 0);
  autoGrid->addWidget(c.command5, 3, 1);

  // Modul Search
  c.frame3 = frame("Frame3", QStringLiteral("Modul Search"));
  c.label5 = label("Label5", QStringLiteral("Address:"));
  c.text5 = textBox("Text5", QStringLiteral("1"));
  c.command7 = button("Command7", QStringLiteral("Start"));
  c.command4 = button("Command4", QStringLiteral("Stop"));
  auto* searchGrid = new QGridLayout(c.frame3);
  fieldRow(searchGrid, 0, c.label5, c.text5);
  searchGrid->addWidget(c.command7, 1, 0);
  searchGrid->addWidget(c.command4, 1, 1);

  // Address Search
  c.frame5 = frame("Frame5", QStringLiteral("Address Search"));
  c.label8 = redLabel("Label8", QStringLiteral("Only 1 Modul connected"));
  c.command3 = button("Command3", QStringLiteral("Start"));
  auto* addressBox = new QVBoxLayout(c.frame5);
  addressBox->addWidget(c.label8);
  addressBox->addWidget(c.command3);

  // Manual
  c.frame2 = frame("Frame2", QStringLiteral("Manual"));
  c.label4 = label("Label4", QStringLiteral("Current Address:"));
  c.text4 = textBox("Text4", QStringLiteral("0"));
  c.label3 = label("Label3", QStringLiteral("New Adress:"));
  c.text1 = textBox("Text1", QStringLiteral("1"));
  c.label10 = redLabel("Label10", QStringLiteral("Only 1 Modul connected"));
  c.command2 = button("Command2", QStringLiteral("Set"));
  auto* manualGrid = new QGridLayout(c.frame2);
  fieldRow(manualGrid, 0, c.label4, c.text4);
  fieldRow(manualGrid, 1, c.label3, c.text1);
  manualGrid->addWidget(c.label10, 2, 0, 1, 2);
  manualGrid->addWidget(c.command2, 3, 0);
  c.command1 = button("Command1", QStringLiteral("Values"));

  // Line Check
  c.frame7 = frame("Frame7", QStringLiteral("Line Check"));
  c.option4 = named(new QRadioButton(QStringLiteral("Send Line")), "Option4");
  c.option5 = named(new QRadioButton(QStringLiteral("Receive Line")), "Option5");
  c.command8 = button("Command8", QStringLiteral("Start"));
  c.command9 = button("Command9", QStringLiteral("Stop"));
  c.receiveInfo = button("b_Receive_Info", QStringLiteral("Info..."));
  auto* lineGrid = new QGridLayout(c.frame7);
  lineGrid->addWidget(c.option4, 0, 0);
  lineGrid->addWidget(c.option5, 1, 0);
  lineGrid->addWidget(c.command8, 0, 1);
  lineGrid->addWidget(c.command9, 1, 1);
  lineGrid->addWidget(c.receiveInfo, 2, 1);

  // Version
  c.frame6 = frame("Frame6", QStringLiteral("Version"));
  c.label9 = label("Label9", QStringLiteral("1.18"));
  auto* versionBox = new QVBoxLayout(c.frame6);
  versionBox->addWidget(c.label9);

  // Arrangement: title lines on top, port row, then the frames in three
  // columns, low enough for a 1280 x 800 screen at 150 % scaling.
  auto* portRow = new QHBoxLayout;
  portRow->addWidget(c.combo2);
  portRow->addWidget(c.command36);
  portRow->addWidget(c.command38);
  portRow->addSpacing(12);
  portRow->addWidget(new QLabel(QStringLiteral("TX")));
  portRow->addWidget(c.txanz);
  portRow->addWidget(new QLabel(QStringLiteral("RX")));
  portRow->addWidget(c.rxanz);
  portRow->addStretch();
  portRow->addWidget(c.label11);
  portRow->addWidget(c.command28);

  auto* left = new QVBoxLayout;
  left->addWidget(c.frame4);
  left->addWidget(c.frame1);
  left->addStretch();

  auto* middle = new QVBoxLayout;
  middle->addWidget(c.frame3);
  middle->addWidget(c.frame2);
  middle->addWidget(c.command1);
  middle->addStretch();

  auto* right = new QVBoxLayout;
  right->addWidget(c.frame5);
  right->addWidget(c.frame7);
  right->addWidget(c.frame6);
  right->addStretch();

  auto* columns = new QHBoxLayout;
  columns->addLayout(left);
  columns->addLayout(middle);
  columns->addLayout(right);

  auto* whole = new QVBoxLayout(&form);
  whole->setSpacing(4);  // tight rows: the status lines below must fit too
  whole->addWidget(c.label1);
  whole->addWidget(c.label2);
  whole->addLayout(portRow);
  whole->addLayout(columns);

  for (const TimerSpec& t : kTimers)
    c.timers[static_cast<std::size_t>(t.number)] =
        new Timer(clock, QStringLiteral("Timer%1").arg(t.number), t.intervalMs, &form);
  return c;
}

}  // namespace zelta::programmer
