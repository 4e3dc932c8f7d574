#include "line_watch.h"

#include <QCoreApplication>
#include <QLabel>
#include <cstdio>

#include "platform/serial_line.h"

namespace zelta {

void tellStandardError(const QString& text) {
  const QString program = QCoreApplication::applicationName();
  const QString line = program.isEmpty() ? text : program + QStringLiteral(": ") + text;
  std::fprintf(stderr, "%s\n", line.toLocal8Bit().constData());
  std::fflush(stderr);
}

LineWatch::LineWatch(SerialLine& line, QWidget* parent)
    : QObject(parent), line_(line), redLine_(*new QLabel(parent)) {
  redLine_.setObjectName(QStringLiteral("LineStatus"));
  redLine_.setStyleSheet(QStringLiteral("color: red;"));
  redLine_.setWordWrap(true);
  // Wraps to the window's width instead of widening it.
  redLine_.setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
  redLine_.hide();
  connect(&line_, &SerialLine::lineFailed, this, &LineWatch::lost);
}

void LineWatch::opened(const QString& portName) {
  portName_ = portName;
  redLine_.clear();
  redLine_.hide();
}

QString LineWatch::openFailed(const QString& portName, const LineError& error) {
  const QString reason = explain(error);
  tellStandardError(QStringLiteral("cannot open %1: %2").arg(portName, reason));
  return reason;
}

void LineWatch::lost() {
  const LineError error = line_.lastError();
  const QString where = error.device.isEmpty() || error.device == portName_
                            ? portName_
                            : QStringLiteral("%1 (%2)").arg(portName_, error.device);
  const QString why =
      error.systemText.isEmpty() ? QStringLiteral("the device stopped answering") : error.systemText;
  const QString text =
      QStringLiteral("Line lost on %1: %2. Close, then Open again once it is back.").arg(where, why);
  redLine_.setText(text);
  redLine_.show();
  tellStandardError(text);
}

}  // namespace zelta
