#include "programmer/value_window.h"

#include <QAction>
#include <QDate>
#include <QDir>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QVBoxLayout>

#include "platform/environment.h"
#include "platform/message_boxes.h"
#include "programmer/programmer_context.h"
#include "programmer/test_csv.h"
#include "widgets/eliding_label.h"
#include "widgets/named.h"

namespace zelta::programmer {
namespace {

QLineEdit* valueField(const char* name) {
  auto* e = named(new QLineEdit, name);
  e->setMaximumWidth(100);
  return e;
}

// Coloured text that still greys out when disabled.
void colourText(QLabel* label, Qt::GlobalColor colour) {
  QPalette p = label->palette();
  p.setColor(QPalette::Active, QPalette::WindowText, colour);
  p.setColor(QPalette::Inactive, QPalette::WindowText, colour);
  label->setPalette(p);
}

// caption | field | unit on one grid row
void valueRow(QGridLayout* grid, int row, QLabel* caption, QLineEdit* field, QLabel* unit) {
  grid->addWidget(caption, row, 0);
  grid->addWidget(field, row, 1);
  if (unit) grid->addWidget(unit, row, 2);
}

}  // namespace

ValueWindow::ValueWindow(const QString& name, QWidget* parent) : QWidget(parent, Qt::Window) {
  setObjectName(name);
  setWindowTitle(QStringLiteral("Modul Values"));
  setAttribute(Qt::WA_DeleteOnClose);

  auto* label6 = named(new QLabel(QStringLiteral("Modul Address:")), "Label6");
  label7_ = named(new QLabel, "Label7");
  QFont bold(QStringLiteral("Arial"));
  bold.setBold(true);
  label7_->setFont(bold);
  text1_ = valueField("Text1");
  text2_ = valueField("Text2");
  text3_ = valueField("Text3");

  auto* grid = grid_ = new QGridLayout;
  grid->addWidget(label6, 0, 0);
  grid->addWidget(label7_, 0, 1);
  valueRow(grid, 1, named(new QLabel(QStringLiteral("Voltage: ")), "Label1"), text1_,
           named(new QLabel(QStringLiteral("V ")), "Label4"));
  valueRow(grid, 2, named(new QLabel(QStringLiteral("Temperature: ")), "Label2"), text2_,
           named(new QLabel(QStringLiteral("°C ")), "Label5"));
  valueRow(grid, 3, named(new QLabel(QStringLiteral("Status: ")), "Label3"), text3_, nullptr);

  auto* quit = named(new QPushButton(QStringLiteral("Quit")), "Command28");
  connect(quit, &QPushButton::clicked, this, &QWidget::close);

  body_ = new QVBoxLayout(this);
  body_->addLayout(grid);
  body_->addWidget(quit);
}

void ValueWindow::showReading(std::uint16_t address, const QString& volts, const QString& celsius,
                              bool ok) {
  label7_->setText(QString::number(address));
  text2_->setText(celsius);
  text1_->setText(volts);
  text3_->setText(ok ? QStringLiteral("Ok") : QStringLiteral("Error"));
}

void ValueWindow::clearValues() {
  for (QLineEdit* e : {text1_, text2_, text3_}) e->clear();
  label7_->clear();
}

BasicValueWindow::BasicValueWindow(QWidget* parent)
    : ValueWindow(QStringLiteral("Form2"), parent) {}

ExtendedValueWindow::ExtendedValueWindow(MessageBoxes& boxes, const Environment& environment,
                                         QWidget* parent)
    : ValueWindow(QStringLiteral("Form3"), parent), boxes_(boxes), environment_(environment) {
  text4_ = valueField("Text4");
  QGridLayout* g = grid();
  valueRow(g, 4, named(new QLabel(QStringLiteral("Ri: ")), "Label8"), text4_,
           named(new QLabel(QStringLiteral("mOhm")), "Label9"));

  label12_ = named(new QLabel, "Label12");
  colourText(label12_, Qt::red);
  label12_->hide();
  g->addWidget(label12_, 5, 0, 1, 3);
  label10_ = named(new QLabel(QStringLiteral("External temperature sensor active")), "Label10");
  colourText(label10_, Qt::blue);
  label10_->hide();
  g->addWidget(label10_, 6, 0, 1, 3);

  text5_ = valueField("Text5");
  valueRow(g, 7, named(new QLabel(QStringLiteral("SN:")), "Label11"), text5_, nullptr);
  auto* saveButton = named(new QPushButton(QStringLiteral("Save")), "Command1");
  connect(saveButton, &QPushButton::clicked, this, &ExtendedValueWindow::save);
  body()->insertWidget(1, saveButton);  // above "Quit"
  savedTo_ = new ElidingLabel(QStringLiteral("SavedTo"), this);
  body()->insertWidget(2, savedTo_);

  auto* menuBar = new QMenuBar(this);
  QMenu* rev = named(menuBar->addMenu(QStringLiteral("Revision")), "Rev");
  rev31_ = named(rev->addAction(QStringLiteral("Rev_3.1")), "Rev31");
  rev31_->setCheckable(true);
  body()->setMenuBar(menuBar);
}

bool ExtendedValueWindow::rev31() const { return rev31_->isChecked(); }

void ExtendedValueWindow::showNotice(const QString& notice) {
  label12_->setText(notice);
  label12_->setVisible(!notice.isEmpty());
}

void ExtendedValueWindow::showExternalSensor(bool on) { label10_->setVisible(on); }

void ExtendedValueWindow::hideNotices() {
  label10_->hide();
  label12_->hide();
}

void ExtendedValueWindow::showImpedance(const QString& milliohm) { text4_->setText(milliohm); }

void ExtendedValueWindow::clearValues() {
  ValueWindow::clearValues();
  text4_->clear();
}

void ExtendedValueWindow::save() {
  const QStringList fields = {text5_->text(),
                              QLocale().toString(QDate::currentDate(), QLocale::ShortFormat),
                              text1_->text(), text2_->text(), text4_->text()};
  const std::optional<QString> failure = appendTestCsvLine(environment_.currentDir(), fields);
  if (!failure) {
    const QString path = QDir(environment_.currentDir()).absoluteFilePath(kTestCsvName);
    savedTo_->setFullText(QStringLiteral("Saved to %1").arg(QDir::toNativeSeparators(path)));
    return;
  }
  savedTo_->setFullText(QString());
  boxes_.show(this, BoxRequest{QStringLiteral("The reading could not be saved to \"%1\" in %2:\r\n"
                                              "%3\r\nThe values stay in this window.")
                                   .arg(kTestCsvName, environment_.currentDir(), *failure),
                               kProgramName, BoxIcon::Critical, BoxButtons::Ok});
}

}  // namespace zelta::programmer
