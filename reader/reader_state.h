// The state the reader's main window shares between its port handling, the
// scan engine, the manual requests and the reply handling. Addresses copied
// from the address fields keep their text; arithmetic reads them leniently.
#pragma once

#include <QString>

namespace zelta {

struct ReaderState {
  int manuell = 0;  // 0 Scan Mode, 1 Manual Mode
  QString po;       // port number as text, cut from the port name
  double adr = 1;   // address of the next request
  int opt3 = 1;     // poll rate: 0 Fast, 1 Medium, 2 Slow
  QString start_adr = "1";
  QString end_adr = "2";
  int pollrate = 0;  // scan phase 1 to 6
  int fast = 0;      // 1 while answer-driven stepping is armed
};

}  // namespace zelta
