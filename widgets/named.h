// Gives a new widget or action the object name by which the program, its
// tests and its users' scripts find it, and hands it back for placing.
#pragma once

#include <QString>

namespace zelta {

template <class W>
W* named(W* w, const char* name) {
  w->setObjectName(QString::fromLatin1(name));
  return w;
}

}  // namespace zelta
