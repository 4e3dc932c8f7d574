// What the programs remember between runs: the last port, the logging
// options and other choices of the user. Keys are plain texts such as
// "logging/directory". A first run finds nothing stored and starts as the
// programs always have.
#pragma once

#include <QString>
#include <QVariant>

namespace zelta {

class Settings {
 public:
  virtual ~Settings() = default;
  virtual bool contains(const QString& key) const = 0;
  // The stored value, or fallback when nothing is stored under key.
  virtual QVariant value(const QString& key, const QVariant& fallback = {}) const = 0;
  virtual void setValue(const QString& key, const QVariant& value) = 0;
};

}  // namespace zelta
