// The module value windows, both captioned "Modul Values": the basic one
// (Form2: address, voltage, temperature, status) and the extended one (Form3:
// the same plus internal resistance, the revision or calibration notice, the
// external-sensor note, a serial number and "Save" to "test.csv", which says
// under the button where it saved). "Quit" or
// the window frame closes and deletes a window; it is made afresh, empty, when
// next needed.
#pragma once

#include <QString>
#include <QWidget>

class QAction;
class QGridLayout;
class QLabel;
class QLineEdit;
class QVBoxLayout;

namespace zelta {
class ElidingLabel;
class Environment;
class MessageBoxes;
}  // namespace zelta

namespace zelta::programmer {

class ValueWindow : public QWidget {
  Q_OBJECT
 public:
  // Address label, voltage, temperature, status verdict ("Ok" / "Error").
  void showReading(std::uint16_t address, const QString& volts, const QString& celsius,
                   bool ok);
  // Values and address emptied, before a manual addressing run.
  virtual void clearValues();

 protected:
  ValueWindow(const QString& name, QWidget* parent);
  QVBoxLayout* body() const { return body_; }
  // Rows 0 to 3 hold address, voltage, temperature and status.
  QGridLayout* grid() const { return grid_; }
  QLineEdit* text1_ = nullptr;  // voltage
  QLineEdit* text2_ = nullptr;  // temperature
  QLineEdit* text3_ = nullptr;  // status
  QLabel* label7_ = nullptr;    // address

 private:
  QVBoxLayout* body_ = nullptr;
  QGridLayout* grid_ = nullptr;
};

class BasicValueWindow final : public ValueWindow {
  Q_OBJECT
 public:
  explicit BasicValueWindow(QWidget* parent = nullptr);
};

class ExtendedValueWindow final : public ValueWindow {
  Q_OBJECT
 public:
  ExtendedValueWindow(MessageBoxes& boxes, const Environment& environment,
                      QWidget* parent = nullptr);

  bool rev31() const;
  // "Check Modul revision" / "Modul is not calibrated", or hidden when empty.
  void showNotice(const QString& notice);
  void showExternalSensor(bool on);
  void hideNotices();
  void showImpedance(const QString& milliohm);
  void clearValues() override;

 private:
  void save();

  MessageBoxes& boxes_;
  const Environment& environment_;
  QLineEdit* text4_ = nullptr;   // Ri
  QLineEdit* text5_ = nullptr;   // serial number
  QLabel* label10_ = nullptr;    // external sensor
  QLabel* label12_ = nullptr;    // revision / calibration notice
  ElidingLabel* savedTo_ = nullptr;
  QAction* rev31_ = nullptr;
};

}  // namespace zelta::programmer
