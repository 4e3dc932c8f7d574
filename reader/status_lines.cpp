#include "status_lines.h"

#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QMainWindow>

#include "csv_logger.h"
#include "widgets/eliding_label.h"
#include "widgets/line_watch.h"
#include "widgets/port_chooser.h"

namespace zelta {

ReaderStatusLines::ReaderStatusLines(QMainWindow& form1, QComboBox& combo2, SerialLine& line,
                                     PortCatalog* ports, const CsvLogger& logger,
                                     std::function<QString(const QString&)> portNumberOf)
    : QObject(&form1), logger_(logger) {
  QWidget* central = form1.centralWidget();
  auto* grid = qobject_cast<QGridLayout*>(central->layout());

  line_ = new LineWatch(line, central);
  auto* device = new ElidingLabel(QStringLiteral("PortDevice"), central);
  logging_ = new ElidingLabel(QStringLiteral("LoggingStatus"), central);
  logging_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  auto* row = new QHBoxLayout;
  row->addWidget(device, 1);
  row->addWidget(logging_, 1);
  const int first = grid->rowCount();
  grid->addWidget(&line_->redLine(), first, 0, 1, grid->columnCount());
  grid->addLayout(row, first + 1, 0, 1, grid->columnCount());

  ports_ = new PortChooser(combo2, *device, ports, std::move(portNumberOf));
  showLogging();
}

QString ReaderStatusLines::loggingText(const CsvLogger& logger) {
  if (!logger.loggingActive()) return QStringLiteral("Logging off");
  const QString file = logger.logFiles()[0];
  if (file.isEmpty()) return QStringLiteral("Logging on, no folder set");
  return QStringLiteral("Logging to %1")
      .arg(QDir::toNativeSeparators(QFileInfo(file).absolutePath()));
}

void ReaderStatusLines::showLogging() {
  const QString text = loggingText(logger_);
  logging_->setFullText(text);
}

}  // namespace zelta
