// The file saver on screen: Qt's save dialog, then the file replaced as a
// whole (written aside and renamed), so a failed write leaves the old one.
#pragma once

#include "platform/save_file.h"

namespace zelta {

class QtFileSaver final : public FileSaver {
 public:
  SaveResult save(QWidget* owner, const QString& title, const QString& suggestedName,
                  const QString& filter, const QByteArray& contents) override;
};

}  // namespace zelta
