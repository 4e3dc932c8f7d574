// Modal message boxes of the programs. While a box is open the program's
// timers do not tick (the clock is held), so a procedure that asks a question
// from a timer tick is never asked twice at once.
#pragma once

#include <QString>

class QWidget;

namespace zelta {

class Clock;

enum class BoxIcon { None, Information, Critical, Question, Exclamation };
enum class BoxButtons { Ok, YesNo };
enum class BoxAnswer { Ok, Yes, No };

struct BoxRequest {
  QString text;
  QString title;
  BoxIcon icon = BoxIcon::None;
  BoxButtons buttons = BoxButtons::Ok;
  // Shown under the text, e.g. the reason the system gave for a failure.
  QString detail{};
};

class MessageBoxes {
 public:
  explicit MessageBoxes(Clock& clock) : clock_(clock) {}
  virtual ~MessageBoxes() = default;

  BoxAnswer show(QWidget* owner, const BoxRequest& request);

 protected:
  virtual BoxAnswer present(QWidget* owner, const BoxRequest& request) = 0;

 private:
  Clock& clock_;
};

}  // namespace zelta
