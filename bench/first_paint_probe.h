#pragma once

#include <unistd.h>

#include <QAbstractItemView>
#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <QWidget>
#include <cstdlib>
#include <string>

// Watches a GUI program from inside and reports to the file descriptor named by
// KELVOR_BENCH_FD, one line each:
//   "painted"              after the first paint of the first top-level window;
//   "loaded <ms> <stall>"  once the list "List1" holds KELVOR_BENCH_ENTRIES rows (when that
//                          is set): the time since the probe started, and the longest time
//                          the event loop went without running a 1 ms timer.
// Then it quits the program.
class FirstPaintProbe : public QObject {
 public:
  explicit FirstPaintProbe(QApplication& app) {
    if (const char* fd = std::getenv("KELVOR_BENCH_FD")) fd_ = std::atoi(fd);
    if (const char* entries = std::getenv("KELVOR_BENCH_ENTRIES")) entries_ = std::atoll(entries);
    app.installEventFilter(this);
    clock_.start();
    lastTick_ = 0;
    ticker_.setInterval(1);
    QObject::connect(&ticker_, &QTimer::timeout, this, [this] { Tick(); });
    ticker_.start();
  }

  bool eventFilter(QObject* object, QEvent* event) override {
    if (!painted_ && event->type() == QEvent::Paint) {
      auto* widget = qobject_cast<QWidget*>(object);
      if (widget && widget->isWindow()) {
        painted_ = true;
        // Reported once this paint, and the rest of the window's, has been done.
        QMetaObject::invokeMethod(
            this, [this] { Report("painted\n"); }, Qt::QueuedConnection);
      }
    }
    return false;
  }

 private:
  void Tick() {
    const qint64 now = clock_.elapsed();
    maxStall_ = std::max(maxStall_, now - lastTick_);
    lastTick_ = now;
    if (!painted_ || done_) return;
    if (entries_ < 0) return Finish();
    for (QWidget* window : QApplication::topLevelWidgets()) {
      auto* list = window->findChild<QAbstractItemView*>(QStringLiteral("List1"));
      if (list && list->model()->rowCount() == entries_) {
        Report("loaded " + std::to_string(now) + " " + std::to_string(maxStall_) + "\n");
        return Finish();
      }
    }
  }
  void Finish() {
    done_ = true;
    QCoreApplication::exit(0);
  }
  void Report(const std::string& line) const {
    if (fd_ >= 0 && ::write(fd_, line.data(), line.size()) < 0) std::abort();
  }

  int fd_ = -1;
  long long entries_ = -1;
  bool painted_ = false;
  bool done_ = false;
  QElapsedTimer clock_;
  QTimer ticker_;
  qint64 lastTick_ = 0;
  qint64 maxStall_ = 0;
};
