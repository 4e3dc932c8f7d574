#include "scripted_message_boxes.h"

namespace zelta {

BoxAnswer ScriptedMessageBoxes::present(QWidget*, const BoxRequest& request) {
  asked_.push_back(request);
  if (whileOpen_) whileOpen_(request);
  if (!answers_.empty()) {
    const BoxAnswer a = answers_.front();
    answers_.pop_front();
    return a;
  }
  return request.buttons == BoxButtons::YesNo ? BoxAnswer::Yes : BoxAnswer::Ok;
}

}  // namespace zelta
