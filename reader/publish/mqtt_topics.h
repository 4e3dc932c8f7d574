// The topic tree and payloads this Reader publishes:
//   zelta/<site>/<string>/<address>/<kind>   one reading, JSON {value, unit, time}
//   zelta/<site>/<string>/summary            one pass of one kind, JSON
//   zelta/<site>/<string>/status             "online", or "offline" (also the last will)
// Site and string names become single topic levels: characters MQTT reserves
// ("/", "+", "#") and control characters are replaced by "_".
#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>

#include "reader/value_kind.h"
#include "reader/value_store.h"

namespace zelta {

struct PassSummary;

class TopicTree {
 public:
  TopicTree(const QString& site, const QString& string);

  QString reading(int address, ValueKind kind) const;
  QString summary() const { return base_ + QStringLiteral("/summary"); }
  QString status() const { return base_ + QStringLiteral("/status"); }

  // The text a user's name becomes as one topic level.
  static QString level(const QString& name);

 private:
  QString base_;
};

// "voltage", "temperature", "impedance", "type", "sw", "hw".
const char* topicKindName(ValueKind kind);
// "V", "°C", "mΩ"; empty for the kinds that are texts.
QString unitOf(ValueKind kind);

// Time in payloads: UTC, ISO 8601 with milliseconds.
QString payloadTime(const QDateTime& time);
QByteArray readingPayload(ValueKind kind, const StoredValue& value, const QDateTime& time);
QByteArray summaryPayload(const PassSummary& pass, const QDateTime& time);

}  // namespace zelta
