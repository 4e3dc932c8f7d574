// ZELTA_Reader: the main window on the desktop platform.
#include <QApplication>

#include "platform/desktop_platform.h"
#include "reader/reader_identity.h"
#include "reader/reader_window.h"

int main(int argc, char** argv) {
  const zelta::ProgramIdentity identity = zelta::readerIdentity();
  // Before the application object, so that these work without a display.
  if (const auto status = zelta::answerHelpOrVersion(identity, argc, argv, stdout)) return *status;
  QApplication app(argc, argv);
  zelta::applyIdentity(identity);
  zelta::DesktopPlatform platform(identity.name);
  zelta::ReaderWindow window(platform.get());
  window.show();
  return QApplication::exec();
}
