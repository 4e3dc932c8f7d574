#include "message_boxes.h"

#include "platform/clock.h"

namespace zelta {

BoxAnswer MessageBoxes::show(QWidget* owner, const BoxRequest& request) {
  // Held before waiting, so that the tick cannot come again while its box
  // waits for another one to close.
  const Clock::TickHold hold(clock_);
  while (onScreen_) waitForClose(request);
  onScreen_ = true;
  const BoxAnswer answer = present(owner, request);
  onScreen_ = false;
  return answer;
}

}  // namespace zelta
