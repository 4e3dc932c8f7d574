#include "monitor/frame_monitor_window.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPalette>
#include <QPushButton>
#include <QScrollBar>
#include <QSpinBox>
#include <QTableView>
#include <QVBoxLayout>
#include <algorithm>

#include "monitor/event_row_delegate.h"
#include "monitor/event_table_model.h"
#include "monitor/frame_export.h"
#include "monitor/idle_line_refresh.h"
#include "platform/platform.h"
#include "widgets/cached_scroll_bar_style.h"
#include "widgets/named.h"

namespace zelta::monitor {
namespace {

constexpr const char* kSaveDirSetting = "monitor/saveDirectory";

int keptSetting(const Settings& settings) {
  bool ok = false;
  const int n = settings.value(QString::fromLatin1(kKeepSetting), kDefaultKeep).toInt(&ok);
  return ok ? std::clamp(n, kMinKeep, kMaxKeep) : kDefaultKeep;
}

QString count(std::uint64_t n) { return QLocale().toString(static_cast<qulonglong>(n)); }

}  // namespace

FrameMonitorWindow::FrameMonitorWindow(BusEvents& events, Platform& platform,
                                       const QString& programName, QWidget* parent)
    : QWidget(parent, Qt::Window),
      events_(events),
      platform_(platform),
      programName_(programName),
      ring_(static_cast<std::size_t>(keptSetting(platform.settings))) {
  setObjectName(QStringLiteral("FrameMonitor"));
  setWindowTitle(QStringLiteral("Frame Monitor - ") + programName);
  setAttribute(Qt::WA_DeleteOnClose);
  model_ = new EventTableModel(ring_, this);

  pause_ = named(new QPushButton(QStringLiteral("Pause")), "Monitor_Pause");
  pause_->setCheckable(true);
  clear_ = named(new QPushButton(QStringLiteral("Clear")), "Monitor_Clear");
  address_ = named(new QLineEdit, "Monitor_Address");
  address_->setPlaceholderText(QStringLiteral("all, or 7, 1-24"));
  address_->setToolTip(QStringLiteral(
      "Addresses to show, e.g. 7 or 1-24 or 3, 9. Dropped bytes and missing answers count "
      "for the address that was asked."));
  address_->setMaximumWidth(120);
  command_ = named(new QComboBox, "Monitor_Command");
  command_->addItem(QStringLiteral("All commands"), -1);
  for (std::uint8_t code : knownCommands())
    command_->addItem(QStringLiteral("0x%1 %2").arg(
                          QString::number(code, 16).toUpper().rightJustified(2, QLatin1Char('0')),
                          commandName(code)),
                      int(code));
  find_ = named(new QLineEdit, "Monitor_Find");
  find_->setPlaceholderText(QStringLiteral("text or bytes"));
  findNext_ = named(new QPushButton(QStringLiteral("Find Next")), "Monitor_FindNext");

  table_ = named(new QTableView, "Monitor_Table");
  table_->setModel(model_);
  table_->setItemDelegate(new EventRowDelegate(table_));
  table_->setSelectionBehavior(QAbstractItemView::SelectRows);
  table_->setSelectionMode(QAbstractItemView::SingleSelection);
  table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  table_->setWordWrap(false);
  table_->verticalHeader()->hide();
  // Fixed row heights: the view never measures the rows it does not show.
  table_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  table_->verticalHeader()->setDefaultSectionSize(table_->fontMetrics().height() + 4);
  const int widths[] = {80, 34, 270, 60, 150, 330};
  for (int c = 0; c < 6; ++c) table_->setColumnWidth(c, widths[c]);
  table_->horizontalHeader()->setStretchLastSection(true);
  cacheScrollBarPictures(*table_);

  // A read-only line that looks like a label: its text changes at every
  // refresh, and a label would have the whole window laid out again each time.
  status_ = named(new QLineEdit, "Monitor_Status");
  status_->setReadOnly(true);
  status_->setFrame(false);
  status_->setFocusPolicy(Qt::NoFocus);
  QPalette flat = status_->palette();
  flat.setColor(QPalette::Base, flat.color(QPalette::Window));
  status_->setPalette(flat);
  note_ = named(new QLabel, "Monitor_Note");
  keep_ = named(new QSpinBox, "Monitor_Keep");
  keep_->setRange(kMinKeep, kMaxKeep);
  keep_->setSingleStep(1000);
  keep_->setGroupSeparatorShown(true);
  keep_->setValue(static_cast<int>(ring_.capacity()));
  saveText_ = named(new QPushButton(QStringLiteral("Save as Text...")), "Monitor_SaveText");
  saveCsv_ = named(new QPushButton(QStringLiteral("Save as CSV...")), "Monitor_SaveCsv");

  auto* tools = new QHBoxLayout;
  tools->addWidget(pause_);
  tools->addWidget(clear_);
  tools->addSpacing(12);
  tools->addWidget(new QLabel(QStringLiteral("Address:")));
  tools->addWidget(address_);
  tools->addWidget(new QLabel(QStringLiteral("Command:")));
  tools->addWidget(command_);
  tools->addSpacing(12);
  tools->addWidget(new QLabel(QStringLiteral("Find:")));
  tools->addWidget(find_, 1);
  tools->addWidget(findNext_);

  auto* bottom = new QHBoxLayout;
  bottom->addWidget(note_, 1);
  bottom->addWidget(new QLabel(QStringLiteral("Keep last")));
  bottom->addWidget(keep_);
  bottom->addWidget(new QLabel(QStringLiteral("events")));
  bottom->addSpacing(12);
  bottom->addWidget(saveText_);
  bottom->addWidget(saveCsv_);

  auto* whole = new QVBoxLayout(this);
  whole->addLayout(tools);
  whole->addWidget(table_, 1);
  whole->addLayout(bottom);
  whole->addWidget(status_);
  resize(1060, 520);

  connect(pause_, &QPushButton::toggled, this, [this](bool on) {
    paused_ = on;
    pause_->setText(on ? QStringLiteral("Resume") : QStringLiteral("Pause"));
    showStatus();
  });
  connect(clear_, &QPushButton::clicked, this, &FrameMonitorWindow::clear);
  connect(address_, &QLineEdit::textChanged, this, &FrameMonitorWindow::applyFilter);
  connect(command_, &QComboBox::currentIndexChanged, this, &FrameMonitorWindow::applyFilter);
  connect(findNext_, &QPushButton::clicked, this, &FrameMonitorWindow::findNext);
  connect(find_, &QLineEdit::returnPressed, this, &FrameMonitorWindow::findNext);
  connect(keep_, &QSpinBox::valueChanged, this, &FrameMonitorWindow::keepChanged);
  connect(saveText_, &QPushButton::clicked, this, [this] { save(ExportFormat::Text); });
  connect(saveCsv_, &QPushButton::clicked, this, [this] { save(ExportFormat::Csv); });

  showStatus();
  events_.subscribe(this);
  // Subscribed after the window, so a request is in the ring before the redraw it sets off.
  (new IdleLineRefresh(events_, platform_.clock, QStringLiteral("Monitor_Refresh"), kRefreshMs,
                       [this] { refresh(); }, this))
      ->start();
}

FrameMonitorWindow::~FrameMonitorWindow() { events_.unsubscribe(this); }

void FrameMonitorWindow::busEvent(const BusEvent& event) {
  const int asked = lastCommand_;
  if (event.kind == BusEvent::Kind::Sent) lastCommand_ = frameCommand(event.frame);
  if (paused_) {
    ++notKept_;
  } else {
    switch (event.kind) {
      case BusEvent::Kind::CrcError: ++crcErrors_; break;
      case BusEvent::Kind::Dropped: ++droppedBytes_; break;
      case BusEvent::Kind::Missing: ++missingAnswers_; break;
      default: break;
    }
    ring_.push({event, event.kind == BusEvent::Kind::Sent ? lastCommand_ : asked});
  }
}

void FrameMonitorWindow::refresh() {
  QScrollBar* bar = table_->verticalScrollBar();
  const bool following = bar->value() == bar->maximum();
  model_->refresh();
  if (following) table_->scrollToBottom();
  showStatus();
}

void FrameMonitorWindow::clear() {
  ring_.clear();
  crcErrors_ = droppedBytes_ = missingAnswers_ = notKept_ = 0;
  note_->clear();
  refresh();
}

void FrameMonitorWindow::applyFilter() {
  const auto addresses = EventFilter::parseAddresses(address_->text());
  if (!addresses) {
    note_->setText(QStringLiteral("Address: give a number or a range, e.g. 7 or 1-24 or 3, 9"));
    return;
  }
  note_->clear();
  EventFilter filter;
  filter.setAddresses(*addresses);
  const int code = command_->currentData().toInt();
  if (code >= 0) filter.setCommand(static_cast<std::uint8_t>(code));
  model_->setFilter(filter);
  table_->scrollToBottom();
  showStatus();
}

void FrameMonitorWindow::findNext() {
  refresh();
  const QString wanted = find_->text().trimmed();
  const int rows = model_->rowCount();
  if (wanted.isEmpty() || rows == 0) return;
  const QModelIndex current = table_->currentIndex();
  const int start = current.isValid() ? current.row() + 1 : 0;
  for (int i = 0; i < rows; ++i) {
    const int row = (start + i) % rows;
    const EventText& text = model_->textAt(row);
    for (int c = 0; c < static_cast<int>(Column::Count); ++c) {
      if (text[static_cast<Column>(c)].contains(wanted, Qt::CaseInsensitive)) {
        table_->selectRow(row);
        table_->scrollTo(model_->index(row, 0));
        note_->clear();
        return;
      }
    }
  }
  note_->setText(QStringLiteral("\"%1\" not found").arg(wanted));
}

void FrameMonitorWindow::save(ExportFormat format) {
  refresh();
  const bool csv = format == ExportFormat::Csv;
  const QString directory =
      platform_.settings
          .value(QString::fromLatin1(kSaveDirSetting), platform_.environment.documentsDir())
          .toString();
  const QString suggested =
      QDir(directory).filePath(programName_ + (csv ? "_frames.csv" : "_frames.txt"));
  const int rows = model_->rowCount();
  const SaveResult result = platform_.files.save(
      this, csv ? QStringLiteral("Save frames as CSV") : QStringLiteral("Save frames as text"),
      suggested, csv ? QStringLiteral("CSV files (*.csv)") : QStringLiteral("Text files (*.txt)"),
      exportContents(format, *model_));
  switch (result.outcome) {
    case SaveResult::Outcome::Cancelled: return;
    case SaveResult::Outcome::Failed:
      note_->setText(QStringLiteral("Could not write %1: %2").arg(result.path, result.error));
      return;
    case SaveResult::Outcome::Saved:
      platform_.settings.setValue(QString::fromLatin1(kSaveDirSetting),
                                  QFileInfo(QDir::fromNativeSeparators(result.path)).absolutePath());
      note_->setText(QStringLiteral("%1 events written to %2").arg(count(rows), result.path));
      return;
  }
}

void FrameMonitorWindow::keepChanged(int n) {
  ring_.setCapacity(static_cast<std::size_t>(n));
  platform_.settings.setValue(QString::fromLatin1(kKeepSetting), n);
  refresh();
}

void FrameMonitorWindow::showStatus() {
  QString text = QStringLiteral(
                     "%1 of %2 kept events shown. Since opened or cleared: %3 "
                     "check-byte errors, %4 dropped bytes, %5 missing answers.")
                     .arg(count(model_->rowCount()), count(ring_.size()), count(crcErrors_),
                          count(droppedBytes_), count(missingAnswers_));
  if (paused_ || notKept_ > 0)
    text += QStringLiteral(" %1 events not kept while paused.").arg(count(notKept_));
  status_->setText(text);
  status_->setCursorPosition(0);  // the start of a long text in view
}

}  // namespace zelta::monitor
