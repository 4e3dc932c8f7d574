// Keeps the programs' windows on small screens: 1280 x 800 at 150 % scaling
// leaves about 850 x 530 for a window. screenRoom() is the largest client
// size a window can have on its screen, with room for the frame.
#pragma once

#include <QSize>

class QWidget;

namespace zelta {

QSize screenRoom(const QWidget& window);

}  // namespace zelta
