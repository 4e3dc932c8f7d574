// A secondary window that is loaded on first use and unloaded when closed:
// the slot creates it (hidden) when asked for, forgets it as soon as it
// closes or is unloaded, and creates a fresh one on the next use.
#pragma once

#include <QObject>
#include <QPointer>
#include <QWidget>
#include <functional>
#include <vector>

namespace zelta {

template <class W>
class WindowSlot {
 public:
  explicit WindowSlot(std::function<W*()> make) : make_(std::move(make)) {}
  ~WindowSlot() {
    unload();
    for (const QPointer<W>& w : unloaded_) delete w.data();
  }
  WindowSlot(const WindowSlot&) = delete;
  WindowSlot& operator=(const WindowSlot&) = delete;

  W* get() const { return window_; }

  W& ensure() {
    if (!window_) {
      window_ = make_();
      QObject::connect(window_, &W::closing, window_, [this] { release(); });
    }
    return *window_;
  }

  void unload() {
    if (!window_) return;
    window_->hide();
    release();
  }

 private:
  // The window may be in the middle of its own event handling (its "Quit"
  // button), so it is deleted later; the slot makes sure it is gone at the
  // latest when the slot itself goes.
  void release() {
    W* w = window_;
    window_ = nullptr;
    if (!w) return;
    QObject::disconnect(w, &W::closing, nullptr, nullptr);
    w->deleteLater();
    std::erase_if(unloaded_, [](const QPointer<W>& p) { return p.isNull(); });
    unloaded_.emplace_back(w);
  }

  std::function<W*()> make_;
  W* window_ = nullptr;
  std::vector<QPointer<W>> unloaded_;
};

}  // namespace zelta
