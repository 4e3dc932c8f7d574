// The port a program opened last, kept between runs: put back into the port
// box at start (a first run keeps the box as it is), noted at each
// successful Open.
#pragma once

#include <QString>

class QComboBox;

namespace zelta {

class Settings;

void restoreLastPort(const Settings& settings, QComboBox& combo);
// portName opened port number po (or the device portName names): remember
// what opens it again.
void noteLastPort(Settings& settings, const QString& portName, const QString& po);

}  // namespace zelta
