// The controls of the reader's main window, built once with their names,
// captions and frames, and held in one plain struct so that each procedure
// class reaches the controls it works on without owning the window.
#pragma once

#include <array>

class QAction;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QMainWindow;
class QPushButton;
class QRadioButton;

namespace zelta {

class Lamp;

struct ReaderControls {
  // "Scan Mode"
  QLabel* label37 = nullptr;               // kind of the current scan request
  QLabel* label21 = nullptr;               // address of the last request sent
  QCheckBox* check7 = nullptr;             // impedance sweeps
  QLineEdit* text1 = nullptr;              // impedance countdown, minutes
  QLineEdit* text8 = nullptr;              // start address
  QLineEdit* text45 = nullptr;             // end address
  QCheckBox* check1 = nullptr;             // clear old values at start
  QPushButton* command16 = nullptr;        // Start
  QPushButton* command17 = nullptr;        // Stop
  std::array<QRadioButton*, 3> option3{};  // Fast, Medium, Slow

  // "Manual Mode"
  QLineEdit* text2 = nullptr;        // manual address
  QPushButton* command15 = nullptr;  // Module Type
  QPushButton* command14 = nullptr;  // Software
  QPushButton* command13 = nullptr;  // Hardware
  QPushButton* command8 = nullptr;   // Voltage
  QPushButton* command56 = nullptr;  // Temperature
  QPushButton* command12 = nullptr;  // Impedance
  QPushButton* command23 = nullptr;  // module search Set
  QPushButton* command66 = nullptr;  // module search Reset

  // "Control"
  QRadioButton* option1 = nullptr;  // Scan Mode
  QRadioButton* option2 = nullptr;  // Manual Mode
  QComboBox* combo2 = nullptr;
  QPushButton* command36 = nullptr;  // Open
  QPushButton* command38 = nullptr;  // Close
  QPushButton* command28 = nullptr;  // Quit
  Lamp* txanz = nullptr;
  Lamp* rxanz = nullptr;

  // "Communication"
  Lamp* ok = nullptr;
  Lamp* ma = nullptr;
  Lamp* crc = nullptr;
  QLabel* label7 = nullptr;         // missing answers
  QLabel* label8 = nullptr;         // CRC errors
  QPushButton* command1 = nullptr;  // Reset

  // Red line under the frames while a log file cannot be written.
  QLabel* logStatus = nullptr;

  // Menus
  QAction* quit = nullptr;
  std::array<QAction*, 6> gridEntries{};  // in the order of kAllKinds
  QAction* loggingOptions = nullptr;
  std::array<QAction*, 3> revisions{};  // rev3_0, rev3_1, rev3_2
  QAction* help = nullptr;
};

// Builds every control into the window, named, captioned, laid out.
ReaderControls buildReaderControls(QMainWindow& form1);

}  // namespace zelta
