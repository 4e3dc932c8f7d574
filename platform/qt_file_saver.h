// The save-file chooser on screen: Qt's save dialog, which asks before it
// lets the user pick a file that exists already.
#pragma once

#include "platform/save_file.h"

namespace zelta {

class QtFileSaver final : public FileSaver {
 public:
  SaveChoice choose(QWidget* owner, const QString& title, const QString& suggestedPath,
                    const QString& fileTypes) override;
};

}  // namespace zelta
