// Everything a program window reaches outside itself, handed in when the
// window is built: production passes the Qt implementations, tests the fakes
// and a virtual clock.
#pragma once

#include "platform/clock.h"
#include "platform/document_opener.h"
#include "platform/environment.h"
#include "platform/folder_chooser.h"
#include "platform/message_boxes.h"
#include "platform/port_catalog.h"
#include "platform/save_file.h"
#include "platform/serial_line.h"
#include "platform/settings.h"
#include "platform/tone.h"

namespace zelta {

struct Platform {
  Clock& clock;
  SerialLine& line;
  MessageBoxes& boxes;
  Tone& tone;
  FolderChooser& folders;
  Environment& environment;
  Settings& settings;
  FileSaver& files;
  // Where finished reports are shown; none: the program says where it wrote them.
  DocumentOpener* documents = nullptr;
  // The ports present on the machine; none: the port lists hold the COM
  // names only.
  PortCatalog* ports = nullptr;
};

}  // namespace zelta
