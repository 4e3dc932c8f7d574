// ZELTA_Programmer: the main window on the desktop platform.
#include <QApplication>

#include "platform/desktop_platform.h"
#include "programmer/programmer_window.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName("ZELTA_Programmer");
  zelta::DesktopPlatform platform(QStringLiteral("ZELTA_Programmer"));
  zelta::programmer::ProgrammerWindow window(platform.get());
  window.show();
  return QApplication::exec();
}
