#include "message_boxes.h"

#include "platform/clock.h"

namespace zelta {

BoxAnswer MessageBoxes::show(QWidget* owner, const BoxRequest& request) {
  clock_.hold();
  struct Release {
    Clock& c;
    ~Release() { c.release(); }
  } release{clock_};
  return present(owner, request);
}

}  // namespace zelta
