// The folder chooser on screen: Qt's directory dialog with a title, an owner
// window and a preselected start directory, directories only.
#pragma once

#include "platform/folder_chooser.h"

namespace zelta {

class QtFolderChooser final : public FolderChooser {
 public:
  FolderChoice choose(QWidget* owner, const QString& title, const QString& startDir) override;
};

}  // namespace zelta
