// The program's surroundings as the platform reports them. Paths use the
// platform's own separators; the argument string is the arguments after the
// program name joined with single blanks.
#pragma once

#include <QStringList>

#include "platform/environment.h"

namespace zelta {

class QtEnvironment final : public Environment {
 public:
  // arguments as in main's argv, program name first; by default the
  // application's own.
  QtEnvironment();
  explicit QtEnvironment(QStringList arguments);

  QString homeDir() const override;
  QString documentsDir() const override;
  QString currentDir() const override;
  QString argumentString() const override;

 private:
  QStringList arguments_;
};

}  // namespace zelta
