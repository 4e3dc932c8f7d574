// Message boxes on screen: a QMessageBox modal to the whole program, with the
// icon, the title (the program's name when there is none), OK or Yes/No and
// the detail text. The box has no parent, so no window that closes can take
// it along; it stands over its owner, is at least as wide as its title, and
// takes the keyboard focus when it appears, also when a timer opened it.
#pragma once

#include <QPointer>

#include "platform/message_boxes.h"

class QMessageBox;

namespace zelta {

class QtMessageBoxes final : public MessageBoxes {
 public:
  using MessageBoxes::MessageBoxes;

 protected:
  BoxAnswer present(QWidget* owner, const BoxRequest& request) override;
  void waitForClose(const BoxRequest& waiting) override;

 private:
  QPointer<QMessageBox> current_;
};

}  // namespace zelta
