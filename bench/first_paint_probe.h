#pragma once

#include <unistd.h>

#include <QAbstractItemView>
#include <QApplication>
#include <QDateTime>
#include <QElapsedTimer>
#include <QMainWindow>
#include <QMessageBox>
#include <QTimer>
#include <QWidget>
#include <cstdlib>
#include <fstream>
#include <string>

// Watches a GUI program from inside and reports to the file descriptor named by
// KELVOR_BENCH_FD, or appends to the file KELVOR_BENCH_LOG with the wall-clock time in ms
// (where no descriptor can be handed over, as under Wine), one line each:
//   "painted"        after the first paint of the first top-level window;
//   "loaded <ms>"    once the list "List1" holds KELVOR_BENCH_ENTRIES rows, or, when that is
//                    "box", once a message box is up: the time since the probe started;
//   "size <w> <h>"   when that is "size", once painted: the client area of the main window,
//                    which the baseline windows then take from KELVOR_BENCH_SIZE.
// Then it ends the program at once, wherever it is.
// The size a baseline window takes: the launcher's client area, as "size" measured it, so that
// every window in a comparison fills as many pixels.
inline QSize BenchWindowSize() {
  const QStringList size = qEnvironmentVariable("KELVOR_BENCH_SIZE").split(u' ');
  if (size.size() != 2) qFatal("KELVOR_BENCH_SIZE must hold the launcher's client size: \"W H\"");
  return {size[0].toInt(), size[1].toInt()};
}

class FirstPaintProbe : public QObject {
 public:
  explicit FirstPaintProbe(QCoreApplication& app) {
    if (const char* fd = std::getenv("KELVOR_BENCH_FD")) fd_ = std::atoi(fd);
    if (const char* entries = std::getenv("KELVOR_BENCH_ENTRIES")) {
      waitForBox_ = std::string(entries) == "box";
      reportSize_ = std::string(entries) == "size";
      entries_ = waitForBox_ || reportSize_ ? 0 : std::atoll(entries);
    }
    app.installEventFilter(this);
    clock_.start();
    // Polled, so that the probe also runs inside a message box's own event loop.
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
            this,
            [this] {
              Report("painted\n");
              paintReported_ = true;
            },
            Qt::QueuedConnection);
      }
    }
    return false;
  }

 private:
  void Tick() {
    if (!paintReported_) return;
    if (entries_ < 0) return Finish();
    if (reportSize_) {
      for (QWidget* window : QApplication::topLevelWidgets()) {
        if (auto* main = qobject_cast<QMainWindow*>(window); main && main->centralWidget()) {
          const QSize size = main->centralWidget()->size();
          Report("size " + std::to_string(size.width()) + ' ' + std::to_string(size.height()) +
                 '\n');
          return Finish();
        }
      }
      return;
    }
    for (QWidget* window : QApplication::topLevelWidgets()) {
      const auto* list = window->findChild<QAbstractItemView*>(QStringLiteral("List1"));
      const bool done = waitForBox_ ? qobject_cast<QMessageBox*>(window) && window->isVisible()
                                    : list && list->model()->rowCount() == entries_;
      if (done) {
        Report("loaded " + std::to_string(clock_.elapsed()) + "\n");
        return Finish();
      }
    }
  }
  static void Finish() { ::_exit(0); }
  void Report(const std::string& line) const {
    if (fd_ >= 0 && ::write(fd_, line.data(), line.size()) < 0) std::abort();
    if (const char* log = std::getenv("KELVOR_BENCH_LOG")) {
      std::ofstream(log, std::ios::app)
          << line.substr(0, line.size() - 1) << ' ' << QDateTime::currentMSecsSinceEpoch() << '\n';
    }
  }

  int fd_ = -1;
  long long entries_ = -1;
  bool waitForBox_ = false;
  bool reportSize_ = false;
  bool painted_ = false;
  bool paintReported_ = false;
  QElapsedTimer clock_;
  QTimer ticker_;
};
