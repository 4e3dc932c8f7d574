// ZELTA_Reader: the main window on the desktop platform.
#include <QApplication>

#include "platform/desktop_platform.h"
#include "reader/reader_window.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName("ZELTA_Reader");
  zelta::DesktopPlatform platform(QStringLiteral("ZELTA_Reader"));
  zelta::ReaderWindow window(platform.get());
  window.show();
  return QApplication::exec();
}
