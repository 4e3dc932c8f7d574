// ZELTA_Reader: builds the platform pieces on the real clock and shows the
// main window.
#include <QApplication>

#include "platform/platform.h"
#include "platform/qt_environment.h"
#include "platform/qt_folder_chooser.h"
#include "platform/qt_message_boxes.h"
#include "platform/qt_serial_line.h"
#include "platform/qt_tone.h"
#include "platform/real_clock.h"
#include "reader/reader_window.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName("ZELTA_Reader");

  zelta::RealClock clock;
  zelta::QtSerialLine line;
  zelta::QtMessageBoxes boxes(clock);
  zelta::QtTone tone;
  zelta::QtFolderChooser folders;
  zelta::QtEnvironment environment;
  zelta::Platform platform{clock, line, boxes, tone, folders, environment};

  zelta::ReaderWindow window(platform);
  window.show();
  return QApplication::exec();
}
