// Every value the reader files in Scan Mode, told once the store, the
// module's cell and the log have it, for views and outputs that follow the
// string (overview, statistics, trend, publishing). The scan and the store
// know none of them; they connect to this object's signals.
#pragma once

#include <QObject>
#include <QString>

#include "value_kind.h"
#include "value_store.h"

namespace zelta {

struct Reading {
  ValueKind kind = ValueKind::Voltage;
  int address = 0;    // 1 to 340
  StoredValue value;  // the number or text as filed
  QString text;       // as shown in the cell and written to the log
  qint64 timeMs = 0;  // the program's clock
};

class ReadingEvents : public QObject {
  Q_OBJECT
 public:
  using QObject::QObject;

 signals:
  void stored(const zelta::Reading& reading);
  // "Clear old values at start" emptied every stored value.
  void cleared();
  // The scan stopped (Stop, Close, Manual Mode) and its last request has
  // been answered or has timed out: the pass under way is complete.
  void scanStopped();
};

}  // namespace zelta
