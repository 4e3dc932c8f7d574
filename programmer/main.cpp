// ZELTA_Programmer: the real clock, serial line, message boxes, tone and
// environment handed to the main window.
#include <QApplication>

#include "platform/platform.h"
#include "platform/qt_environment.h"
#include "platform/qt_folder_chooser.h"
#include "platform/qt_message_boxes.h"
#include "platform/qt_serial_line.h"
#include "platform/qt_tone.h"
#include "platform/real_clock.h"
#include "programmer/programmer_window.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  zelta::RealClock clock;
  zelta::QtSerialLine line;
  zelta::QtMessageBoxes boxes(clock);
  zelta::QtTone tone;
  zelta::QtFolderChooser folders;
  zelta::QtEnvironment environment;
  zelta::Platform platform{clock, line, boxes, tone, folders, environment};

  zelta::programmer::ProgrammerWindow window(platform);
  window.show();
  return app.exec();
}
