#include "flash_lamp.h"

#include <QLabel>

#include "number_text.h"
#include "platform/clock.h"
#include "widgets/lamp.h"

namespace zelta {

FlashLamp::FlashLamp(Lamp& lamp, Timer& timer, std::uint32_t bright, std::uint32_t dark)
    : lamp_(lamp), timer_(timer), bright_(bright), dark_(dark) {
  QObject::connect(&timer_, &Timer::tick, &timer_, [this] { darken(); });
}

void FlashLamp::flash() {
  lamp_.setColour(bright_);
  timer_.setEnabled(true);
}

void FlashLamp::darken() {
  lamp_.setColour(dark_);
  timer_.setEnabled(false);
}

void countUp(QLabel& label) {
  const double next = lenientNumber(label.text()) + 1;
  label.setText(next >= 1001 ? QStringLiteral("0") : generalText(next));
}

}  // namespace zelta
