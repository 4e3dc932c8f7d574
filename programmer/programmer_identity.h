// Who ZELTA_Programmer is outside its windows: name, version (the one its
// "Version" frame shows), desktop id and the --help text.
#pragma once

#include "widgets/program_identity.h"

namespace zelta::programmer {

ProgramIdentity programmerIdentity();

}  // namespace zelta::programmer
