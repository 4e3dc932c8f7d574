// Keeps the two module value windows of the programmer: each is made when it
// is first shown or first written to (hidden in that case), lives until it is
// closed, and is closed with the main window. Fills both from a collective
// reply and the extended one from an impedance reply.
#pragma once

#include <QPointer>

#include "programmer/value_window.h"
#include "protocol/decoders.h"

namespace zelta {
class Environment;
class MessageBoxes;
}  // namespace zelta

namespace zelta::programmer {

class ValueWindows {
 public:
  ValueWindows(MessageBoxes& boxes, const Environment& environment);
  ~ValueWindows();
  ValueWindows(const ValueWindows&) = delete;
  ValueWindows& operator=(const ValueWindows&) = delete;

  BasicValueWindow& form2();
  ExtendedValueWindow& form3();
  void show(QWidget& window);

  // up_sammel_auswert: address, values, status verdict and notices.
  void showCollective(const decode::CollectiveReading& reading);
  // up_z_auswert
  void showImpedance(double milliohm);
  void clearValues();
  void hideNotices();
  void closeAll();

 private:
  MessageBoxes& boxes_;
  const Environment& environment_;
  QPointer<BasicValueWindow> form2_;
  QPointer<ExtendedValueWindow> form3_;
};

// A number as the value windows show it: general form, the locale's
// decimal separator.
QString generalText(double value);

}  // namespace zelta::programmer
