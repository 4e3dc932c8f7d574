#include "monitor/frame_monitor_launcher.h"

#include <QAction>
#include <QBoxLayout>
#include <QEvent>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>

#include "monitor/frame_monitor_window.h"

namespace zelta::monitor {
namespace {

const QString kEntryName = QStringLiteral("Frame_Monitor");

QMenu* viewMenu(QMenuBar& bar) {
  for (QMenu* m : bar.findChildren<QMenu*>(QStringLiteral("View"), Qt::FindDirectChildrenOnly))
    return m;
  auto* menu = new QMenu(QStringLiteral("&View"), &bar);
  menu->setObjectName(QStringLiteral("View"));
  QAction* help = nullptr;
  for (QAction* a : bar.actions())
    if (a->objectName() == QLatin1String("Help")) help = a;
  bar.insertMenu(help, menu);
  return menu;
}

// The box layout that holds w, searched from the top of w's window.
QBoxLayout* layoutHolding(QLayout* top, QWidget& w) {
  if (!top) return nullptr;
  if (auto* box = qobject_cast<QBoxLayout*>(top); box && box->indexOf(&w) >= 0) return box;
  for (int i = 0; i < top->count(); ++i)
    if (QBoxLayout* found = layoutHolding(top->itemAt(i)->layout(), w)) return found;
  return nullptr;
}

}  // namespace

std::unique_ptr<FrameMonitorLauncher> FrameMonitorLauncher::inViewMenu(QMainWindow& mainWindow,
                                                                       BusEvents& events,
                                                                       Platform& platform,
                                                                       const QString& programName) {
  auto launcher = std::make_unique<FrameMonitorLauncher>(mainWindow, events, platform, programName);
  QAction* entry = viewMenu(*mainWindow.menuBar())->addAction(QStringLiteral("&Frame Monitor..."));
  entry->setObjectName(kEntryName);
  connect(entry, &QAction::triggered, launcher.get(), &FrameMonitorLauncher::open);
  return launcher;
}

std::unique_ptr<FrameMonitorLauncher> FrameMonitorLauncher::after(QWidget& anchor,
                                                                  QWidget& mainWindow,
                                                                  BusEvents& events,
                                                                  Platform& platform,
                                                                  const QString& programName) {
  auto launcher = std::make_unique<FrameMonitorLauncher>(mainWindow, events, platform, programName);
  auto* button = new QPushButton(QStringLiteral("Frame Monitor..."));
  button->setObjectName(kEntryName);
  button->setToolTip(QStringLiteral("Frame monitor: every frame on the bus line"));
  if (QBoxLayout* box = layoutHolding(anchor.window()->layout(), anchor))
    box->insertWidget(box->indexOf(&anchor) + 1, button);
  else
    button->setParent(anchor.parentWidget());
  connect(button, &QPushButton::clicked, launcher.get(), &FrameMonitorLauncher::open);
  return launcher;
}

FrameMonitorLauncher::FrameMonitorLauncher(QWidget& mainWindow, BusEvents& events,
                                           Platform& platform, const QString& programName)
    : mainWindow_(mainWindow), events_(events), platform_(platform), programName_(programName) {
  mainWindow_.installEventFilter(this);
}

FrameMonitorLauncher::~FrameMonitorLauncher() {
  mainWindow_.removeEventFilter(this);
  delete window_.data();
}

FrameMonitorWindow* FrameMonitorLauncher::window() const { return window_.data(); }

void FrameMonitorLauncher::open() {
  if (!window_) window_ = new FrameMonitorWindow(events_, platform_, programName_);
  window_->show();
  window_->raise();
  window_->activateWindow();
}

bool FrameMonitorLauncher::eventFilter(QObject* watched, QEvent* event) {
  if (watched == &mainWindow_ && event->type() == QEvent::Close && window_) window_->close();
  return false;
}

}  // namespace zelta::monitor
