// What a program says about itself outside its windows: its name and version
// for --help and --version, the desktop entry it belongs to, and the icon that
// every one of its windows shows.
#pragma once

#include <QString>
#include <cstdio>
#include <optional>

namespace zelta {

struct ProgramIdentity {
  QString name;       // the program's file and application name, "ZELTA_Reader"
  QString version;    // as the program's own windows show it
  QString desktopId;  // id of its desktop entry and AppStream data, "org.zelta.Reader"
  QString usage;      // the --help text, ending in a line break
};

// A command line that is exactly "--help" or "--version" is answered here: the
// text goes to `out` and the exit status comes back. Anything else (no
// arguments, the program's own options, "--help" among others) is the
// program's to handle: nothing is printed and nothing returned.
std::optional<int> answerHelpOrVersion(const ProgramIdentity& program, int argc, const char* const* argv,
                                       std::FILE* out);

// Names the running application after the program and gives all its windows
// the program's icon (resources ":/icons/<desktopId>-48.png" and -256.png,
// built in from desktop/icons). Needs the application object.
void applyIdentity(const ProgramIdentity& program);

}  // namespace zelta
