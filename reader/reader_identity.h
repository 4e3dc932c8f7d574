// Who ZELTA_Reader is outside its windows: name, version (the one its Help
// box shows), desktop id and the --help text.
#pragma once

#include "widgets/program_identity.h"

namespace zelta {

ProgramIdentity readerIdentity();

}  // namespace zelta
