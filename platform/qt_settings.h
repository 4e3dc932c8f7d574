// Settings kept in the user's settings store of the platform (the registry
// on Windows, a file under ~/.config elsewhere), one store per program.
#pragma once

#include <QSettings>

#include "platform/settings.h"

namespace zelta {

class QtSettings final : public Settings {
 public:
  // Stored under organisation "ZELTA", application programName.
  explicit QtSettings(const QString& programName);

  bool contains(const QString& key) const override;
  QVariant value(const QString& key, const QVariant& fallback = {}) const override;
  void setValue(const QString& key, const QVariant& value) override;

 private:
  QSettings store_;
};

}  // namespace zelta
