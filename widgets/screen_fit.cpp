#include "screen_fit.h"

#include <QScreen>
#include <QWidget>

namespace zelta {
namespace {

// Title bar and borders, which the window system adds and a window does not
// know before it is shown.
constexpr QSize kFrameAllowance{16, 48};

}  // namespace

QSize screenRoom(const QWidget& window) {
  const QScreen* screen = window.screen();
  if (!screen) return {QWIDGETSIZE_MAX, QWIDGETSIZE_MAX};
  return screen->availableGeometry().size() - kFrameAllowance;
}

}  // namespace zelta
