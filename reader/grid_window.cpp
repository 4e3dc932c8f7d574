#include "grid_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QStyle>
#include <QVBoxLayout>

#include "flash_lamp.h"
#include "platform/clock.h"
#include "widgets/lamp.h"
#include "widgets/screen_fit.h"

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
  // The cells above, in an area that scrolls when the screen is too small;
  // the lamp and the buttons in a row along the bottom edge.
  canvas_ = new QWidget;
  canvas_->setFixedHeight(px(kBottomTop));
  scroll_ = new QScrollArea(this);
  scroll_->setFrameShape(QFrame::NoFrame);
  scroll_->setWidget(canvas_);
  auto* bottom = new QWidget(this);
  bottom->setFixedHeight(px(kHeight - kBottomTop));
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->addWidget(scroll_, 1);
  layout->addWidget(bottom);

  auto* active = new Lamp("Active", colour::DarkGreen, bottom);
  active->setGeometry(px(120), px(50), px(195), px(180));
  auto* rec = new QLabel("Rec.", bottom);
  rec->setObjectName("Label1");
  rec->setGeometry(px(360), 0, px(600), px(kCellHeight));
  auto* timer = new Timer(clock, "Timer1", 100, this);
  lamp_ = std::make_unique<FlashLamp>(*active, *timer, colour::Green, colour::DarkGreen);

  auto* quit = new QPushButton("Quit", bottom);
  quit->setObjectName("Command28");
  quit->setGeometry(px(1200), 0, px(840), px(kCellHeight));
  connect(quit, &QPushButton::clicked, this, &QWidget::close);
  more_ = new QPushButton("More Values", bottom);
  more_->setObjectName("Command1");
  more_->setGeometry(px(2250), 0, px(1125), px(kCellHeight));
  connect(more_, &QPushButton::clicked, this, &GridWindow::moreValues);

  fitWidth(px(kNarrowWidth));
}

void GridWindow::fitWidth(int cellsWidth) {
  // Cells beyond the width stay out of sight, as beyond a window's edge.
  canvas_->setFixedWidth(cellsWidth);
  const QSize whole(cellsWidth, px(kHeight));
  const QSize room = screenRoom(*this);
  // A scroll bar takes room of its own beside or below the cells.
  const int bar = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, scroll_);
  bool down = whole.height() > room.height();
  const bool across = whole.width() + (down ? bar : 0) > room.width();
  down = down || (across && whole.height() + bar > room.height());
  scroll_->setVerticalScrollBarPolicy(down ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
  scroll_->setHorizontalScrollBarPolicy(across ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
  resize((whole + QSize(down ? bar : 0, across ? bar : 0)).boundedTo(room));
}

GridWindow::~GridWindow() = default;

void GridWindow::buildCells() {
  if (built_) return;
  built_ = true;
  QFont small = font();
  small.setPointSizeF(small.pointSizeF() * 0.85);
  for (int i = 0; i < kModuleCount; ++i) {
    auto* cell = new QLineEdit(texts_[static_cast<std::size_t>(i)], canvas_);
    cell->setObjectName(QStringLiteral("Text1(%1)").arg(i));
    cell->setFont(small);
    cell->setGeometry(cellGeometry(i));
    cell->setReadOnly(true);
    cells_[static_cast<std::size_t>(i)] = cell;
    applyLook(i);
    cell->show();
  }
  for (int n = 0; n < kModuleCount / kBlockRows; ++n) {
    const int column = n / 4;
    const int block = n % 4;
    auto* label = new QLabel(QString::number(n * kBlockRows + 1), canvas_);
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
  fitWidth(px(kWideWidth));
  more_->setEnabled(false);
}

void GridWindow::closeEvent(QCloseEvent* event) {
  event->accept();
  emit closing();
}

}  // namespace zelta
