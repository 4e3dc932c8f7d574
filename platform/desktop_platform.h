// The platform of the desktop programs: the real clock and the Qt serial
// line, message boxes, tone, folder chooser, environment, settings, file
// saver, document viewer and the list of ports present, bundled for a
// program's main window.
#pragma once

#include "platform/platform.h"
#include "platform/qt_document_opener.h"
#include "platform/qt_environment.h"
#include "platform/qt_file_saver.h"
#include "platform/qt_folder_chooser.h"
#include "platform/qt_message_boxes.h"
#include "platform/qt_port_catalog.h"
#include "platform/qt_serial_line.h"
#include "platform/qt_settings.h"
#include "platform/qt_tone.h"
#include "platform/real_clock.h"

namespace zelta {

class DesktopPlatform {
 public:
  // programName names the program's own settings store.
  explicit DesktopPlatform(const QString& programName) : settings_(programName) {}

  Platform& get() { return platform_; }

 private:
  RealClock clock_;
  QtSerialLine line_;
  QtMessageBoxes boxes_{clock_};
  QtTone tone_;
  QtFolderChooser folders_;
  QtEnvironment environment_;
  QtSettings settings_;
  QtFileSaver files_;
  QtDocumentOpener documents_;
  QtPortCatalog ports_;
  Platform platform_{clock_,    line_,  boxes_,      tone_,  folders_, environment_,
                     settings_, files_, &documents_, &ports_};
};

}  // namespace zelta
