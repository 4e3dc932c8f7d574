#include "grid_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "flash_lamp.h"
#include "platform/clock.h"
#include "widgets/lamp.h"

namespace zelta {
namespace {

// The layout is drawn in twips, 15 to the pixel.
int px(int twips) { return qRound(twips / 15.0); }

constexpr int kRows = 20;
constexpr int kBlockRows = 5;
constexpr int kBlockTops[] = {600, 2865, 5145, 7440};
constexpr int kLabelTops[] = {345, 2595, 4860, 7155};
constexpr int kRowPitch = 360;
constexpr int kFirstLeft = 390;
constexpr int kColumnPitch = 762;
constexpr int kCellWidth = 630;
constexpr int kCellHeight = 285;
constexpr int kBottomTop = 9600;
constexpr int kNarrowWidth = 4200;
constexpr int kHeight = 10065;
constexpr int kWideWidth = 13725;
constexpr QRgb kLightGrey = 0xE0E0E0;

int columnLeft(int column) { return kFirstLeft + kColumnPitch * column; }

}  // namespace

QRect GridWindow::cellGeometry(int index) {
  const int column = index / kRows;
  const int row = index % kRows;
  const int top = kBlockTops[row / kBlockRows] + kRowPitch * (row % kBlockRows);
  return {px(columnLeft(column)), px(top), px(kCellWidth), px(kCellHeight)};
}

GridWindow::GridWindow(ValueKind kind, Clock& clock) : kind_(kind) {
  const KindNames& names = kindNames(kind);
  setObjectName(QString::fromLatin1(names.form));
  setWindowTitle(QString::fromLatin1(names.caption));

  texts_.fill(QStringLiteral("Text1"));
  auto* active = new Lamp("Active", colour::DarkGreen, this);
  active->setGeometry(px(120), px(kBottomTop + 50), px(195), px(180));
  auto* rec = new QLabel("Rec.", this);
  rec->setObjectName("Label1");
  rec->setGeometry(px(360), px(kBottomTop), px(600), px(kCellHeight));
  auto* timer = new Timer(clock, "Timer1", 100, this);
  lamp_ = std::make_unique<FlashLamp>(*active, *timer, colour::Green, colour::DarkGreen);

  auto* quit = new QPushButton("Quit", this);
  quit->setObjectName("Command28");
  quit->setGeometry(px(1200), px(kBottomTop), px(840), px(kCellHeight));
  connect(quit, &QPushButton::clicked, this, &QWidget::close);
  more_ = new QPushButton("More Values", this);
  more_->setObjectName("Command1");
  more_->setGeometry(px(2250), px(kBottomTop), px(1125), px(kCellHeight));
  connect(more_, &QPushButton::clicked, this, &GridWindow::moreValues);

  resize(px(kNarrowWidth), px(kHeight));
}

GridWindow::~GridWindow() = default;

void GridWindow::buildCells() {
  if (built_) return;
  built_ = true;
  QFont small = font();
  small.setPointSizeF(small.pointSizeF() * 0.85);
  for (int i = 0; i < kModuleCount; ++i) {
    auto* cell = new QLineEdit(texts_[static_cast<std::size_t>(i)], this);
    cell->setObjectName(QStringLiteral("Text1(%1)").arg(i));
    cell->setFont(small);
    cell->setGeometry(cellGeometry(i));
    cells_[static_cast<std::size_t>(i)] = cell;
    applyLook(i);
    cell->show();
    // What the user types stays in the cell until the program writes it.
    connect(cell, &QLineEdit::textEdited, this,
            [this, i](const QString& t) { texts_[static_cast<std::size_t>(i)] = t; });
  }
  for (int n = 0; n < kModuleCount / kBlockRows; ++n) {
    const int column = n / 4;
    const int block = n % 4;
    auto* label = new QLabel(QString::number(n * kBlockRows + 1), this);
    label->setObjectName(QStringLiteral("Label%1").arg(n + 2));
    label->setFont(small);
    label->setGeometry(px(columnLeft(column)), px(kLabelTops[block]), px(kCellWidth), px(240));
    label->show();
  }
}

QLineEdit* GridWindow::cell(int index) {
  buildCells();
  return cells_.at(static_cast<std::size_t>(index));
}

void GridWindow::setCell(int index, const QString& text) {
  texts_.at(static_cast<std::size_t>(index)) = text;
  if (built_) cells_[static_cast<std::size_t>(index)]->setText(text);
}

void GridWindow::blink() { lamp_->flash(); }

void GridWindow::applyLook(int index) const {
  QLineEdit* cell = cells_[static_cast<std::size_t>(index)];
  const Deviation d = deviations_[static_cast<std::size_t>(index)];
  QColor base = QColor::fromRgb(kLightGrey);
  if (scanLook_)
    base =
        d == Deviation::None ? QApplication::palette().color(QPalette::Base) : deviationColour(d);
  QPalette p = cell->palette();
  p.setColor(QPalette::All, QPalette::Base, base);
  cell->setPalette(p);
  cell->setEnabled(scanLook_);
}

void GridWindow::setScanLook(bool scan) {
  scanLook_ = scan;
  if (built_)
    for (int i = 0; i < kModuleCount; ++i) applyLook(i);
}

void GridWindow::setDeviation(int index, Deviation deviation) {
  Deviation& d = deviations_.at(static_cast<std::size_t>(index));
  if (d == deviation) return;
  d = deviation;
  if (built_) applyLook(index);
}

void GridWindow::showEvent(QShowEvent* event) {
  buildCells();
  QWidget::showEvent(event);
}

void GridWindow::moreValues() {
  resize(px(kWideWidth), height());
  more_->setEnabled(false);
}

void GridWindow::closeEvent(QCloseEvent* event) {
  event->accept();
  emit closing();
}

}  // namespace zelta
