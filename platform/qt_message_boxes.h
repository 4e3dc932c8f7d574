// Message boxes on screen: a modal QMessageBox with the icon, the title (the
// program's name when there is none) and OK or Yes/No. Timers are held while
// it is open (see MessageBoxes).
#pragma once

#include "platform/message_boxes.h"

namespace zelta {

class QtMessageBoxes final : public MessageBoxes {
 public:
  using MessageBoxes::MessageBoxes;

 protected:
  BoxAnswer present(QWidget* owner, const BoxRequest& request) override;
};

}  // namespace zelta
