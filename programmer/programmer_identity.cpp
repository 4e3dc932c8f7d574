#include "programmer/programmer_identity.h"

namespace zelta::programmer {

ProgramIdentity programmerIdentity() {
  return {QStringLiteral("ZELTA_Programmer"), QStringLiteral("1.18"),
          QStringLiteral("org.zelta.Programmer"),
          QStringLiteral(R"(Usage: ZELTA_Programmer [-e | -E | -se | -SE | -? | --help | --version]

Installs a string of battery modules on one serial bus (9600 baud, 8N1):
gives the modules their addresses, one after the other as the installer
presses each module's button, or one by hand; resets addresses to 0; finds a
module by its address; reads a lone module's address; checks the bus wiring
in both directions; shows one module's values.

  -e, -E      expert level 1: the module value window opens at start, and a
              manual address is set without asking
  -se, -SE    expert level 2: the extended value window opens at start, the
              program opens in Manual Mode and automatic addressing is locked
  -?          a short reminder of the expert options, then a normal start
  --help      show this text and exit
  --version   show the version and exit

Exactly one of these, written as shown, is understood; anything else starts
the installer's level. On Linux, port COMn is the device named by the
environment variable ZELTA_COMn, or /dev/ttyS<n-1> when it is not set.
)")};
}

}  // namespace zelta::programmer
