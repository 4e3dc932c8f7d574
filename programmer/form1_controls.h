// The controls of the programmer's main window, built once with their names,
// captions and initial texts, and the twenty timers of the window. Holding
// them in one plain struct lets each procedure class reach the controls it
// works on without owning the window.
#pragma once

#include <QString>
#include <array>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QWidget;

namespace zelta {
class Clock;
class Lamp;
class Timer;
}  // namespace zelta

namespace zelta::programmer {

struct Form1Controls {
  QLabel* label1 = nullptr;  // first title / status line
  QLabel* label2 = nullptr;  // second title / status line
  QLabel* label3 = nullptr;
  QLabel* label4 = nullptr;
  QLabel* label5 = nullptr;
  QLabel* label6 = nullptr;
  QLabel* label7 = nullptr;
  QLabel* label8 = nullptr;
  QLabel* label9 = nullptr;
  QLabel* label10 = nullptr;
  QLabel* label11 = nullptr;  // "Expert Mode"

  QComboBox* combo2 = nullptr;
  QPushButton* command36 = nullptr;  // Open
  QPushButton* command38 = nullptr;  // Close
  QPushButton* command28 = nullptr;  // Quit
  Lamp* txanz = nullptr;
  Lamp* rxanz = nullptr;

  QGroupBox* frame4 = nullptr;  // Control
  QRadioButton* option1 = nullptr;  // Automatic Mode
  QRadioButton* option2 = nullptr;  // Manual Mode
  QRadioButton* option3 = nullptr;  // Line Check

  QGroupBox* frame1 = nullptr;  // Automatic
  QLineEdit* text2 = nullptr;   // Start Address
  QLineEdit* text3 = nullptr;   // End Address
  QCheckBox* check1 = nullptr;
  QPushButton* command6 = nullptr;  // Start
  QPushButton* command5 = nullptr;  // Stop

  QGroupBox* frame3 = nullptr;  // Modul Search
  QLineEdit* text5 = nullptr;
  QPushButton* command7 = nullptr;  // Start
  QPushButton* command4 = nullptr;  // Stop

  QGroupBox* frame5 = nullptr;  // Address Search
  QPushButton* command3 = nullptr;

  QGroupBox* frame2 = nullptr;  // Manual
  QLineEdit* text4 = nullptr;   // Current Address
  QLineEdit* text1 = nullptr;   // New Adress
  QPushButton* command2 = nullptr;  // Set
  QPushButton* command1 = nullptr;  // Values

  QGroupBox* frame7 = nullptr;  // Line Check
  QRadioButton* option4 = nullptr;  // Send Line
  QRadioButton* option5 = nullptr;  // Receive Line
  QPushButton* command8 = nullptr;  // Start
  QPushButton* command9 = nullptr;  // Stop
  QPushButton* receiveInfo = nullptr;  // b_Receive_Info

  QGroupBox* frame6 = nullptr;  // Version

  std::array<Timer*, 21> timers{};  // Timer1 .. Timer20 at their numbers
  Timer& timer(int n) const { return *timers.at(static_cast<std::size_t>(n)); }
};

// Builds every control as a child of form, named and captioned, all timers
// created disabled with their intervals.
Form1Controls buildForm1(QWidget& form, Clock& clock);

}  // namespace zelta::programmer
