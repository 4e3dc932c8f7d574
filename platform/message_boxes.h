// Modal message boxes of the programs. One box at a time, modal to the whole
// program. A box opened by a timer's tick holds that timer alone until the box
// closes (its next tick then comes one full interval later), so a procedure
// that asks from a tick is never asked twice at once; every other timer goes
// on. A box asked for while another is on screen (by a tick or a received byte
// that ran under it) waits until that one is closed.
#pragma once

#include <QString>

class QWidget;

namespace zelta {

class Clock;

enum class BoxIcon { None, Information, Critical, Question, Exclamation };
enum class BoxButtons { Ok, YesNo };
enum class BoxAnswer { Ok, Yes, No };

struct BoxRequest {
  QString text{};
  QString title{};  // empty: the program's name
  BoxIcon icon = BoxIcon::None;
  BoxButtons buttons = BoxButtons::Ok;
  // Yes/No boxes: the button that Enter presses (Escape always answers No).
  BoxAnswer defaultButton = BoxAnswer::Yes;
  // Shown under the text, e.g. why an operation failed.
  QString detail{};
  // Each line of the text shown as written, never wrapped inside.
  bool keepLines = false;
};

class MessageBoxes {
 public:
  explicit MessageBoxes(Clock& clock) : clock_(clock) {}
  virtual ~MessageBoxes() = default;

  BoxAnswer show(QWidget* owner, const BoxRequest& request);

 protected:
  // Shows the box and returns the answer; calls closed() as soon as the box
  // has left the screen.
  virtual BoxAnswer present(QWidget* owner, const BoxRequest& request) = 0;
  // Returns once the box on screen has been closed (or at least made a step
  // towards it: show() asks again).
  virtual void waitForClose(const BoxRequest& waiting) = 0;
  void closed() { onScreen_ = false; }
  bool onScreen() const { return onScreen_; }

 private:
  Clock& clock_;
  bool onScreen_ = false;
};

}  // namespace zelta
