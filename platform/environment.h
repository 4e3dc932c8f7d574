// What the programs read from their surroundings: the user's folders, the
// current directory and the command line after the program name.
#pragma once

#include <QString>

namespace zelta {

class Environment {
 public:
  virtual ~Environment() = default;
  virtual QString homeDir() const = 0;       // the user's home (profile) folder
  virtual QString documentsDir() const = 0;  // the user's Documents folder
  virtual QString currentDir() const = 0;
  // The whole argument string after the program name, as one text.
  virtual QString argumentString() const = 0;
};

}  // namespace zelta
