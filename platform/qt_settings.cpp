#include "qt_settings.h"

namespace zelta {

QtSettings::QtSettings(const QString& programName)
    : store_(QSettings::UserScope, QStringLiteral("ZELTA"), programName) {}

bool QtSettings::contains(const QString& key) const { return store_.contains(key); }

QVariant QtSettings::value(const QString& key, const QVariant& fallback) const {
  return store_.value(key, fallback);
}

void QtSettings::setValue(const QString& key, const QVariant& value) {
  store_.setValue(key, value);
}

}  // namespace zelta
