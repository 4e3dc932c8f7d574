#include "programmer/value_windows.h"

#include <QLocale>

#include "protocol/numbers.h"

namespace zelta::programmer {

QString generalText(double value) {
  const QString point = QLocale().decimalPoint();
  const char separator = point.size() == 1 ? point.at(0).toLatin1() : '.';
  return QString::fromStdString(formatGeneral(value, separator ? separator : '.'));
}

ValueWindows::ValueWindows(MessageBoxes& boxes, const Environment& environment)
    : boxes_(boxes), environment_(environment) {}

ValueWindows::~ValueWindows() {
  delete form2_.data();
  delete form3_.data();
}

BasicValueWindow& ValueWindows::form2() {
  if (!form2_) form2_ = new BasicValueWindow;
  return *form2_;
}

ExtendedValueWindow& ValueWindows::form3() {
  if (!form3_) form3_ = new ExtendedValueWindow(boxes_, environment_);
  return *form3_;
}

void ValueWindows::show(QWidget& window) {
  window.show();
  window.raise();
}

void ValueWindows::showCollective(const decode::CollectiveReading& r) {
  ExtendedValueWindow& extended = form3();
  const decode::StatusVerdict verdict = decode::statusVerdict(r.status, r.error, extended.rev31());
  const QString volts = generalText(r.voltage);
  const QString celsius = generalText(r.temperature);
  form2().showReading(r.address, volts, celsius, verdict.ok);
  extended.showReading(r.address, volts, celsius, verdict.ok);
  extended.showNotice(QString::fromStdString(verdict.notice));
  extended.showExternalSensor(verdict.externalSensor);
}

void ValueWindows::showImpedance(double milliohm) { form3().showImpedance(generalText(milliohm)); }

void ValueWindows::clearValues() {
  form2().clearValues();
  form3().clearValues();
}

void ValueWindows::hideNotices() { form3().hideNotices(); }

void ValueWindows::closeAll() {
  if (form2_) form2_->close();
  if (form3_) form3_->close();
}

}  // namespace zelta::programmer
