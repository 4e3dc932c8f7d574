#include "reader/reader_identity.h"

namespace zelta {

ProgramIdentity readerIdentity() {
  return {QStringLiteral("ZELTA_Reader"), QStringLiteral("3.9.9"), QStringLiteral("org.zelta.Reader"),
          QStringLiteral(R"(Usage: ZELTA_Reader [--help | --version]

Reads and monitors a string of battery modules on one serial bus (9600 baud,
8N1): voltage, temperature, internal impedance, hardware and software revision
and module type, one module at a time or by scanning an address range, with
the values in tables and, when logging is on, in CSV files.

  --help      show this text and exit
  --version   show the version and exit

Any other arguments are ignored. On Linux, port COMn is the device named by
the environment variable ZELTA_COMn, or /dev/ttyS<n-1> when it is not set.
)")};
}

}  // namespace zelta
