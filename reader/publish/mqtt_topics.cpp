#include "mqtt_topics.h"

#include <QJsonDocument>
#include <QJsonObject>

#include "pass_summary.h"

namespace zelta {

TopicTree::TopicTree(const QString& site, const QString& string)
    : base_(QStringLiteral("zelta/%1/%2").arg(level(site), level(string))) {}

QString TopicTree::reading(int address, ValueKind kind) const {
  return QStringLiteral("%1/%2/%3").arg(base_).arg(address).arg(QLatin1String(topicKindName(kind)));
}

QString TopicTree::level(const QString& name) {
  QString out = name.trimmed();
  for (QChar& ch : out)
    if (ch == u'/' || ch == u'+' || ch == u'#' || ch.category() == QChar::Other_Control) ch = u'_';
  return out.isEmpty() ? QStringLiteral("_") : out;
}

const char* topicKindName(ValueKind kind) {
  switch (kind) {
    case ValueKind::Voltage:
      return "voltage";
    case ValueKind::Temperature:
      return "temperature";
    case ValueKind::Impedance:
      return "impedance";
    case ValueKind::ModuleType:
      return "type";
    case ValueKind::Software:
      return "sw";
    case ValueKind::Hardware:
      return "hw";
  }
  return "";
}

QString unitOf(ValueKind kind) {
  switch (kind) {
    case ValueKind::Voltage:
      return QStringLiteral("V");
    case ValueKind::Temperature:
      return QStringLiteral("°C");
    case ValueKind::Impedance:
      return QStringLiteral("mΩ");
    default:
      return {};
  }
}

QString payloadTime(const QDateTime& time) { return time.toUTC().toString(Qt::ISODateWithMs); }

QByteArray readingPayload(ValueKind kind, const StoredValue& value, const QDateTime& time) {
  QJsonObject o;
  if (const double* number = std::get_if<double>(&value))
    o["value"] = *number;
  else if (const QString* text = std::get_if<QString>(&value))
    o["value"] = *text;
  else
    o["value"] = QJsonValue::Null;
  o["unit"] = unitOf(kind);
  o["time"] = payloadTime(time);
  return QJsonDocument(o).toJson(QJsonDocument::Compact);
}

QByteArray summaryPayload(const PassSummary& pass, const QDateTime& time) {
  QJsonObject o;
  o["kind"] = QLatin1String(topicKindName(pass.kind));
  o["unit"] = unitOf(pass.kind);
  if (pass.numbers > 0) {
    o["min"] = pass.min;
    o["max"] = pass.max;
    o["mean"] = pass.sum / pass.numbers;
    o["spread"] = pass.max - pass.min;
  }
  o["answered"] = pass.answered;
  o["missing"] = pass.missing;
  o["time"] = payloadTime(time);
  return QJsonDocument(o).toJson(QJsonDocument::Compact);
}

}  // namespace zelta
