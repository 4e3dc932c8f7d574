// Opens a finished document (a PDF report) in the user's own viewer. Returns
// false when the platform has no way to show it.
#pragma once

#include <QString>

namespace zelta {

class DocumentOpener {
 public:
  virtual ~DocumentOpener() = default;
  virtual bool open(const QString& path) = 0;
};

}  // namespace zelta
